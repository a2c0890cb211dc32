#include <iostream>

#include "game/game.h"

PlayEvents Game::update(float dt, const PlayView& view) {
    PlayEvents events;
    bool counterVisible = view.counterVisible;
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
                    events.add(PlayEventKind::ScoreShown, static_cast<int>(score));
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
            events.add(PlayEventKind::ExploreUnlocked);
            std::cout << "first grab !" << std::endl;
            for (Route& route : routes) route.grabStarted = true;
        }
    }

    if (view.scoredPlay && fourRoutes()) {
        if (fullRouteCount == 4) {
            for (Route& route : routes) route.fullSignal = true;
        }
        if (routes[0].phase == 7 && !counterVisible) {
            std::cout << "starting final music!" << std::endl;
            counterVisible = true;
            events.add(PlayEventKind::FinalStageHud);
            startFinalStage();
        }
        if (counterVisible && stageTime > 8.0f) events.add(PlayEventKind::HintHidden);
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
            events.add(PlayEventKind::TimeShown, 0, totalTime);
        }
    }

    if (fullRouteCount == 4 && view.explorePlay) {
        for (Route& route : routes) route.finalSignal = true;
        startFinalStage();
    }

    if (stopRequested) {
        for (Route& route : routes) route.stopSoundsOnRoute();
        breakMusic.stop();
        breakMusicDue = false;
    }

    totalTime += dt;
    return events;
}

void Game::startFinalStage() {
    std::cout << "final stage" << std::endl;
    exploreTimer = stageLength();
    std::cout << "JUST SET TIMER EXPLORE TO " << exploreTimer << std::endl;
    std::cout << "this should be equal: " << static_cast<int>(exploreTimer) << std::endl;
    for (Route& route : routes) route.stopSoundsOnRoute();
    // The music starts once per play: fullRouteCount stays -1 until the routes are cleared.
    if (fullRouteCount != -1) {
        breakMusic.setVolume(60.0f * volumeFactor);
        startBreakMusic();
        fullRouteCount = -1;
        stageTime = 0.0f;
        finalStageStarted = true;
    }
}

void Game::startBreakMusic() {
    breakMusicDue = audioOffset < 0.0f;
    if (breakMusicDue) return;
    breakMusic.play();
    // A stream is moved once it plays: moved while stopped, its play would start it over.
    if (audioOffset > 0.0f) breakMusic.setPlayingOffset(sf::seconds(audioOffset));
}

PlayEvents Game::finalStageStep(float dt, const PlayView& view) {
    PlayEvents events;
    const float length = stageLength();
    if (!view.pauseShown) {
        stageTime += dt;
        exploreTimer -= dt;
        events.add(PlayEventKind::CounterShown, static_cast<int>(exploreTimer));
        // Where the final stage is heard: audioOffset ahead of the board.
        const float heard = stageTime + audioOffset;
        if (breakMusicDue && heard >= 0.0f) {
            breakMusicDue = false;
            breakMusic.play();
            breakMusic.setPlayingOffset(sf::seconds(heard));
        }

        if (view.explorePlay) {
            raiseDifficulty();
            if (heard > length) {
                // The looping final music restarts on the song-length grid and fades in
                // over one second.
                const int loops = static_cast<int>(static_cast<int>(heard) / length);
                const float rest = heard - static_cast<float>(loops) * length;
                if (loops > musicLoops) {
                    musicLoops = loops;
                    breakMusic.setPlayingOffset(sf::Time::Zero);
                    breakMusic.play();
                    breakMusic.setVolume(0.0f);
                }
                if (rest <= 1.0f) {
                    breakMusic.setVolume(rest * 60.0f * volumeFactor);
                } else if (rest <= 1.5f) {
                    breakMusic.setVolume(60.0f * volumeFactor);
                }
            }
        }
    }

    if (!view.scoredPlay) return events;
    if (stageTime > length - 7.0f) {
        for (Route& route : routes) route.phase = 8;
    }
    if (stageTime <= length) return events;
    finalStageStarted = false;
    breakMusic.stop();
    breakMusicDue = false;
    events.add(PlayEventKind::ScoredPlayEnded, static_cast<int>(score), totalTime);
    return events;
}
