#pragma once

#include <string>

// The picture set chosen from the desktop's aspect ratio, and the scales derived from it.
struct DisplayProfile {
    std::string profileName;
    float referenceWidth = 0.0f;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float menuTopOffset = 0.0f;
    float pauseHiddenOffset = 0.0f;
};

// Classifies windowWidth / windowHeight into one of the three picture sets.
DisplayProfile chooseDisplayProfile(float windowWidth, float windowHeight, float aspectRatio);

// The diagnostic line, without its line end, e.g.
// "image 1600_900 rap 1.77778 imageX1600 scaleX1.2".
std::string displayProfileLine(const DisplayProfile& profile, float aspectRatio);

// The part of the window the pictures are drawn in, in whole window pixels. A window from
// 4:3 to 16:9 (within a pixel) is filled whole; a wider one gets its 16:9 middle and a
// narrower one its 4:3 middle, so that the closest picture set shows undistorted and
// whole between black bars.
struct DrawnArea {
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    bool contains(float x, float y) const {
        return x >= left && x <= left + width && y >= top && y <= top + height;
    }
};

DrawnArea drawnArea(unsigned windowWidth, unsigned windowHeight);

// Everything the layout takes from a window's size: the drawn area, the window's aspect
// ratio, and the display profile chosen from that ratio with its scales taken from the
// drawn area (for windows from 4:3 to 16:9, exactly chooseDisplayProfile of the window).
struct ScreenGeometry {
    float windowWidth = 0.0f;
    float windowHeight = 0.0f;
    float aspectRatio = 0.0f;
    DrawnArea area;
    DisplayProfile profile;
};

ScreenGeometry screenGeometry(unsigned windowWidth, unsigned windowHeight);
