#pragma once

// A Game on a bare Interface, shown as the frame loop shows it, in a temporary game folder with its
// own small sound files.

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "../audio/test_sounds.h"
#include "app/play_screen.h"
#include "audio/load_with_thread.h"
#include "audio/sound_banks.h"
#include "board/route.h"
#include "game/game.h"
#include "support/game_folder.h"
#include "ui/interface.h"

class PlayTest : public ::testing::Test {
protected:
    GameFolder folder{false};
    std::ofstream logStream{"log.txt", std::ios::app};
    std::vector<std::vector<sf::Sound>> waveSounds;
    std::vector<std::vector<HeldBuffer>> waveBuffers;
    std::vector<sf::Sound> touchSounds;
    std::vector<HeldBuffer> touchBuffers;
    std::vector<HeldBuffer> droneBuffers;
    std::unique_ptr<Interface> iface;
    std::unique_ptr<Game> game;
    std::ostringstream out;
    std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());

    void SetUp() override {
        for (int song = 0; song < 4; ++song) {
            ASSERT_TRUE(testsounds::writeTone(testsounds::breakMusicName(song), 22050));
        }
        ASSERT_TRUE(testsounds::writeDrones());
        iface = std::make_unique<Interface>(2048.0f, 1536.0f, logStream);
        game = std::make_unique<Game>();
        ASSERT_TRUE(loadDrones(game->drones, droneBuffers));
    }
    void TearDown() override {
        game.reset();
        std::cout.rdbuf(oldOut);
    }

    // The start of a play in the frame loop's order (the loader is left to the caller).
    void start(int mode, bool explore, bool quiet = true) {
        game->mode = mode;
        game->explorePlay = explore;
        ASSERT_TRUE(game->loadBreakMusic(songOfMode[mode]));
        iface->Screen = explore ? Exploring : Playing;
        game->breakMusic.setLoop(explore);
        prepareSongBanks(waveSounds, waveBuffers, touchSounds, touchBuffers, songOfMode[mode]);
        setupRouteLayout(&waveSounds, 2048.0f, 0.0f, mode);
        startRoutes(*iface, *game);
        game->startDrone();
        if (quiet) {
            for (Route& r : game->routes) r.phase = 8;  // no launches
        }
        out.str("");
    }
    // A frame of the game and of its final-stage clock, shown as the frame loop shows them.
    // True when the frame ended a scored play.
    bool update(float dt) {
        return showPlayEvents(*iface, *game, game->update(dt, playViewOf(*iface)), &logStream);
    }
    bool stageStep(float dt) {
        return showPlayEvents(*iface, *game, game->finalStageStep(dt, playViewOf(*iface)),
                              &logStream);
    }
    void fill(int route) { game->routes[route].fillCount = game->routes[route].fillMax; }
    std::string lines() {
        const std::string s = out.str();
        out.str("");
        return s;
    }
    std::string headline() const { return iface->headlineText.getString().toAnsiString(); }
};
