#include <gtest/gtest.h>

#include "app/app.h"
#include "board/route.h"
#include "core/songs.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "ui/interface.h"

namespace {

// A press of a controller button: down in one frame, up in the next.
void pressButton(ScriptedPlayer& player, unsigned button) {
    player.platform.padButton(0, button, true);
    player.frame();
    player.platform.padButton(0, button, false);
    player.frame();
}

// The direction pad pushed one way and let go.
void pushPad(ScriptedPlayer& player, sf::Joystick::Axis axis, float position) {
    player.platform.padAxis(0, axis, position);
    player.frame();
    player.platform.padAxis(0, axis, 0.0f);
    player.frame();
}

}  // namespace

// From the main menu to a scored play and back, with a game controller only: the direction
// pad and the face buttons in the menus, shoulders and triggers on the four routes, Start
// to pause. Plugging a second controller in and out during the play changes nothing.
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

    pushPad(s.player, sf::Joystick::PovX, 100.0f);  // right: the song list
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == LevelSelect; }, 3.0f));
    s.player.wait(1.0f);
    pushPad(s.player, sf::Joystick::PovY, 100.0f);   // down: first song
    pushPad(s.player, sf::Joystick::PovY, 100.0f);   // down: second
    pushPad(s.player, sf::Joystick::PovY, 100.0f);   // down: third
    pushPad(s.player, sf::Joystick::PovY, -100.0f);  // up: second
    EXPECT_EQ(ui.hovered, 1);
    pressButton(s.player, 0);  // A
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

    int presses = s.player.presses;
    s.platform.plugPad(1, true);
    s.player.frame();
    s.platform.plugPad(1, false);
    s.player.runUntil([] { return false; }, 5.0f);
    EXPECT_EQ(ui.Screen, Playing);
    EXPECT_FALSE(ui.pauseShown);
    EXPECT_GT(s.player.presses, presses);  // and the first controller still plays

    s.player.useController = false;
    s.player.catching = false;
    pressButton(s.player, 7);  // Start pauses
    EXPECT_TRUE(ui.pauseShown);
    EXPECT_TRUE(g.paused);
    s.player.wait(1.5f);
    pressButton(s.player, 1);  // B in the pause panel leaves the play
    EXPECT_EQ(ui.Screen, LevelSelect);
    EXPECT_GT(ui.bestCompletion[songOfMode[modeOrder[1]]], 0.0f);
    s.player.wait(1.0f);
    pressButton(s.player, 1);  // B closes the song list
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
