#include "ui/display_profile.h"

#include <sstream>

namespace {
// 0.001 under 16/9 and 16/10.
const double wideLimit = 1.7767777777302802;
const double tallLimit = 1.5989999999525026;
}  // namespace

DisplayProfile chooseDisplayProfile(float windowWidth, float windowHeight, float aspectRatio) {
    DisplayProfile p;
    if (aspectRatio > wideLimit) {
        p.profileName = "1600_900";
        p.referenceWidth = 1600.0f;
        p.scaleX = windowWidth / 1600.0f;
        p.menuTopOffset = 171.0f;
    } else if (aspectRatio > tallLimit) {
        p.profileName = "1600_1000";
        p.referenceWidth = 1600.0f;
        p.scaleX = windowWidth / 1600.0f;
        p.menuTopOffset = 101.0f;
    } else {
        p.profileName = "2048_1536";
        p.referenceWidth = 2048.0f;
        p.scaleX = windowWidth * 0.00048828125f;
        p.menuTopOffset = 0.0f;
    }
    p.scaleY = windowHeight / 1536.0f;
    p.pauseHiddenOffset = 1122.0f * p.scaleY;
    return p;
}

std::string displayProfileLine(const DisplayProfile& p, float aspectRatio) {
    std::ostringstream line;
    line << "image " << p.profileName << " rap " << aspectRatio << " imageX" << p.referenceWidth
         << " scaleX" << p.scaleX;
    return line.str();
}

DrawnArea drawnArea(unsigned windowWidth, unsigned windowHeight) {
    const long w = static_cast<long>(windowWidth);
    const long h = static_cast<long>(windowHeight);
    long width = w;
    long height = h;
    const long wideWidth = (h * 16 + 4) / 9;    // 16:9, rounded to the nearest pixel
    const long narrowHeight = (w * 3 + 2) / 4;  // 4:3, rounded to the nearest pixel
    if (w > wideWidth + 1) {
        width = wideWidth;
    } else if (h > narrowHeight + 1) {
        height = narrowHeight;
    }
    DrawnArea area;
    area.left = static_cast<float>((w - width) / 2);
    area.top = static_cast<float>((h - height) / 2);
    area.width = static_cast<float>(width);
    area.height = static_cast<float>(height);
    return area;
}

ScreenGeometry screenGeometry(unsigned windowWidth, unsigned windowHeight) {
    ScreenGeometry g;
    g.windowWidth = static_cast<float>(windowWidth);
    g.windowHeight = static_cast<float>(windowHeight);
    g.aspectRatio = g.windowWidth / g.windowHeight;
    g.area = drawnArea(windowWidth, windowHeight);
    g.profile = chooseDisplayProfile(g.area.width, g.area.height, g.aspectRatio);
    return g;
}
