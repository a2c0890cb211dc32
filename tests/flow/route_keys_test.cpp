// The route keys bound in the options panel: the new key plays its route (the old one no
// longer does), the controller follows, settings.toml keeps them; and every picture that
// shows a route's key shows the bound one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "app/app.h"
#include "app/options.h"
#include "app/options_panel.h"
#include "assets/asset_files.h"
#include "board/particle.h"
#include "board/route.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "ui/interface.h"
#include "ui/key_places.h"
#include "ui/options_layout.h"

namespace {

namespace K = KeyPlaces;

bool openOptions(ScriptedPlayer& player) {
    player.tap(sf::Keyboard::Up);
    return player.runUntil([&] { return player.app.iface->Screen == OptionsPanel; }, 3.0f);
}

std::string slotText(const Interface& ui, int slot) {
    return ui.optionsKeyTexts[static_cast<size_t>(slot)].getString().toAnsiString();
}

// The centre of a slot of the route keys' row (4: reset), in window pixels, the panel at rest.
sf::Vector2f keySlotPoint(const Interface& ui, int slot) {
    namespace L = OptionsLayout;
    const float c = ui.windowWidth / 2048;
    const float x =
        slot < 4 ? L::keySlotX(slot) + L::keySlotWidth / 2 : L::resetLeft + L::resetWidth / 2;
    const float y = L::rowTop(OptionsRow::routeKeys) + L::rowHeight / 2;
    return sf::Vector2f(ui.areaLeft + (ui.windowWidth - L::cardWidth * c) / 2 + x * c,
                        ui.areaTop + (ui.windowHeight - L::cardHeight * c) / 2 + y * c);
}

// A creature of the route in the middle of its good window, not yet judged.
bool catchable(const Route& route) {
    for (const Particle& p : route.particles) {
        if (p.stage == 3 && !p.judged && p.frame >= 2 && p.frame <= 4) return true;
    }
    return false;
}

int goodCatches(const Route& route) {
    int good = 0;
    for (const Particle& p : route.particles) good += p.judged && p.judgement == 1;
    return good;
}

}  // namespace

// Keys and the mouse in the panel: Return on route 3's slot waits for a key; a key another
// route has is refused ("taken"), as is Space ("reserved"), with the slot red; Escape gives up
// the wait and leaves the panel open; J then binds it. A click on route 0's slot and K bind
// route 0. In the play K catches on route 0 and E no longer does anything; the recording and
// the controller's left shoulder follow; the next start keeps the keys.
TEST(RouteKeysFlow, BoundInThePanelTheNewKeyCatchesAndTheOldOneNoLonger) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s(1920, 1080);
    s.app.options = loadSettingsFile(folder.file("settings.toml"), std::cerr);
    ASSERT_EQ(s.start(), -1);
    App& app = s.app;
    Interface& ui = *app.iface;
    s.player.wait(0.2f);
    ASSERT_TRUE(openOptions(s.player)) << "the panel after Up on the main menu";
    s.player.wait(0.2f);

    for (int i = 0; i < OptionsRow::routeKeys; ++i) s.player.tap(sf::Keyboard::Down);
    ASSERT_EQ(ui.optionsRow, OptionsRow::routeKeys);
    EXPECT_EQ(ui.optionsKeySlot, 0);
    for (int i = 0; i < 5; ++i) s.player.tap(sf::Keyboard::Right);  // stops at the reset button
    EXPECT_EQ(ui.optionsKeySlot, resetSlot);
    s.player.tap(sf::Keyboard::Left);
    EXPECT_EQ(ui.optionsKeySlot, 3);
    s.player.tap(sf::Keyboard::Return);
    EXPECT_TRUE(ui.optionsKeyWaiting);
    EXPECT_EQ(slotText(ui, 3), "?");

    s.player.tap(sf::Keyboard::P);
    EXPECT_EQ(slotText(ui, 3), "taken");
    EXPECT_TRUE(ui.optionsKeyRefused);
    EXPECT_TRUE(keepScreenshot(s.platform, "route_keys_refused.png"));
    EXPECT_EQ(app.options.routeKeys[3], sf::Keyboard::D);
    s.player.tap(sf::Keyboard::Space);
    EXPECT_EQ(slotText(ui, 3), "reserved");
    EXPECT_EQ(ui.Screen, OptionsPanel);
    s.player.wait(1.0f);
    EXPECT_EQ(slotText(ui, 3), "?") << "the reason goes, the slot still waits";
    EXPECT_FALSE(ui.optionsKeyRefused);
    s.player.tap(sf::Keyboard::Escape);
    EXPECT_FALSE(ui.optionsKeyWaiting);
    EXPECT_EQ(slotText(ui, 3), "D");
    s.player.wait(0.5f);
    EXPECT_EQ(ui.Screen, OptionsPanel) << "Escape gave up the wait, the panel stays";
    EXPECT_FALSE(ui.panelClosing);
    EXPECT_EQ(app.options.routeKeys[3], sf::Keyboard::D);

    s.player.tap(sf::Keyboard::Return);
    s.player.tap(sf::Keyboard::J);
    EXPECT_EQ(app.options.routeKeys[3], sf::Keyboard::J);
    EXPECT_EQ(slotText(ui, 3), "J");
    EXPECT_NE(folder.read("settings.toml").find("route_keys = \"E P L J\"\n"), std::string::npos)
        << folder.read("settings.toml");

    const sf::Vector2f slot0 = keySlotPoint(ui, 0);
    s.player.clickAt(slot0.x, slot0.y);
    EXPECT_EQ(ui.optionsKeySlot, 0);
    EXPECT_TRUE(ui.optionsKeyWaiting);
    s.player.tap(sf::Keyboard::K);
    EXPECT_EQ(app.options.routeKeys[0], sf::Keyboard::K);
    EXPECT_EQ(slotText(ui, 0), "K");
    EXPECT_NE(folder.read("settings.toml").find("route_keys = \"K P L J\"\n"), std::string::npos)
        << folder.read("settings.toml");
    s.player.frame();
    EXPECT_TRUE(keepScreenshot(s.platform, "route_keys_panel.png"));

    s.player.tap(sf::Keyboard::Escape);
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == MainMenu; }, 3.0f))
        << "the main menu after Escape";

    // The controller's left shoulder stands for route 0's key.
    s.platform.plugPad(0, true);
    s.player.frame();
    s.platform.padButton(0, PadButton::LeftShoulder, true);
    s.player.frame();
    EXPECT_TRUE(app.padKeys.holds(sf::Keyboard::K));
    EXPECT_FALSE(app.padKeys.holds(sf::Keyboard::E));
    s.platform.padButton(0, PadButton::LeftShoulder, false);
    s.player.frame();

    ASSERT_TRUE(s.player.openSongList(false));
    ASSERT_TRUE(s.player.startListPosition(0));
    Game& g = *app.game;
    ASSERT_EQ(g.routes.size(), 4u);
    EXPECT_EQ(app.lastRecording.routeKeys[0], static_cast<int>(sf::Keyboard::K));
    EXPECT_EQ(app.lastRecording.routeKeys[3], static_cast<int>(sf::Keyboard::J));
    s.player.catching = false;
    Route& route = g.routes[0];
    ASSERT_TRUE(s.player.runUntil([&] { return catchable(route); }, 60.0f))
        << "a creature of route 0 in its good window";
    // E, held and tapped: nothing.
    s.platform.hold(sf::Keyboard::E);
    s.platform.pushKey(sf::Keyboard::E);
    s.player.frame();
    s.platform.release(sf::Keyboard::E);
    EXPECT_EQ(route.buttonState, 0);
    EXPECT_FALSE(route.missedPress);
    EXPECT_EQ(goodCatches(route), 0);
    ASSERT_TRUE(catchable(route));
    // K: a good catch.
    s.platform.pushKey(sf::Keyboard::K);
    s.player.frame();
    EXPECT_EQ(route.buttonState, 2);
    EXPECT_EQ(goodCatches(route), 1);

    // The next start plays with the keys the panel kept.
    Session next(1280, 720);
    next.app.options = loadSettingsFile(folder.file("settings.toml"), std::cerr);
    ASSERT_EQ(next.start(), -1);
    EXPECT_EQ(next.app.options.routeKeys[0], sf::Keyboard::K);
    EXPECT_EQ(next.app.options.routeKeys[3], sf::Keyboard::J);
    EXPECT_EQ(next.app.iface->routeKeyNames[0], "K");
}

namespace {

sf::Image picture(const sf::Texture& texture) {
    return texture.copyToImage();
}

sf::Image file(const std::string& name) {
    sf::Image image;
    EXPECT_TRUE(image.loadFromFile(name)) << name;
    return image;
}

// The pixels of two pictures of one size that differ, outside the given boxes.
int differences(const sf::Image& a, const sf::Image& b, const std::vector<K::PixelBox>& except) {
    if (a.getSize() != b.getSize()) return -1;
    int count = 0;
    for (unsigned y = 0; y < a.getSize().y; ++y) {
        for (unsigned x = 0; x < a.getSize().x; ++x) {
            const int ix = static_cast<int>(x), iy = static_cast<int>(y);
            const bool skipped = std::any_of(except.begin(), except.end(), [&](const auto& box) {
                return ix >= box.left && ix < box.left + box.width && iy >= box.top &&
                       iy < box.top + box.height;
            });
            if (!skipped && a.getPixel(x, y) != b.getPixel(x, y)) ++count;
        }
    }
    return count;
}

// The ink of a key in a region of a picture: how far each pixel is from the picture's key
// patch (the region drawn without keys), less the noise of the picture's compression.
struct Ink {
    K::PixelBox box{};
    std::vector<double> weight;
    double mass = 0, x = 0, y = 0;                               // centroid, picture pixels
    int top = 1 << 20, bottom = -1, left = 1 << 20, right = -1;  // where it is clear
    double at(int px, int py) const {
        if (px < box.left || py < box.top || px >= box.left + box.width ||
            py >= box.top + box.height)
            return 0.0;
        return weight[static_cast<size_t>((py - box.top) * box.width + px - box.left)];
    }
};

Ink inkOf(const sf::Image& image, const K::PixelBox& box, const sf::Image& sheet, int sheetLeft,
          int sheetTop = 0) {
    Ink ink;
    ink.box = box;
    for (int y = 0; y < box.height; ++y) {
        for (int x = 0; x < box.width; ++x) {
            const sf::Color p = image.getPixel(static_cast<unsigned>(box.left + x),
                                               static_cast<unsigned>(box.top + y));
            const sf::Color q = sheet.getPixel(static_cast<unsigned>(sheetLeft + x),
                                               static_cast<unsigned>(sheetTop + y));
            const double dr = p.r - q.r, dg = p.g - q.g, db = p.b - q.b, da = p.a - q.a;
            const double w = std::max(0.0, std::sqrt(dr * dr + dg * dg + db * db + da * da) - 20);
            ink.weight.push_back(w);
            ink.mass += w;
            ink.x += w * (box.left + x + 0.5);
            ink.y += w * (box.top + y + 0.5);
            if (w > 40) {
                ink.top = std::min(ink.top, box.top + y);
                ink.bottom = std::max(ink.bottom, box.top + y);
                ink.left = std::min(ink.left, box.left + x);
                ink.right = std::max(ink.right, box.left + x);
            }
        }
    }
    if (ink.mass > 0) {
        ink.x /= ink.mass;
        ink.y /= ink.mass;
    }
    return ink;
}

// A key's ink against a reference ink of the same letter elsewhere, each relative to its
// own label's place: how far apart their centroids are, and how alike their shapes are once
// laid over each other to the nearest pixel (1: the same).
struct Likeness {
    double dx, dy, shape;
};
Likeness likeness(const Ink& a, const K::Label& la, const Ink& b, const K::Label& lb) {
    const double sx = lb.centreX - la.centreX, sy = lb.top - la.top;
    const int ox = static_cast<int>(std::lround(sx)), oy = static_cast<int>(std::lround(sy));
    double ab = 0, aa = 0, bb = 0;
    for (int y = a.box.top; y < a.box.top + a.box.height; ++y) {
        for (int x = a.box.left; x < a.box.left + a.box.width; ++x) {
            const double wa = a.at(x, y), wb = b.at(x + ox, y + oy);
            ab += wa * wb;
            aa += wa * wa;
        }
    }
    for (double w : b.weight) bb += w * w;
    return {a.x + sx - b.x, a.y + sy - b.y, aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0};
}

// Where patch i starts in its sheet: the patches before it, side by side.
int sheetLeft(const std::vector<K::PixelBox>& boxes, size_t i) {
    int left = 0;
    for (size_t j = 0; j < i; ++j) left += boxes[j].width;
    return left;
}

std::string describe(const Likeness& l) {
    return "centroids " + std::to_string(l.dx) + ", " + std::to_string(l.dy) + " apart, shape " +
           std::to_string(l.shape);
}

}  // namespace

// With the default keys the board, the tutorial's pages and the song lists are the pictures
// as drawn. With route 0 bound to P and route 1 to E, each picture changes only where those
// routes' keys stand, and there the game's P and E have the place, size and shape of the P
// and E the pictures are drawn with elsewhere (in the route's colour).
TEST(RouteKeysPictures, DefaultKeysShowThePicturesAsDrawnBoundKeysTheirOwnNames) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    ASSERT_TRUE(std::filesystem::exists(tutorialKeyPatches(1)))
        << "the asset pack has no key patches (graphs/Keys): draw the pictures again";
    Session s(1024, 768);
    s.platform.keepFrames = true;
    ASSERT_EQ(s.start(), -1);
    App& app = s.app;
    Interface& ui = *app.iface;
    ASSERT_EQ(ui.profileName, "2048_1536");
    ASSERT_TRUE(s.player.openSongList(false));
    s.player.wait(1.0f);
    s.player.tap(sf::Keyboard::Num0);
    ASSERT_EQ(ui.Screen, Tutorial);
    const int mode = ui.boardMode;
    const std::string board = boardPicture(mode, ui.profileName);
    const std::vector<K::PixelBox> none;
    EXPECT_EQ(differences(picture(ui.boardTexture), file(board), none), 0);
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(
            differences(picture(ui.tutorialTextures[page]), file(tutorialPicture(page)), none), 0)
            << "page " << page;
    for (int k : {MenuText::songListHeader, MenuText::exploreListHeader})
        EXPECT_EQ(differences(picture(ui.menuTextTextures[k]), file(menuTextPicture(k)), none), 0)
            << "menu text " << k;
    s.player.tap(sf::Keyboard::Escape);
    ASSERT_EQ(ui.Screen, LevelSelect);

    const sf::Keyboard::Key swapped[4] = {sf::Keyboard::P, sf::Keyboard::E, sf::Keyboard::L,
                                          sf::Keyboard::D};
    app.bindRouteKeys(swapped, false);
    s.player.wait(1.0f);
    s.player.tap(sf::Keyboard::Num0);
    ASSERT_EQ(ui.Screen, Tutorial);

    // The board: badges 0..3, pads 4..7.
    const sf::Image drawn = file(board);
    const sf::Image shown = picture(ui.boardTexture);
    const sf::Image sheet = file(boardKeyPatches(mode, ui.profileName));
    std::vector<K::PixelBox> boxes;
    std::vector<K::Label> labels;
    for (int i = 0; i < K::boardPatchCount; ++i) {
        const K::Patch patch = K::boardPatch(mode, i);
        boxes.push_back(K::pixelBox(patch.box, 1.0, 0.0, 2048, 1536));
        labels.push_back(patch.label);
    }
    EXPECT_EQ(differences(shown, drawn, {boxes[0], boxes[1], boxes[4], boxes[5]}), 0);
    auto inkAt = [&](const sf::Image& image, int i) {
        return inkOf(image, boxes[static_cast<size_t>(i)], sheet,
                     sheetLeft(boxes, static_cast<size_t>(i)));
    };
    // Badge 1 now shows E as badge 0 is drawn with it, and no longer its P.
    const Likeness badgeE = likeness(inkAt(shown, 1), labels[1], inkAt(drawn, 0), labels[0]);
    EXPECT_LT(std::hypot(badgeE.dx, badgeE.dy), 1.5) << describe(badgeE);
    EXPECT_GT(badgeE.shape, 0.88) << describe(badgeE);
    const Likeness badgeP = likeness(inkAt(shown, 1), labels[1], inkAt(drawn, 1), labels[1]);
    EXPECT_LT(badgeP.shape, badgeE.shape - 0.1) << describe(badgeP);
    // Pad 0 now shows P as pad 1 is drawn with it.
    const Likeness padP = likeness(inkAt(shown, 4), labels[4], inkAt(drawn, 5), labels[5]);
    EXPECT_LT(std::hypot(padP.dx, padP.dy), 1.5) << describe(padP);
    EXPECT_GT(padP.shape, 0.88) << describe(padP);
    const Likeness padE = likeness(inkAt(shown, 4), labels[4], inkAt(drawn, 4), labels[4]);
    EXPECT_LT(padE.shape, padP.shape - 0.1) << describe(padE);
    // In route 1's colour: its darkest ink is route 1's dark blue, not route 0's brown.
    {
        const Ink ink = inkAt(shown, 1);
        double r = 0, g = 0, b = 0, n = 0;
        for (int y = ink.box.top; y < ink.box.top + ink.box.height; ++y) {
            for (int x = ink.box.left; x < ink.box.left + ink.box.width; ++x) {
                if (ink.at(x, y) < 150) continue;
                const sf::Color c =
                    shown.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y));
                r += c.r;
                g += c.g;
                b += c.b;
                n += 1;
            }
        }
        ASSERT_GT(n, 20);
        EXPECT_LT(std::abs(r / n - 15) + std::abs(g / n - 61) + std::abs(b / n - 115), 60)
            << r / n << " " << g / n << " " << b / n;
    }

    // The tutorial: page 3's badge (route 1) shows E as page 2's is drawn with it; page 2's
    // sentence names P where it named E, on the same line and as wide.
    const K::Patch page2 = K::tutorialPatch(*K::tutorialKeyPage(2));
    const K::Patch page3 = K::tutorialPatch(*K::tutorialKeyPage(3));
    const sf::Image drawn2 = file(tutorialPicture(2));
    const sf::Image shown2 = picture(ui.tutorialTextures[2]);
    const sf::Image shown3 = picture(ui.tutorialTextures[3]);
    const sf::Image sheet2 = file(tutorialKeyPatches(2));
    const sf::Image sheet3 = file(tutorialKeyPatches(3));
    auto band = [](const K::Patch& patch) { return K::pixelBox(patch.box, 1.0, 0.0, 620, 500); };
    EXPECT_EQ(differences(shown2, drawn2, {band(page2)}), 0);
    EXPECT_EQ(differences(shown3, file(tutorialPicture(3)), {band(page3)}), 0);
    auto badgeBox = [](const K::Patch& patch) {
        const K::Label& l = patch.label;
        return K::PixelBox{static_cast<int>(l.left), static_cast<int>(l.top) - 4,
                           static_cast<int>(l.right - l.left), 48};
    };
    // A page's patch is its band, the whole page wide.
    auto inkIn = [&](const sf::Image& image, const K::PixelBox& box, const sf::Image& sheet,
                     const K::Patch& patch) {
        return inkOf(image, box, sheet, box.left, box.top - band(patch).top);
    };
    const Likeness tutorialE = likeness(inkIn(shown3, badgeBox(page3), sheet3, page3), page3.label,
                                        inkIn(drawn2, badgeBox(page2), sheet2, page2), page2.label);
    EXPECT_LT(std::hypot(tutorialE.dx, tutorialE.dy), 1.5) << describe(tutorialE);
    EXPECT_GT(tutorialE.shape, 0.88) << describe(tutorialE);
    const K::PixelBox sentence{100, static_cast<int>(page2.box.top), 510,
                               static_cast<int>(page2.box.height)};
    const Ink before = inkIn(drawn2, sentence, sheet2, page2);
    const Ink after = inkIn(shown2, sentence, sheet2, page2);
    ASSERT_GE(before.bottom, 0);
    ASSERT_GE(after.bottom, 0);
    EXPECT_LE(std::abs(after.top - before.top), 1);
    EXPECT_LE(std::abs(after.bottom - before.bottom), 1);
    EXPECT_LE(std::abs(after.left - before.left), 4);
    EXPECT_LE(std::abs(after.right - before.right), 4);

    // The song list: route 0's key is P, as route 1's is drawn.
    {
        const sf::Image drawnList = file(menuTextPicture(MenuText::songListHeader));
        const sf::Image shownList = picture(ui.menuTextTextures[MenuText::songListHeader]);
        const sf::Image listSheet = file(menuTextKeyPatches(MenuText::songListHeader));
        std::vector<K::PixelBox> listBoxes;
        for (int r = 0; r < 4; ++r) {
            listBoxes.push_back(K::pixelBox(K::songListPatch(r).box, 1.0, 0.0,
                                            static_cast<int>(drawnList.getSize().x),
                                            static_cast<int>(drawnList.getSize().y)));
        }
        EXPECT_EQ(differences(shownList, drawnList, {listBoxes[0], listBoxes[1]}), 0);
        const Likeness listP =
            likeness(inkOf(shownList, listBoxes[0], listSheet, sheetLeft(listBoxes, 0)),
                     K::songListPatch(0).label,
                     inkOf(drawnList, listBoxes[1], listSheet, sheetLeft(listBoxes, 1)),
                     K::songListPatch(1).label);
        EXPECT_LT(std::hypot(listP.dx, listP.dy), 1.5) << describe(listP);
        EXPECT_GT(listP.shape, 0.88) << describe(listP);
    }

    // For the eyes: the board and pages 0..3, then longer names.
    ui.tutorialStep = 3;
    s.player.frame();
    EXPECT_TRUE(keepScreenshot(s.platform, "route_keys_swapped_tutorial.png"));
    s.player.tap(sf::Keyboard::Escape);
    const sf::Keyboard::Key longer[4] = {sf::Keyboard::Semicolon, sf::Keyboard::F12,
                                         sf::Keyboard::LShift, sf::Keyboard::PageDown};
    app.bindRouteKeys(longer, false);
    s.player.frame();
    EXPECT_TRUE(keepScreenshot(s.platform, "route_keys_long_names_list.png"));
    s.player.tap(sf::Keyboard::Num0);
    ui.tutorialStep = 3;
    s.player.frame();
    EXPECT_TRUE(keepScreenshot(s.platform, "route_keys_long_names_tutorial.png"));
}
