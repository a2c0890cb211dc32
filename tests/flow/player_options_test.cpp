#include <gtest/gtest.h>

#include "app/app.h"
#include "board/route.h"
#include "core/songs.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "support/window_events.h"
#include "ui/interface.h"

namespace {

// A press of a controller button: down in one frame, up in the next.
void pressButton(ScriptedPlayer& player, PadButton button) {
    player.platform.padButton(0, button, true);
    player.frame();
    player.platform.padButton(0, button, false);
    player.frame();
}

}  // namespace

// From the main menu to a scored play and back, with a game controller only: the direction
// pad and the face buttons in the menus, shoulders and triggers on the four routes, Start
// to pause. Plugging a second controller in and out during the play changes nothing.
// Without the window's focus the controller's presses do not count, and what it held when
// the focus went is let go.
TEST(PlayerOptions, ControllerPlaysASongFromTheMenus) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s(1280, 720);
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    Game& g = *s.app.game;
    s.platform.plugPad(0, true);
    s.player.frame();
    ASSERT_EQ(ui.Screen, MainMenu);

    pressButton(s.player, PadButton::DpadRight);  // the song list
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == LevelSelect; }, 3.0f));
    s.player.wait(1.0f);
    pressButton(s.player, PadButton::DpadDown);  // first song
    pressButton(s.player, PadButton::DpadDown);  // second
    pressButton(s.player, PadButton::DpadDown);  // third
    pressButton(s.player, PadButton::DpadUp);    // second
    EXPECT_EQ(ui.hovered, 1);
    pressButton(s.player, PadButton::A);
    ASSERT_EQ(ui.Screen, Playing);
    EXPECT_EQ(g.mode, modeOrder[1]);
    ASSERT_EQ(g.routes.size(), 4u);

    s.player.useController = true;
    auto everyRouteCaught = [&] {
        for (const Route& route : g.routes) {
            if (route.hits < 2) return false;
        }
        return true;
    };
    ASSERT_TRUE(s.player.runUntil(everyRouteCaught, 90.0f))
        << g.routes[0].hits << " " << g.routes[1].hits << " " << g.routes[2].hits << " "
        << g.routes[3].hits;

    auto hits = [&] {
        int sum = 0;
        for (const Route& route : g.routes) sum += route.hits;
        return sum;
    };
    const int hitsBefore = hits();
    s.platform.plugPad(1, true);
    s.player.frame();
    s.platform.plugPad(1, false);
    // The first controller still catches. How long until the next creature lands depends
    // on where the routes are in their phases (a route may wait several beats), so the bound
    // is generous; a catch usually comes within a second or two.
    EXPECT_TRUE(s.player.runUntil([&] { return hits() > hitsBefore; }, 30.0f));
    EXPECT_EQ(ui.Screen, Playing);
    EXPECT_FALSE(ui.pauseShown);

    // A trigger held when the window loses the focus is let go at once.
    s.player.useController = false;
    s.player.catching = false;
    s.platform.padAxis(0, PadAxis::RightTrigger, 1.0f);
    s.player.frame();
    EXPECT_TRUE(s.app.padKeys.holds(sf::Keyboard::L));
    s.platform.focused = false;
    s.player.frame();
    EXPECT_FALSE(s.app.padKeys.holds(sf::Keyboard::L));
    s.platform.padAxis(0, PadAxis::RightTrigger, 0.0f);
    pressButton(s.player, PadButton::Start);  // without the focus: no pause
    EXPECT_FALSE(ui.pauseShown);
    s.platform.focused = true;

    pressButton(s.player, PadButton::Start);  // Start pauses
    EXPECT_TRUE(ui.pauseShown);
    EXPECT_TRUE(g.paused);
    s.player.wait(1.5f);
    pressButton(s.player, PadButton::B);  // B in the pause panel leaves the play
    EXPECT_EQ(ui.Screen, LevelSelect);
    EXPECT_GT(ui.bestCompletion[songOfMode[modeOrder[1]]], 0.0f);
    s.player.wait(1.0f);
    pressButton(s.player, PadButton::B);  // B closes the song list
    EXPECT_TRUE(s.player.runUntil([&] { return ui.Screen == MainMenu; }, 3.0f));
}

// The player's volume scales every sound, and the making-of speaker switches between
// silence and that volume. The window request carries the options through.
TEST(PlayerOptions, VolumeAndMuteButton) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s;
    s.app.options.volume = 40;
    s.app.options.fullscreen = false;
    s.app.options.vsync = false;
    ASSERT_EQ(s.start(), -1);
    EXPECT_FALSE(s.platform.windowRequest.fullscreen);
    EXPECT_FALSE(s.platform.windowRequest.vsync);
    EXPECT_EQ(s.platform.windowRequest.width, 1280u);
    EXPECT_EQ(s.platform.windowRequest.height, 720u);
    Interface& ui = *s.app.iface;
    EXPECT_FLOAT_EQ(ui.volumeFactor, 0.4f);
    EXPECT_FLOAT_EQ(s.app.menuSounds[1].getVolume(), 24.0f);
    // The error sound (Left on the locked explore item) keeps its full volume, scaled by
    // the player's from the first frame on.
    s.player.tap(sf::Keyboard::Left);
    EXPECT_EQ(s.app.menuSounds[3].getStatus(), sf::Sound::Playing);
    EXPECT_FLOAT_EQ(s.app.menuSounds[3].getVolume(), 40.0f);

    s.player.tap(sf::Keyboard::Down);
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == MakingOf; }, 3.0f));
    s.player.wait(1.0f);
    sf::FloatRect speaker = ui.volumeSprite.getGlobalBounds();
    ASSERT_GT(speaker.width, 0.0f);
    float cx = speaker.left + speaker.width / 2, cy = speaker.top + speaker.height / 2;
    s.player.clickAt(cx, cy);
    EXPECT_EQ(ui.volumeFactor, 0.0f);
    s.player.wait(1.0f);
    EXPECT_EQ(ui.muteStage, 8);
    s.player.clickAt(cx, cy);
    EXPECT_FLOAT_EQ(ui.volumeFactor, 0.4f);
    s.player.wait(1.0f);
    EXPECT_EQ(ui.muteStage, 0);
    EXPECT_FLOAT_EQ(s.app.menuSounds[1].getVolume(), 24.0f);

    // A play started now plays its routes and drone at that volume.
    s.player.tap(sf::Keyboard::Escape);
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == MainMenu; }, 3.0f));
    ASSERT_TRUE(s.player.openSongList(false));
    ASSERT_TRUE(s.player.startListPosition(0));
    ASSERT_EQ(s.app.game->routes.size(), 4u);
    for (const Route& route : s.app.game->routes) EXPECT_FLOAT_EQ(route.volumeFactor, 0.4f);
}

// A vertical sync asked for but ignored (frames much faster than the display's refresh) is
// noticed from the frame times soon after start-up, and the game caps its frames at the refresh
// rate (60 when the display does not tell it), once, with one line in its log; the cap holds
// across Alt+Return. A sync that works, and frames asked to run free, are left as they are.
TEST(PlayerOptions, IgnoredVsyncIsNoticedAndTheFramesCappedOnce) {
    struct Case {
        bool vsync;
        unsigned refresh;    // as the display reports it, 0: unknown
        float frameSeconds;  // how fast the frames come
        unsigned cap;        // expected, 0: none
    };
    const Case cases[] = {{true, 0, 0.002f, 60}, {true, 0, 1 / 60.0f, 0}, {false, 0, 0.002f, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "vsync " << c.vsync << ", frames of " << c.frameSeconds << " s");
        GameFolder folder;
        ASSERT_TRUE(folder.hasAssets());
        Session s;
        s.app.options.vsync = c.vsync;
        s.platform.refresh = c.refresh;
        ASSERT_EQ(s.start(), -1);
        s.player.dt = c.frameSeconds;
        for (int k = 0; k < 130; ++k) s.player.frame();
        EXPECT_EQ(s.platform.frameCap, c.cap);
        sf::Event altReturn = keyPressed(sf::Keyboard::Return);
        altReturn.key.alt = true;
        s.platform.push(altReturn);
        for (int k = 0; k < 130; ++k) s.player.frame();
        EXPECT_FALSE(s.platform.windowRequest.fullscreen);
        EXPECT_EQ(s.platform.frameCap, c.cap);
        const std::string log = folder.read("log.txt");
        const std::string line = c.cap ? "Vertical sync is not in effect: frames capped at " +
                                             std::to_string(c.cap) + " per second\n"
                                       : "Vertical sync";
        size_t found = 0;
        for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
            ++found;
        EXPECT_EQ(found, c.cap ? 1u : 0u) << log;
    }
}
