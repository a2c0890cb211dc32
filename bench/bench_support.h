#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "app/app.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"

// The working folder of the benchmarks: a temporary folder with the asset pack linked in.
class BenchFolder {
public:
    BenchFolder();
    bool ok() const { return folder.hasAssets(); }
    GameFolder folder;
};

// While it lives, the game's standard output and error go to /dev/null (file descriptors,
// so the loader thread's lines too); the benchmark report comes out afterwards.
class Quiet {
public:
    Quiet();
    ~Quiet();
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    int savedOut = -1;
    int savedErr = -1;
};

// One game started on a scripted 1920 x 1080 platform, on its main menu.
struct GameRun {
    GameRun();
    bool started = false;
    ScriptedPlatform platform;
    App app;
    ScriptedPlayer player;

    // Main menu or song list -> the scored song list, settled.
    bool toSongList();
    // From a play back to the song list (the loader is joined on the way).
    void leavePlay();
};

using BenchClock = std::chrono::steady_clock;
inline double msBetween(BenchClock::time_point a, BenchClock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Number key of the song list that starts song s (the list shows songs 0..3 in order).
sf::Keyboard::Key songKey(int song);
