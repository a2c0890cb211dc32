#include "bench_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "game/game.h"
#include "ui/interface.h"

BenchFolder::BenchFolder() : folder(true) {
    if (!folder.hasAssets())
        std::cerr << "no asset pack at " << assetsFolder() << " (set MIREVO_ASSETS)" << std::endl;
}

Quiet::Quiet() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    savedOut = dup(STDOUT_FILENO);
    savedErr = dup(STDERR_FILENO);
    int devnull = open("/dev/null", O_WRONLY);
    if (devnull >= 0) {
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
        close(devnull);
    }
}

Quiet::~Quiet() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    if (savedOut >= 0) dup2(savedOut, STDOUT_FILENO);
    if (savedErr >= 0) dup2(savedErr, STDERR_FILENO);
    if (savedOut >= 0) close(savedOut);
    if (savedErr >= 0) close(savedErr);
}

GameRun::GameRun() : platform(1920, 1080), app(platform), player(app, platform) {
    platform.finishFrames = true;
    // Told what its drawing runs on, as the game in a window is.
    {
        sf::Context probe;
        platform.softwareRenderer = rendererIsSoftware();
    }
    Quiet quiet;
    started = app.startUp() == -1;
    if (started) player.wait(0.5f);
}

bool GameRun::toSongList() {
    Interface& ui = *app.iface;
    if (ui.Screen == LevelSelect && !app.game->explorePlay) return true;
    if (ui.Screen == LevelSelect) {
        player.tap(sf::Keyboard::Escape);
        player.runUntil([&] { return ui.Screen == MainMenu; }, 4.0f);
    }
    if (ui.Screen != MainMenu) return false;
    return player.openSongList(false);
}

void GameRun::leavePlay() {
    Interface& ui = *app.iface;
    for (int k = 0; k < 4 && ui.Screen != LevelSelect; ++k) {
        if (!ui.pauseShown && (ui.Screen == Playing || ui.Screen == Exploring)) {
            player.tap(sf::Keyboard::Escape);
            player.runUntil([&] { return !ui.pauseOpening; }, 4.0f);
        }
        player.tap(sf::Keyboard::Escape);
        player.wait(0.1f);
    }
}

sf::Keyboard::Key songKey(int song) {
    const sf::Keyboard::Key keys[4] = {sf::Keyboard::Num1, sf::Keyboard::Num2, sf::Keyboard::Num3,
                                       sf::Keyboard::Num4};
    return keys[song & 3];
}
