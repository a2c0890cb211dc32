#include <iostream>

#include "game/game.h"
#include "ui/interface.h"

void Game::update(float dt) {
    idleRouteCount = 0;
    if (fullRouteCount != -1) fullRouteCount = 0;

    if (!routes.empty()) {
        bool firstGrab = false;
        for (Route& route : routes) {
            route.update(dt);
            if (fullRouteCount != -1 && route.fillLevel(route.fillCount) > 8) fullRouteCount += 1;
            if (route.fillCount == 0) idleRouteCount += 1;
            if (!explorePlay) {
                if (route.hitEvent) {
                    addHit();
                    route.hitEvent = false;
                    iface->showHeadlineNumber(static_cast<int>(score));
                    std::cout << "sc" << score << std::endl;
                }
                // A route with a hit and a miss in the same frame shows the raised score here.
                if (route.missEvent) {
                    missCount += 1;
                    route.missEvent = false;
                    std::cout << "scerr" << score << std::endl;
                }
            } else if (route.stopEvent) {
                stopRequested = true;
            }
            if (route.firstGrabEvent) firstGrab = true;
        }
        if (firstGrab) {
            // The routes' own music takes over from the drone, and explore plays unlock.
            stopDrones();
            iface->exploreLocked = false;
            if (iface->menuTextSprites.size() > 3) {
                iface->menuTextSprites[3].setColor(sf::Color(255, 255, 255, 255));
            }
            std::cout << "first grab !" << std::endl;
            for (Route& route : routes) route.grabStarted = true;
        }
    }

    if (iface->Screen == Playing && fourRoutes()) {
        if (fullRouteCount == 4) {
            for (Route& route : routes) route.fullSignal = true;
        }
        if (routes[0].phase == 7 && !iface->counterVisible) {
            std::cout << "starting final music!" << std::endl;
            iface->counterVisible = true;
            iface->layoutFinalStageHud();
            iface->hintVisible = true;
            startFinalStage();
        }
        if (iface->counterVisible && stageTime > 8.0f) iface->hintVisible = false;
        if (idleRouteCount == 4 && routes[0].musicRunning) {
            // Every route fell silent after its music ran: the drone comes back.
            startDrone();
            for (Route& route : routes) {
                route.musicRunning = false;
                route.currentLayer = -1;
                route.nextLayer = -1;
            }
        }
        checkSpecials();
        if (forceFull) {
            for (Route& route : routes) route.fullSignal = true;
            forceFull = false;
        }
    }

    if (explorePlay) {
        tickAccumulator += dt;
        if (tickAccumulator > 0.1f) {
            tickAccumulator -= 0.1f;
            iface->showHeadlineTime(totalTime);
        }
    }

    if (fullRouteCount == 4 && iface->Screen == Exploring) {
        for (Route& route : routes) route.finalSignal = true;
        startFinalStage();
    }

    if (stopRequested) {
        for (Route& route : routes) route.stopSoundsOnRoute();
        breakMusic.stop();
    }

    totalTime += dt;
}

void Game::startFinalStage() {
    std::cout << "final stage" << std::endl;
    exploreTimer = stageLength();
    std::cout << "JUST SET TIMER EXPLORE TO " << exploreTimer << std::endl;
    std::cout << "this should be equal: " << static_cast<int>(exploreTimer) << std::endl;
    for (Route& route : routes) route.stopSoundsOnRoute();
    // The music starts once per play: fullRouteCount stays -1 until the routes are cleared.
    if (fullRouteCount != -1) {
        breakMusic.setVolume(60.0f * iface->volumeFactor);
        breakMusic.play();
        fullRouteCount = -1;
        stageTime = 0.0f;
        finalStageStarted = true;
    }
}

bool Game::finalStageStep(float dt) {
    const float length = stageLength();
    if (!iface->pauseShown) {
        stageTime += dt;
        exploreTimer -= dt;
        iface->showCounter(static_cast<int>(exploreTimer));

        if (iface->Screen == Exploring) {
            raiseDifficulty();
            if (stageTime > length) {
                // The looping final music restarts on the song-length grid and fades in
                // over one second.
                const int loops = static_cast<int>(static_cast<int>(stageTime) / length);
                const float rest = stageTime - static_cast<float>(loops) * length;
                if (loops > musicLoops) {
                    musicLoops = loops;
                    breakMusic.setPlayingOffset(sf::Time::Zero);
                    breakMusic.play();
                    breakMusic.setVolume(0.0f);
                }
                if (rest <= 1.0f) {
                    breakMusic.setVolume(rest * 60.0f * iface->volumeFactor);
                } else if (rest <= 1.5f) {
                    breakMusic.setVolume(60.0f * iface->volumeFactor);
                }
            }
        }
    }

    if (iface->Screen != Playing) return false;
    if (stageTime > length - 7.0f) {
        for (Route& route : routes) route.phase = 8;
    }
    if (stageTime <= length) return false;
    iface->Screen = Results;
    finalStageStarted = false;
    breakMusic.stop();
    iface->showResults(static_cast<int>(score), 1.0f, totalTime, false, mode);
    if (log) *log << "Explore end. Score: " << score << std::endl;
    return true;
}

bool Game::endFailedExplore() {
    if (!stopRequested || iface->Screen != Exploring) return false;
    iface->showResults(0, 0.0f, totalTime, true, mode);
    iface->Screen = Results;
    stopRequested = false;
    return true;
}
