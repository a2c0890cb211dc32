#pragma once

// A Game on a bare Interface in a temporary game folder with its own small sound files.

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "../audio/test_sounds.h"
#include "board/route.h"
#include "board/songs.h"
#include "game/game.h"
#include "support/game_folder.h"
#include "ui/interface.h"

class PlayTest : public ::testing::Test {
protected:
    GameFolder folder{false};
    std::ofstream logStream{"log.txt", std::ios::app};
    std::vector<std::vector<sf::Sound>> waveSounds;
    std::vector<std::vector<sf::SoundBuffer>> waveBuffers;
    std::vector<sf::Sound> touchSounds;
    std::vector<sf::SoundBuffer> touchBuffers;
    std::vector<sf::SoundBuffer> droneBuffers;
    std::unique_ptr<Interface> iface;
    std::unique_ptr<Game> game;
    std::ostringstream out;
    std::streambuf* oldOut = nullptr;

    void SetUp() override {
        for (int song = 0; song < 4; ++song) {
            ASSERT_TRUE(testsounds::writeTone(testsounds::breakMusicFile(song), 22050));
        }
        ASSERT_TRUE(testsounds::writeDroneFiles());
        oldOut = std::cout.rdbuf(out.rdbuf());
        iface = std::make_unique<Interface>(2048.0f, 1536.0f, logStream);
        game = std::make_unique<Game>(iface.get(), &logStream);
        ASSERT_TRUE(loadDrones(game->drones, droneBuffers));
        out.str("");
    }
    void TearDown() override {
        game.reset();
        std::cout.rdbuf(oldOut);
    }

    // The start of a play as the frame loop makes it (without a loader: the banks stay empty).
    void start(int mode, bool explore) {
        game->mode = mode;
        game->explorePlay = explore;
        ASSERT_TRUE(game->loadBreakMusic(songOfMode[mode]));
        iface->Screen = explore ? Exploring : Playing;
        game->breakMusic.setLoop(explore);
        prepareSongBanks(waveSounds, waveBuffers, touchSounds, touchBuffers, songOfMode[mode]);
        setupRouteLayout(&waveSounds, 2048.0f, 0.0f, mode);
        game->initRoutes();
        game->startDrone();
    }
    // Every route quiet for frame tests: no launches.
    void holdRoutes() {
        for (Route& r : game->routes) r.phase = 8;
    }
    void fill(Route& r) { r.fillCount = r.fillMax; }
    std::string lines() {
        std::string s = out.str();
        out.str("");
        return s;
    }
};
