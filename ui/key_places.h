#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>

#include "board/anim_tables.h"
#include "board/board_layout.h"

// Where the pictures write the routes' keys, shared by the picture generator and the game.
// The generator writes the default keys (E, P, L, D) at these places. For every picture that
// carries keys it also draws a sheet of key patches (graphs/Keys/): the regions listed below
// drawn without their keys, side by side from the left in the order listed, their tops at
// the sheet's top. When a route's key is bound to another, the game lays the patches that
// hold that route's key over its copy of the picture and writes the bound keys' names there,
// with the font, size and colour of the drawn ones; with the default keys the pictures are
// shown as they are.
namespace KeyPlaces {

// The keys the pictures are drawn with, by route.
inline const char* const drawnKeys[4] = {"E", "P", "L", "D"};

// The font's ascent and line height per pixel of size (DejaVu Sans, both weights): a line laid
// out with its top at y has its baseline at y + ascent * size.
constexpr double ascent = 1901.0 / 2048.0;
constexpr double lineHeight = 2384.0 / 2048.0;

// A region of a picture, in the units the picture is drawn in.
struct Box {
    double left, top, width, height;
};

// A key written on a picture: the route, the middle of its text and the top of its line, its
// size in pixels (bold), its opacity, and the room it keeps to: a name stays between left and
// right, centred on centreX where it fits around it (a wide one is written smaller).
struct Label {
    int route;
    double centreX, top, size, alpha;
    double left, right;
};

// A patch and the key it holds.
struct Patch {
    Box box;
    Label label;
};

// The board, drawn on the 2048 x 1536 canvas: a badge beside each route's nest, and the
// route's letter on its pad. Patches 0..3 the badges, 4..7 the pads, by route.
constexpr int boardPatchCount = 8;
constexpr double badgeCentres[4][2] = {{115.5, 455}, {1927, 455.6}, {2009, 950.5}, {62, 934}};
constexpr double badgeRadius = 30;
inline Patch boardPatch(int mode, int index) {
    const int r = index % 4;
    if (index < 4) {
        const double x = badgeCentres[r][0], y = badgeCentres[r][1];
        // The letter's line is centred on the badge (a 39-pixel line is 46 pixels high).
        return {{x - 34, y - 34, 68, 68}, {r, x, y - 23, 39, 1.0, x - 26, x + 26}};
    }
    const AnimFrame& b = buttonFrames[mode][r][0];
    const double cx = buttonAnchors[r][0] + b.width / 2.0;
    const double cy = buttonAnchors[r][1] + b.height * 0.6;
    return {{cx - 44, cy - 22, 88, 44}, {r, cx, cy - 18, 30, 0.6, cx - 40, cx + 40}};
}

// The board files of the display profiles: the canvas scaled, from a height of the canvas.
struct BoardCut {
    const char* profileName;
    int width, height;
    double scale, fromTop;
};
constexpr BoardCut boardCuts[3] = {{"1600_900", 1600, 900, 0.78125, 171},
                                   {"1600_1000", 1600, 1000, 0.78125, 101},
                                   {"2048_1536", 2048, 1536, 1.0, 0}};
inline const BoardCut* boardCut(const char* profileName) {
    for (const BoardCut& cut : boardCuts) {
        if (std::strcmp(cut.profileName, profileName) == 0) return &cut;
    }
    return nullptr;
}

// A region of the canvas in whole pixels of a picture cut from it, within the picture.
struct PixelBox {
    int left, top, width, height;
};
inline PixelBox pixelBox(const Box& box, double scale, double fromTop, int width, int height) {
    const int left = std::max(0, static_cast<int>(std::floor(box.left * scale)));
    const int top = std::max(0, static_cast<int>(std::floor((box.top - fromTop) * scale)));
    const int right = std::min(width, static_cast<int>(std::ceil((box.left + box.width) * scale)));
    const int bottom =
        std::min(height, static_cast<int>(std::ceil((box.top + box.height - fromTop) * scale)));
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

// The song lists (menu texts 4 and 5): each creature with its key at its right. A long name
// grows to the right, towards the next creature.
constexpr int songListPatchCount = 4;
inline Patch songListPatch(int route) {
    const double x = 120 + 170 * route + 62, top = 448;
    return {{x - 16, top - 2, 70, 46}, {route, x, top, 34, 1.0, x - 14, x + 52}};
}

// The tutorial's pages 1 to 3: a band with the route's badge at its left and a sentence
// naming keys. One patch each: the band, without the badge's letter and the sentence.
struct SentencePart {
    const char* text;  // nullptr for a key
    int route;         // the key's route, -1 for a text
};
struct TutorialKeyPage {
    int page;
    double bandTop;
    int badgeRoute;
    SentencePart parts[4];
    int partCount;
};
constexpr double tutorialPageWidth = 620;
constexpr double tutorialBandHeight = 84;
constexpr double tutorialBadgeX = 62;
constexpr double tutorialBadgeSize = 34;
constexpr double sentenceSize = 31;
constexpr double sentenceCentreX = tutorialPageWidth / 2 + 30;
constexpr double sentenceWrap = tutorialPageWidth - 120;
constexpr int tutorialKeyPageCount = 3;
inline const TutorialKeyPage tutorialKeyPages[tutorialKeyPageCount] = {
    {1,
     120,
     3,
     {{"Bottom left: press ", -1}, {nullptr, 3}, {" as the green one lands.", -1}, {nullptr, -1}},
     3},
    {2, 210, 0, {{"Now press ", -1}, {nullptr, 0}, {", top left.", -1}, {nullptr, -1}}, 3},
    {3,
     300,
     1,
     {{nullptr, 1}, {" for top right, ", -1}, {nullptr, 2}, {" for bottom right.", -1}},
     4}};
// The key page of a tutorial page, or nullptr.
inline const TutorialKeyPage* tutorialKeyPage(int page) {
    for (const TutorialKeyPage& p : tutorialKeyPages) {
        if (p.page == page) return &p;
    }
    return nullptr;
}
inline Patch tutorialPatch(const TutorialKeyPage& p) {
    const double y = p.bandTop + tutorialBandHeight / 2;
    return {{0, p.bandTop - 4, tutorialPageWidth, tutorialBandHeight + 8},
            {p.badgeRoute, tutorialBadgeX, y - 21, tutorialBadgeSize, 1.0, tutorialBadgeX - 25,
             tutorialBadgeX + 25}};
}

}  // namespace KeyPlaces
