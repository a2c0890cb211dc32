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
