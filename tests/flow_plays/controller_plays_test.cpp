#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/app.h"
#include "app/sdl_pads.h"
#include "board/route.h"
#include "core/songs.h"
#include "flow/scripted_player.h"
#include "game/game.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "support/virtual_pad.h"
#include "ui/interface.h"

// A DualShock 4 and an Xbox 360 pad, each as SDL's virtual controller with its own Linux
// numbers and read through SDL, play a scored song to its results: the direction pad and
// the bottom face button in the song list, shoulders and triggers on the four routes. The
// right trigger (on the DualShock also its button 7) never pauses the play, nor restarts it
// from the results; the right face button leaves them.
TEST(ControllerPlays, PlayStationAndXboxPadsEachPlayAScoredSongToItsResults) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    SdlPads pads;
    ASSERT_TRUE(pads.start()) << "SDL's game-controller part did not start";
    Session s(640, 360);
    s.platform.sdlPads = &pads;
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    Game& g = *s.app.game;
    const PadLayout* layouts[2] = {&playStation4Layout, &xbox360Layout};
    for (int k = 0; k < 2; ++k) {
        const PadLayout& layout = *layouts[k];
        const std::string name = layout.name;
        VirtualPad pad;
        ASSERT_TRUE(pad.attach(layout)) << name << ": " << pad.error;
        s.player.virtualPad = &pad;
        s.player.useController = true;
        s.player.frame();
        ASSERT_EQ(s.app.padKeys.pads.size(), 1u) << name << ": not opened as a controller";

        auto push = [&](auto down, auto up) {
            down();
            s.player.frame();
            up();
            s.player.frame();
        };
        if (ui.Screen == MainMenu) {
            push([&] { pad.hat(SDL_HAT_RIGHT); }, [&] { pad.hat(SDL_HAT_CENTERED); });
            ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == LevelSelect; }, 3.0f))
                << name << ": the song list did not open";
            s.player.wait(1.0f);
        }
        for (int n = 0; n < 8 && ui.hovered != k; ++n) {
            const unsigned char way = ui.hovered < k ? SDL_HAT_DOWN : SDL_HAT_UP;
            push([&] { pad.hat(way); }, [&] { pad.hat(SDL_HAT_CENTERED); });
        }
        ASSERT_EQ(ui.hovered, k) << name;
        push([&] { pad.button(layout.a, true); }, [&] { pad.button(layout.a, false); });
        ASSERT_EQ(ui.Screen, Playing) << name;
        ASSERT_EQ(g.mode, modeOrder[k]) << name;

        bool paused = false;
        const bool finished = s.player.runUntil(
            [&] {
                paused = paused || (ui.Screen == Playing && ui.pauseShown);
                return ui.Screen == Results || paused;
            },
            900.0f);
        EXPECT_FALSE(paused) << name << ": the play was paused";
        ASSERT_TRUE(finished) << name << ": no results; gauges " << g.routes[0].gaugeLevel << " "
                              << g.routes[1].gaugeLevel << " " << g.routes[2].gaugeLevel << " "
                              << g.routes[3].gaugeLevel;
        EXPECT_GT(g.score, 0.0f) << name;
        ASSERT_EQ(g.routes.size(), 4u) << name;
        for (int route = 0; route < 4; ++route) {
            EXPECT_GT(g.routes[route].hits, 0) << name << ": route " << route;
        }

        s.player.catching = false;
        s.player.wait(1.5f);
        push([&] { pad.pull(1, true); }, [&] { pad.pull(1, false); });
        s.player.wait(0.5f);
        EXPECT_EQ(ui.Screen, Results) << name << ": the right trigger left the results";
        push([&] { pad.button(layout.b, true); }, [&] { pad.button(layout.b, false); });
        EXPECT_EQ(ui.Screen, LevelSelect) << name;
        s.player.catching = true;

        pad.detach();
        s.player.frame();
        EXPECT_TRUE(s.app.padKeys.pads.empty()) << name << ": still open after unplugging";
        s.player.virtualPad = nullptr;
        s.player.wait(1.0f);
    }
}

namespace {
// The bytes this process has read so far (files, pipes), or -1 when unknown.
long bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long value = -1;
    while (io >> key >> value) {
        if (key == "rchar:") return value;
    }
    return -1;
}
}  // namespace

// The options panel by controller alone: the direction pad's up opens it from the main menu,
// down and right choose a 1280 x 720 window, the bottom face button goes back to full screen,
// each switch without loading a picture again; the right face button closes the panel.
TEST(ControllerPlays, DirectionPadOpensTheOptionsAndSwitchesTheWindowWithoutReloading) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    SdlPads pads;
    ASSERT_TRUE(pads.start()) << "SDL's game-controller part did not start";
    Session s(1920, 1080);
    s.platform.sdlPads = &pads;
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    VirtualPad pad;
    ASSERT_TRUE(pad.attach(xbox360Layout)) << pad.error;
    s.player.virtualPad = &pad;
    s.player.useController = true;
    s.player.wait(0.2f);
    auto hat = [&](unsigned char way) {
        pad.hat(way);
        s.player.frame();
        pad.hat(SDL_HAT_CENTERED);
        s.player.frame();
    };
    auto button = [&](int number) {
        pad.button(number, true);
        s.player.frame();
        pad.button(number, false);
        s.player.frame();
    };
    hat(SDL_HAT_UP);
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == OptionsPanel; }, 3.0f))
        << "the panel after the direction pad's up";
    s.player.wait(0.2f);
    const unsigned panel = ui.optionsTexture.getNativeHandle();
    const unsigned board = s.app.atlasTextures.at(0).at(0).getNativeHandle();
    hat(SDL_HAT_DOWN);
    EXPECT_EQ(ui.optionsRow, 1);
    hat(SDL_HAT_RIGHT);
    hat(SDL_HAT_RIGHT);
    EXPECT_FALSE(s.platform.windowRequest.fullscreen);
    EXPECT_EQ(s.platform.size, sf::Vector2u(1280, 720));
    EXPECT_EQ(ui.optionsTexts[1].getString().toAnsiString(), "Window 1280 x 720");
    const long readBefore = bytesRead();
    button(xbox360Layout.a);
    EXPECT_TRUE(s.platform.windowRequest.fullscreen);
    EXPECT_EQ(s.platform.size, sf::Vector2u(1920, 1080));
    EXPECT_EQ(ui.optionsTexture.getNativeHandle(), panel) << "the panel's picture loaded again";
    EXPECT_EQ(s.app.atlasTextures.at(0).at(0).getNativeHandle(), board)
        << "the board's pictures loaded again";
    // From one window to another of the same shape, no picture is read again: the panel's is
    // 170 kB, the board's far more; the settings file and the driver's shader cache are less.
    EXPECT_LT(bytesRead() - readBefore, 64 * 1024) << "files were read during the switch";
    button(xbox360Layout.b);
    EXPECT_TRUE(s.player.runUntil([&] { return ui.Screen == MainMenu; }, 3.0f))
        << "the main menu after the right face button";
}
