#include "game/game.h"

#include <cstdlib>
#include <iostream>
#include <string>

#include "assets/asset_files.h"
#include "core/songs.h"

Game::Game() : routeHits(4, 0), routeMisses(4, 0) {}

int Game::song() const {
    const int s = songOf(mode);
    return s < 0 ? 0 : s;
}

float Game::stageLength() const {
    return songLength[song()];
}

bool Game::loadBreakMusic(int song) {
    return breakMusic.openFromFile(breakMusicFile(song));
}

void Game::shuffleFour(int order[4]) {
    for (int i = 0; i < 4; ++i) order[i] = i;
    for (int p = 1; p <= 3; ++p) {
        const int j = std::rand() % (p + 1);
        const int kept = order[p];
        order[p] = order[j];
        order[j] = kept;
    }
}

void Game::initRoutes() {
    std::cout << "init routes !" << std::endl;
    clearRoutes();

    int phases[4];
    shuffleFour(phases);
    int variants[4];
    for (int& v : variants) v = std::rand() % 5 + 1;

    // Gauge cells each route starts with in an explore play: a base per song, then extra
    // cells dealt one by one to random routes.
    static const int quotaBase[4] = {2, 1, 1, 1};
    static const int quotaExtra[4] = {4, 5, 3, 0};
    const int s = song();
    int quotas[4];
    for (int& q : quotas) q = quotaBase[s];
    for (int k = 0; k < quotaExtra[s]; ++k) quotas[std::rand() % 4] += 1;

    int order[4];
    shuffleFour(order);
    routeOrder.assign(order, order + 4);

    routes.reserve(4);
    for (int i = 0; i < 4; ++i) {
        Route route(i, volumeFactor);
        route.audioShift = audioOffset;
        route.inputShift = inputOffset;
        route.phase = phases[i];
        if (explorePlay) {
            route.exploreLayer = variants[i];
            route.exploreMode = 1;
            route.exploreQuota = quotas[i];
            route.gaugeLevel = quotas[i];
        }
        routes.push_back(route);
    }
    musicLoops = 0;
}

void Game::clearRoutes() {
    std::cout << "clearing routes" << std::endl;
    if (fourRoutes()) {
        for (Route& route : routes) route.stopSoundsOnRoute();
        routes.clear();
    }
    finalStageStarted = false;
    breakMusicDue = false;
    stopDrones();
    tutorialPlay = false;
    stopRequested = false;
    totalTime = 0.0f;
    stageTime = 0.0f;
    tickAccumulator = 0.0f;
    fullRouteCount = 0;
    score = 0.0f;
    hitCount = 0;
    missCount = 0;
    std::cout << "done clearing routes" << std::endl;
}

void Game::startDrone() {
    if (dronePlaying) return;
    droneIndex = mode;
    if (droneIndex >= 0 && droneIndex < static_cast<int>(drones.size())) {
        sf::Sound& drone = drones[droneIndex];
        drone.play();
        drone.setLoop(true);
        drone.setVolume(100.0f * volumeFactor);
    }
    dronePlaying = true;
}

void Game::stopDrones() {
    for (sf::Sound& drone : drones) {
        drone.setVolume(0.0f);
        drone.stop();
    }
    dronePlaying = false;
}

void Game::pauseDrone() {
    if (dronePlaying && droneIndex >= 0 && droneIndex < static_cast<int>(drones.size())) {
        drones[droneIndex].pause();
    }
}

void Game::resumeDrone() {
    if (dronePlaying && droneIndex >= 0 && droneIndex < static_cast<int>(drones.size())) {
        drones[droneIndex].play();
    }
}

void Game::pauseSounds() {
    pauseDrone();
    if (finalStageStarted) breakMusic.pause();
    for (Route& route : routes) route.pauseLayers(explorePlay);
}

void Game::resumeSounds() {
    if (finalStageStarted) {
        if (!breakMusicDue) breakMusic.play();
    } else {
        for (Route& route : routes) route.resumeLayers(explorePlay);
    }
    resumeDrone();
}

void Game::resumePlay() {
    resumeSounds();
    paused = false;
}
