// check_graphs <folder holding graphs/> <manifest>: verifies the picture tree against the
// game's own tables and file names. Every problem is written on one line; the exit status
// is 0 when there is none.

#include <SFML/Graphics/Image.hpp>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "board/anim_tables.h"
#include "creatures.h"
#include "manifest.h"
#include "ui/calibration_layout.h"
#include "ui/key_places.h"
#include "ui/options_layout.h"

namespace fs = std::filesystem;

namespace {

int problems = 0;

void report(const std::string& what) {
    ++problems;
    std::cout << what << std::endl;
}

std::map<std::string, sf::Image> images;

const sf::Image* image(const fs::path& base, const std::string& rel) {
    auto it = images.find(rel);
    if (it != images.end()) return &it->second;
    sf::Image img;
    if (!fs::exists(base / rel)) {
        report("missing: " + rel);
        return nullptr;
    }
    if (!img.loadFromFile((base / rel).string())) {
        report("unreadable: " + rel);
        return nullptr;
    }
    return &(images[rel] = img);
}

void checkSize(const fs::path& base, const std::string& rel, unsigned w, unsigned h) {
    const sf::Image* img = image(base, rel);
    if (img && (img->getSize().x != w || img->getSize().y != h))
        report(rel + ": size " + std::to_string(img->getSize().x) + "x" +
               std::to_string(img->getSize().y) + ", expected " + std::to_string(w) + "x" +
               std::to_string(h));
}

// Nothing drawn touches the picture's border: a text that touches it is cut off.
void checkClearBorder(const fs::path& base, const std::string& rel, bool white) {
    const sf::Image* img = image(base, rel);
    if (!img) return;
    sf::Vector2u size = img->getSize();
    auto clear = [&](unsigned x, unsigned y) {
        sf::Color c = img->getPixel(x, y);
        return white ? (c.r > 250 && c.g > 250 && c.b > 250) : c.a == 0;
    };
    for (unsigned x = 0; x < size.x; ++x)
        if (!clear(x, 0) || !clear(x, size.y - 1)) {
            report(rel + ": drawing touches the top or bottom edge");
            return;
        }
    for (unsigned y = 0; y < size.y; ++y)
        if (!clear(0, y) || !clear(size.x - 1, y)) {
            report(rel + ": drawing touches the left or right edge");
            return;
        }
}

// The song lists draw a separator on every row limit of the game's hit tests (panel
// pixels: the list is drawn at 171 or 156 reference pixels from the top, unscaled).
void checkListRows(const fs::path& base, const std::string& rel, const std::vector<int>& rows) {
    const sf::Image* img = image(base, rel);
    if (!img) return;
    unsigned x = img->getSize().x / 2;
    for (int y : rows) {
        bool line = false;
        for (int dy = -2; dy <= 2 && !line; ++dy) {
            sf::Color c = img->getPixel(x, unsigned(y + dy));
            line = c.r < 240 || c.g < 240 || c.b < 240;
        }
        if (!line) report(rel + ": no row separator at " + std::to_string(y));
    }
}

// A sheet of key patches holds the patches of its picture side by side, each cut as the
// picture is (the game takes them from these places).
void checkKeySheet(const fs::path& base, const std::string& rel, const KeyPlaces::Patch* patches,
                   int count, double scale, double fromTop, int width, int height) {
    unsigned sheetWidth = 0, sheetHeight = 1;
    for (int i = 0; i < count; ++i) {
        const KeyPlaces::PixelBox b =
            KeyPlaces::pixelBox(patches[i].box, scale, fromTop, width, height);
        sheetWidth += unsigned(b.width);
        sheetHeight = std::max(sheetHeight, unsigned(b.height));
    }
    checkSize(base, rel, sheetWidth, sheetHeight);
}

bool emptyRecord(const AnimFrame& f) {
    return f.left == 0 && f.top == 0 && f.width == 0 && f.height == 0;
}

// The record's rectangle lies inside the sheet; with ink it must hold some drawing.
void checkRecord(const fs::path& base, const std::string& rel, const AnimFrame& f,
                 const std::string& what, bool needsInk) {
    const sf::Image* img = image(base, rel);
    if (!img || emptyRecord(f)) return;
    int w = int(img->getSize().x), h = int(img->getSize().y);
    if (f.left < 0 || f.top < 0 || f.width <= 0 || f.height <= 0 || f.left + f.width > w ||
        f.top + f.height > h) {
        report(rel + ": " + what + " rectangle outside the sheet");
        return;
    }
    if (!needsInk) return;
    for (int y = f.top; y < f.top + f.height; ++y)
        for (int x = f.left; x < f.left + f.width; ++x)
            if (img->getPixel(unsigned(x), unsigned(y)).a > 0) return;
    report(rel + ": " + what + " holds no drawing");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: check_graphs <folder holding graphs/> <manifest>" << std::endl;
        return 2;
    }
    fs::path base = argv[1];
    const std::string g = "graphs/";

    // Start-up pictures.
    checkSize(base, g + "Menu/fondsNus/loading.jpg", 2048, 1536);
    for (int r = 0; r < 4; ++r) {
        std::string rel = g + "Jauges/J" + std::to_string(r) + ".png";
        for (int i = 0; i < 11; ++i)
            for (int s = 0; s < 3; ++s)
                checkRecord(base, rel, gaugeFrames[gaugeFirstFrame[r] + 3 * i + s],
                            "gauge cell " + std::to_string(i) + " state " + std::to_string(s),
                            true);
    }
    for (int r = 0; r < 4; ++r) {
        if (landingFirstFrame[r][6] + landingFrameCounts[r][6] != frameTableLength[r])
            report("frame table of route " + std::to_string(r) + " has the wrong length");
        for (int j = 0; j < regularAnimCounts[r] + 7; ++j) {
            std::string rel = g + "Atlas/" + std::to_string(r) + "_" + std::to_string(j) + ".png";
            bool landing = j >= regularAnimCounts[r];
            int anim = landing ? j - regularAnimCounts[r] : j;
            int first = landing ? landingFirstFrame[r][anim] : 19 * anim;
            int count = landing ? landingFrameCounts[r][anim] : 19;
            if (!image(base, rel)) continue;
            for (int f = 0; f < count; ++f)
                checkRecord(base, rel, frameTable[r][first + f], "frame " + std::to_string(f),
                            true);
        }
    }
    // The frame tables are measured from the creature drawings: each drawing must still
    // fit its record (run layout_tables again after changing a drawing).
    for (int r = 0; r < 4; ++r) {
        for (int i = 0; i < frameTableLength[r]; ++i) {
            bool landing = i >= landingFirstFrame[r][0];
            int anim = i / 19, frame = i % 19;
            if (landing) {
                anim = 6;
                while (landingFirstFrame[r][anim] > i) --anim;
                frame = i - landingFirstFrame[r][anim];
            }
            Pose pose = landing ? landingPose(r, anim, frame) : regularPose(r, anim, frame);
            InkBox ink = poseInk(r, pose);
            const AnimFrame& f = frameTable[r][i];
            std::string what = "route " + std::to_string(r) + " record " + std::to_string(i);
            if (ink.w <= 0) {
                if (!emptyRecord(f)) report(what + ": a drawn record for an invisible frame");
                continue;
            }
            double x0 = pose.feetX + ink.x0, y0 = pose.feetY + ink.y0;
            if (emptyRecord(f) || x0 < f.offsetX || y0 < f.offsetY ||
                x0 + ink.w > f.offsetX + f.width || y0 + ink.h > f.offsetY + f.height)
                report(what + ": the drawing does not fit its record; the tables are stale");
        }
    }
    // Interface pictures.
    checkSize(base, g + "Menu/fondsNus/centre.jpg", 2048, 1536);
    checkSize(base, g + "Menu/fondsNus/side1.jpg", 2048, 1536);
    checkSize(base, g + "Menu/fondsNus/side3.jpg", 2048, 1536);
    if (const sf::Image* pause = image(base, g + "Menu/fondsNus/pause.png")) {
        if (pause->getSize().x != 2048 || pause->getSize().y > 1122)
            report("pause.png must be 2048 wide and at most 1122 high");
    }
    image(base, g + "Menu/fondsNus/score.png");
    for (int k = 0; k <= 16; ++k) {
        std::string rel = g + "Menu/texts/" + std::to_string(k) + ".png";
        const sf::Image* img = image(base, rel);
        bool multiply = (k >= 1 && k <= 5) || k == 14 || k == 16;
        if (!img || !multiply) continue;
        // Drawn with a multiplicative blend: no transparent pixel, white corners.
        sf::Vector2u size = img->getSize();
        bool opaque = true;
        for (unsigned y = 0; y < size.y && opaque; ++y)
            for (unsigned x = 0; x < size.x && opaque; ++x) opaque = img->getPixel(x, y).a == 255;
        if (!opaque) report(rel + ": has transparent pixels but is drawn multiplied");
        if (img->getPixel(0, 0) != sf::Color::White ||
            img->getPixel(size.x - 1, size.y - 1) != sf::Color::White)
            report(rel + ": corners are not white");
    }
    for (int k = 0; k <= 16; ++k) {
        bool multiply = (k >= 1 && k <= 5) || k == 14 || k == 16;
        checkClearBorder(base, g + "Menu/texts/" + std::to_string(k) + ".png", multiply);
    }
    // hitTestSongList rows (800, 934, 1060, 1179, 1312, 1440) less 171; hitTestExploreList
    // rows (860, 1017, 1137, 1278, 1400) less 156.
    checkListRows(base, g + "Menu/texts/4.png", {629, 763, 889, 1008, 1141, 1269});
    checkListRows(base, g + "Menu/texts/5.png", {704, 861, 981, 1122, 1244});
    image(base, g + "Menu/texts/dots.png");
    for (int t = 0; t <= 7; ++t)
        checkClearBorder(base, g + "Tuto/tut" + std::to_string(t) + ".png", false);
    if (!fs::exists(base / (g + "SATELLITE.OTF"))) report("missing: graphs/SATELLITE.OTF");
    // The key patches of the pictures that show the routes' keys, and the font of the
    // tutorial's sentences around a key bound to another.
    for (int k = 4; k <= 5; ++k) {
        const sf::Image* list = image(base, g + "Menu/texts/" + std::to_string(k) + ".png");
        if (!list) continue;
        KeyPlaces::Patch patches[KeyPlaces::songListPatchCount];
        for (int r = 0; r < 4; ++r) patches[r] = KeyPlaces::songListPatch(r);
        checkKeySheet(base, g + "Keys/text" + std::to_string(k) + ".png", patches,
                      KeyPlaces::songListPatchCount, 1.0, 0, int(list->getSize().x),
                      int(list->getSize().y));
    }
    for (const KeyPlaces::TutorialKeyPage& page : KeyPlaces::tutorialKeyPages) {
        const sf::Image* tut = image(base, g + "Tuto/tut" + std::to_string(page.page) + ".png");
        if (!tut) continue;
        const KeyPlaces::Patch patch = KeyPlaces::tutorialPatch(page);
        checkKeySheet(base, g + "Keys/tut" + std::to_string(page.page) + ".png", &patch, 1, 1.0, 0,
                      int(tut->getSize().x), int(tut->getSize().y));
    }
    if (!fs::exists(base / (g + "Keys/regular.ttf"))) report("missing: graphs/Keys/regular.ttf");
    // Play pictures.
    const char* profiles[3] = {"1600_900", "1600_1000", "2048_1536"};
    const unsigned sizes[3][2] = {{1600, 900}, {1600, 1000}, {2048, 1536}};
    for (int m = 0; m < 4; ++m) {
        for (int p = 0; p < 3; ++p)
            checkSize(base, g + "Board/plateau_" + std::to_string(m) + "_" + profiles[p] + ".jpg",
                      sizes[p][0], sizes[p][1]);
        for (const KeyPlaces::BoardCut& cut : KeyPlaces::boardCuts) {
            KeyPlaces::Patch patches[KeyPlaces::boardPatchCount];
            for (int i = 0; i < KeyPlaces::boardPatchCount; ++i)
                patches[i] = KeyPlaces::boardPatch(m, i);
            checkKeySheet(
                base, g + "Keys/board_" + std::to_string(m) + "_" + cut.profileName + ".png",
                patches, KeyPlaces::boardPatchCount, cut.scale, cut.fromTop, cut.width, cut.height);
        }
        std::string button = g + "Button/b" + std::to_string(m) + ".png";
        if (const sf::Image* img = image(base, button)) {
            // A resting button shows the sheet's corner pixel: it must be clear.
            if (img->getPixel(0, 0).a != 0) report(button + ": corner pixel is not transparent");
        }
        for (int r = 0; r < 4; ++r)
            for (int f = 0; f < 2; ++f)
                checkRecord(base, button, buttonFrames[m][r][f],
                            "route " + std::to_string(r) + " frame " + std::to_string(f), true);
        for (int r = 0; r < 4; ++r) {
            std::string slime = g + "Slime/p" + std::to_string(m) + std::to_string(r) + ".png";
            for (int f = 0; f < 10; ++f)
                checkRecord(base, slime, slimeFrames[m][r][f], "frame " + std::to_string(f), f < 9);
        }
    }
    // The options panel and its parts, one of each per display profile: the panel fills the
    // profile's picture, and each part of the sheet holds a drawing where the game takes it.
    for (int p = 0; p < 3; ++p) {
        namespace L = OptionsLayout;
        const float w = float(sizes[p][0]);
        checkSize(base, g + "Menu/options/panel_" + profiles[p] + ".png", sizes[p][0], sizes[p][1]);
        const std::string parts = g + "Menu/options/parts_" + profiles[p] + ".png";
        checkSize(base, parts, unsigned(L::sheetPixels(L::sheetWidth, w)),
                  unsigned(L::sheetPixels(L::sheetHeight, w)));
        if (!fs::exists(base / parts)) continue;  // told once above
        struct Part {
            float left, top, width, height;
            const char* name;
        };
        const Part partList[3] = {{0, L::bandTop, L::rowWidth, L::rowHeight, "band"},
                                  {0, L::fillTop, L::trackWidth, L::trackHeight, "filled track"},
                                  {L::knobLeft, L::fillTop, L::knobWidth, L::knobHeight, "knob"}};
        for (const Part& part : partList) {
            AnimFrame f{};
            f.left = L::sheetPixels(part.left, w);
            f.top = L::sheetPixels(part.top, w);
            f.width = L::sheetPixels(part.width, w);
            f.height = L::sheetPixels(part.height, w);
            checkRecord(base, parts, f, part.name, true);
        }
    }
    // The calibration pages' card and parts, one of each per display profile: the card is the
    // options panel's card, and each part of the sheet holds a drawing where the game takes it.
    for (int p = 0; p < 3; ++p) {
        namespace L = OptionsLayout;
        namespace C = CalibrationLayout;
        const float w = float(sizes[p][0]);
        checkSize(base, g + "Menu/options/calibration_" + profiles[p] + ".png",
                  unsigned(L::sheetPixels(L::cardWidth, w)),
                  unsigned(L::sheetPixels(L::cardHeight, w)));
        const std::string parts = g + "Menu/options/calibration_parts_" + profiles[p] + ".png";
        checkSize(base, parts, unsigned(L::sheetPixels(C::sheetWidth, w)),
                  unsigned(L::sheetPixels(C::sheetHeight, w)));
        if (!fs::exists(base / parts)) continue;  // told once above
        struct Part {
            float left, top, width, height;
            std::string name;
        };
        std::vector<Part> partList;
        for (int b = 0; b < C::buttonCount; ++b)
            partList.push_back({C::sheetButtonLeft(b), 0, C::buttonWidth, C::buttonHeight,
                                "button " + std::to_string(b)});
        partList.push_back({C::ringLeft, 0, C::ringWidth, C::ringHeight, "ring"});
        partList.push_back({C::spotLeft, C::spotTop, C::spotWidth, C::spotHeight, "spot"});
        for (const Part& part : partList) {
            AnimFrame f{};
            f.left = L::sheetPixels(part.left, w);
            f.top = L::sheetPixels(part.top, w);
            f.width = L::sheetPixels(part.width, w);
            f.height = L::sheetPixels(part.height, w);
            checkRecord(base, parts, f, part.name, true);
        }
    }
    // Making-of.
    for (int n = 0; n < 19; ++n)
        checkSize(base, g + "Menu/makingof/mof" + std::to_string(n) + ".jpg", 2048, 1536);
    if (image(base, g + "Menu/animVolume.png"))
        for (int f = 0; f < 10; ++f)
            checkRecord(base, g + "Menu/animVolume.png", volumeFrames[f],
                        "volume frame " + std::to_string(f), f < 9);

    // Manifest.
    std::vector<ManifestEntry> listed;
    if (!readManifest(argv[2], listed)) {
        report(std::string("unreadable manifest: ") + argv[2]);
    } else {
        std::vector<ManifestEntry> actual = scanTree(base, "graphs");
        std::map<std::string, const ManifestEntry*> byPath;
        for (const ManifestEntry& e : actual) byPath[e.path] = &e;
        for (const ManifestEntry& e : listed) {
            auto it = byPath.find(e.path);
            if (it == byPath.end())
                report("manifest lists a missing file: " + e.path);
            else if (it->second->size != e.size || it->second->checksum != e.checksum)
                report("file differs from the manifest: " + e.path);
        }
        if (listed.size() != actual.size()) report("the manifest does not list every file");
    }
    if (problems == 0) std::cout << "graphs ok" << std::endl;
    return problems == 0 ? 0 : 1;
}
