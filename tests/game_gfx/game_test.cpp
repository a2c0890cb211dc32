#include <cstdio>
#include <cstdlib>

#include "play_fixture.h"

// What initRoutes draws, worked out by hand from the C library's generator (glibc) seeded
// with 1234 + mode: the phase order, the variants, the quotas of the mode's song (base 2, 1,
// 1, 1 per slot plus 4, 5, 3, 0 single cells), then the route order, in that order.
TEST_F(PlayTest, InitRoutesDrawsPhasesVariantsQuotasThenOrderPerSong) {
    struct Case {
        int phases[4], variants[4], quotas[4], order[4];
    };
    const Case byMode[4] = {
        {{1, 0, 2, 3}, {3, 1, 2, 1}, {1, 1, 1, 1}, {1, 3, 2, 0}},  // song 3: 4 cells
        {{1, 0, 3, 2}, {4, 3, 1, 4}, {3, 3, 2, 4}, {0, 1, 2, 3}},  // song 0: 12 cells
        {{1, 2, 0, 3}, {1, 4, 5, 1}, {1, 2, 1, 3}, {3, 0, 1, 2}},  // song 2: 7 cells
        {{3, 2, 1, 0}, {3, 2, 1, 3}, {3, 3, 2, 1}, {3, 2, 0, 1}},  // song 1: 9 cells
    };
    for (int play = 0; play < 8; ++play) {
        const int mode = play % 4;
        const bool explore = play < 4;
        const Case& want = byMode[mode];
        std::srand(1234u + static_cast<unsigned>(mode));
        start(mode, explore, false);
        ASSERT_EQ(game->routes.size(), 4u);
        for (int i = 0; i < 4; ++i) {
            const Route& r = game->routes[i];
            EXPECT_EQ(r.phase, want.phases[i]) << mode << " " << i;
            EXPECT_EQ(game->routeOrder[i], want.order[i]) << mode << " " << i;
            // A scored play draws the same numbers but keeps only the phases and the order.
            EXPECT_EQ(r.exploreLayer, explore ? want.variants[i] : -1);
            EXPECT_EQ(r.exploreMode, explore ? 1 : 0);
            EXPECT_EQ(r.gaugeLevel, explore ? want.quotas[i] : 0);
        }
        EXPECT_EQ(headline(), explore ? "0.0s" : "0");
    }
}

TEST_F(PlayTest, ASecondStartClearsTheFirstPlay) {
    start(1, true);
    game->score = 5.0f;
    game->totalTime = 9.0f;
    game->musicLoops = 2;
    game->fullRouteCount = -1;
    game->exploreTimer = 33.0f;
    iface->counterVisible = true;
    startRoutes(*iface, *game);
    EXPECT_EQ(lines(), "init routes !\nclearing routes\ndone clearing routes\n");
    EXPECT_EQ(game->routes.size(), 4u);
    EXPECT_FLOAT_EQ(game->score + game->totalTime + game->musicLoops, 0.0f);
    EXPECT_EQ(game->fullRouteCount, 0);
    EXPECT_FLOAT_EQ(game->exploreTimer, 33.0f);
    EXPECT_FALSE(iface->counterVisible || game->dronePlaying);
    game->clearRoutes();
    game->clearRoutes();
    EXPECT_TRUE(game->routes.empty());
}

TEST_F(PlayTest, HitsAndMissesCountInRouteOrder) {
    start(1, false);
    game->routes[1].hitEvent = true;
    game->routes[2].hitEvent = true;
    game->routes[2].missEvent = true;  // shows the score raised by its own hit
    game->routes[3].missEvent = true;
    update(0.0f);
    EXPECT_EQ(lines(), "sc6\nsc12\nscerr12\nscerr12\n");
    EXPECT_EQ(game->missCount, 2);
    EXPECT_EQ(headline(), "12");
    EXPECT_FALSE(game->routes[2].hitEvent || game->routes[2].missEvent);
}

TEST_F(PlayTest, AnExplorePlayCountsNothingAndEndsOnAFailure) {
    start(3, true);
    game->routes[0].hitEvent = true;
    game->routes[1].missEvent = true;
    update(0.0f);
    EXPECT_FLOAT_EQ(game->score + game->missCount, 0.0f);
    EXPECT_TRUE(game->routes[0].hitEvent && game->routes[1].missEvent);
    EXPECT_FALSE(endFailedExplore(*iface, *game));

    game->breakMusic.play();
    game->routes[2].stopEvent = true;
    game->totalTime = 42.25f;
    update(0.5f);
    EXPECT_EQ(game->breakMusic.getStatus(), sf::Music::Stopped);
    EXPECT_TRUE(endFailedExplore(*iface, *game));
    EXPECT_EQ(iface->Screen, Results);
    EXPECT_FALSE(game->stopRequested);
    EXPECT_EQ(iface->resultText.getString().toAnsiString(), "Time: 42.7s");
}

TEST_F(PlayTest, TheFirstGrabHandsOverFromTheDroneAndUnlocksExploring) {
    start(0, false);
    ASSERT_EQ(game->drones[0].getStatus(), sf::Sound::Playing);
    EXPECT_FLOAT_EQ(game->drones[0].getVolume(), 100.0f);
    iface->menuTextSprites[3].setColor(sf::Color(90, 90, 90));
    game->routes[2].firstGrabEvent = true;
    game->routes[3].firstGrabEvent = true;
    update(0.0f);
    EXPECT_EQ(lines(), "first grab !\n");
    EXPECT_EQ(game->drones[0].getStatus(), sf::Sound::Stopped);
    EXPECT_FALSE(iface->exploreLocked || game->dronePlaying);
    EXPECT_EQ(iface->menuTextSprites[3].getColor(), sf::Color(255, 255, 255, 255));
    for (const Route& r : game->routes) EXPECT_TRUE(r.grabStarted);
}

TEST_F(PlayTest, TheDroneReturnsOnceEveryRouteFellSilent) {
    start(2, false);
    game->stopDrones();
    for (Route& r : game->routes) r.musicRunning = true;
    game->routes[3].fillCount = 1;
    update(0.0f);
    EXPECT_EQ(game->idleRouteCount, 3);
    EXPECT_FALSE(game->dronePlaying);
    game->routes[3].fillCount = 0;
    update(0.0f);
    EXPECT_EQ(game->drones[2].getStatus(), sf::Sound::Playing);
    EXPECT_FALSE(game->routes[1].musicRunning);
    EXPECT_EQ(game->routes[1].currentLayer + game->routes[1].nextLayer, -2);
    game->mode = 1;  // a second start keeps the first drone
    game->startDrone();
    EXPECT_EQ(game->droneIndex, 2);
}

TEST_F(PlayTest, FullRoutesSignalEveryFrameOfAScoredPlayAndForceFullOnce) {
    start(1, false);
    for (int i = 0; i < 3; ++i) fill(i);
    update(0.0f);
    EXPECT_FALSE(game->routes[0].fullSignal);
    fill(3);
    for (int frame = 0; frame < 2; ++frame) {
        update(0.0f);
        EXPECT_EQ(game->fullRouteCount, 4);
        for (Route& r : game->routes) {
            EXPECT_TRUE(r.fullSignal && !r.finalSignal);
            r.fullSignal = false;
        }
    }
    game->routes[3].fillCount = 0;
    game->forceFull = true;
    update(0.0f);
    EXPECT_TRUE(game->routes[3].fullSignal && !game->forceFull);
    EXPECT_FALSE(game->finalStageStarted);
}

TEST_F(PlayTest, FullRoutesStartAnExploreFinalStageOnce) {
    start(1, true);
    for (int i = 0; i < 4; ++i) fill(i);
    update(0.0f);
    EXPECT_EQ(lines(), "final stage\nJUST SET TIMER EXPLORE TO 112\nthis should be equal: 112\n");
    EXPECT_EQ(game->fullRouteCount, -1);
    EXPECT_EQ(game->breakMusic.getStatus(), sf::Music::Playing);
    EXPECT_NEAR(game->breakMusic.getVolume(), 60.0f, 1e-3);
    for (Route& r : game->routes) {
        EXPECT_TRUE(r.finalSignal && !r.fullSignal);
        r.finalSignal = false;
    }
    game->stageTime = 3.0f;
    update(0.0f);
    EXPECT_EQ(lines(), "");
    EXPECT_FLOAT_EQ(game->stageTime, 3.0f);
    EXPECT_FALSE(game->routes[0].finalSignal);
}

TEST_F(PlayTest, RouteZeroInPhaseSevenStartsTheScoredFinalStage) {
    start(0, false);
    game->volumeFactor = 0.5f;
    game->routes[0].phase = 7;
    update(0.0f);
    EXPECT_EQ(lines(),
              "starting final music!\nfinal stage\nJUST SET TIMER EXPLORE TO 137\n"
              "this should be equal: 137\n");
    EXPECT_TRUE(iface->counterVisible && iface->hintVisible && iface->hudSliding);
    EXPECT_NEAR(game->breakMusic.getVolume(), 30.0f, 1e-3);
    game->stageTime = 8.0f;
    game->startFinalStage();  // lines again, but neither music nor clock
    EXPECT_FLOAT_EQ(game->stageTime, 8.0f);
    update(0.0f);
    EXPECT_TRUE(iface->hintVisible);
    game->stageTime = 8.01f;
    update(0.0f);
    EXPECT_FALSE(iface->hintVisible);
    EXPECT_EQ(lines(), "final stage\nJUST SET TIMER EXPLORE TO 137\nthis should be equal: 137\n");
}

TEST_F(PlayTest, TheExploreTimeShowsAtMostOneTenthStepPerFrame) {
    start(1, true);
    update(0.25f);
    EXPECT_NEAR(game->tickAccumulator, 0.15f, 1e-6);
    update(0.25f);
    EXPECT_NEAR(game->tickAccumulator, 0.3f, 1e-6);
    EXPECT_EQ(headline(), "0.2s");
    start(1, false);
    update(0.25f);
    EXPECT_EQ(headline(), "0");
}

TEST_F(PlayTest, PauseResumeAndMute) {
    start(3, false);
    game->pauseDrone();
    EXPECT_EQ(game->drones[3].getStatus(), sf::Sound::Paused);
    game->paused = true;
    game->resumePlay();
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->drones[3].getStatus(), sf::Sound::Playing);
    game->finalStageStarted = true;
    game->resumePlay();
    EXPECT_EQ(game->breakMusic.getStatus(), sf::Music::Playing);

    for (int stage : {0, 3, 8}) {
        iface->muteStage = stage;
        applyMuteStage(*iface, *game);
        // The game's own sounds follow the master volume.
        EXPECT_EQ(game->volumeFactor, stage == 8 ? 1.0f : 0.0f) << stage;
    }
    EXPECT_EQ(lines(), "animmutestage0\nanimmutestage3\nanimmutestage8\n");
    EXPECT_EQ(iface->muteStage, 7);
    EXPECT_FLOAT_EQ(iface->volumeFactor, 1.0f);
    iface->muteStage = 4;
    applyMuteStage(*iface, *game);
    EXPECT_EQ(iface->muteStage, 4);
    EXPECT_FLOAT_EQ(iface->volumeFactor, 1.0f);
}

TEST_F(PlayTest, ModeZeroOpensTheFinalMusicOfSongFour) {
    std::remove("qo_audio/mirevo_qo4_waves/mirevo_qo4_break_scoring.ogg");
    EXPECT_FALSE(game->loadBreakMusic(songOfMode[0]));
    EXPECT_TRUE(game->loadBreakMusic(songOfMode[1]));
}
