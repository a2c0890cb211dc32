#include <cstdio>
#include <cstdlib>

#include "play_fixture.h"

namespace {

void shuffled(int order[4]) {
    for (int i = 0; i < 4; ++i) order[i] = i;
    for (int p = 1; p <= 3; ++p) std::swap(order[p], order[std::rand() % (p + 1)]);
}

// What initRoutes must draw after srand(seed), in its order.
struct Draws {
    int phases[4], variants[4], quotas[4], order[4];
    Draws(unsigned seed, int song) {
        static const int base[4] = {2, 1, 1, 1};
        static const int extra[4] = {4, 5, 3, 0};
        std::srand(seed);
        shuffled(phases);
        for (int& v : variants) v = std::rand() % 5 + 1;
        for (int& q : quotas) q = base[song];
        for (int k = 0; k < extra[song]; ++k) quotas[std::rand() % 4] += 1;
        shuffled(order);
    }
};

}  // namespace

TEST_F(PlayTest, InitRoutesDrawsPhasesVariantsQuotasAndOrderPerSong) {
    const int totals[4] = {12, 9, 7, 4};
    for (int mode = 0; mode < 4; ++mode) {
        const int song = songOfMode[mode];
        const Draws expected(1234u + mode, song);
        std::srand(1234u + mode);
        game->mode = mode;
        game->explorePlay = true;
        setupRouteLayout(nullptr, 2048.0f, 0.0f, mode);
        game->initRoutes();
        ASSERT_EQ(game->routes.size(), 4u);
        int total = 0;
        for (int i = 0; i < 4; ++i) {
            const Route& r = game->routes[i];
            EXPECT_EQ(r.index, i);
            EXPECT_EQ(r.phase, expected.phases[i]) << mode;
            EXPECT_EQ(r.exploreLayer, expected.variants[i]) << mode;
            EXPECT_EQ(r.exploreMode, 1);
            EXPECT_EQ(r.gaugeLevel, expected.quotas[i]) << mode;
            EXPECT_EQ(game->routeOrder[i], expected.order[i]) << mode;
            total += r.gaugeLevel;
        }
        EXPECT_EQ(total, totals[song]) << mode;
    }
}

TEST_F(PlayTest, AScoredPlayDrawsAlikeButKeepsTheExploreFields) {
    const Draws expected(99u, songOfMode[2]);
    std::srand(99u);
    game->mode = 2;
    game->explorePlay = false;
    setupRouteLayout(nullptr, 2048.0f, 0.0f, 2);
    game->initRoutes();
    for (int i = 0; i < 4; ++i) {
        const Route& r = game->routes[i];
        EXPECT_EQ(r.phase, expected.phases[i]);
        EXPECT_EQ(r.exploreLayer, -1);
        EXPECT_EQ(r.exploreMode, 0);
        EXPECT_EQ(r.gaugeLevel, 0);
        EXPECT_EQ(game->routeOrder[i], expected.order[i]);
    }
    EXPECT_EQ(iface->headlineText.getString().toAnsiString(), "0");
}

TEST_F(PlayTest, TwoStartsInARowLeaveFourRoutesAndAFreshPlay) {
    start(1, true);
    game->score = 5.0f;
    game->hitCount = 3;
    game->totalTime = 9.0f;
    game->musicLoops = 2;
    iface->counterVisible = true;
    lines();
    game->initRoutes();
    EXPECT_EQ(lines(), "init routes !\nclearing routes\ndone clearing routes\n");
    EXPECT_EQ(game->routes.size(), 4u);
    EXPECT_FLOAT_EQ(game->score, 0.0f);
    EXPECT_EQ(game->hitCount, 0);
    EXPECT_FLOAT_EQ(game->totalTime, 0.0f);
    EXPECT_EQ(game->musicLoops, 0);
    EXPECT_FALSE(iface->counterVisible);
    EXPECT_EQ(iface->headlineText.getString().toAnsiString(), "0.0s");
}

TEST_F(PlayTest, ClearingKeepsModeAndTimerAndEmptiesTheBoard) {
    start(2, false);
    game->exploreTimer = 33.0f;
    game->fullRouteCount = -1;
    game->finalStageStarted = true;
    game->tutorialPlay = true;
    game->clearRoutes();
    EXPECT_TRUE(game->routes.empty());
    EXPECT_EQ(game->fullRouteCount, 0);
    EXPECT_FALSE(game->finalStageStarted);
    EXPECT_FALSE(game->tutorialPlay);
    EXPECT_FALSE(game->dronePlaying);
    EXPECT_FLOAT_EQ(game->exploreTimer, 33.0f);
    EXPECT_EQ(game->mode, 2);
    lines();
    game->clearRoutes();
    EXPECT_EQ(lines(), "clearing routes\ndone clearing routes\n");
}

TEST_F(PlayTest, HitsAndMissesCountInRouteOrder) {
    start(1, false);
    holdRoutes();
    lines();
    game->routes[1].hitEvent = true;
    game->routes[2].hitEvent = true;
    game->routes[2].missEvent = true;
    game->routes[3].missEvent = true;
    game->update(0.0f);
    // The miss of route 2 shows the score raised by its own hit.
    EXPECT_EQ(lines(), "sc6\nsc12\nscerr12\nscerr12\n");
    EXPECT_EQ(game->hitCount, 2);
    EXPECT_EQ(game->missCount, 2);
    EXPECT_EQ(iface->headlineText.getString().toAnsiString(), "12");
    for (const Route& r : game->routes) {
        EXPECT_FALSE(r.hitEvent);
        EXPECT_FALSE(r.missEvent);
    }
    game->routes[0].hitEvent = true;
    game->update(0.0f);
    EXPECT_NEAR(game->score, 12.0 + 1.0 + 5.0 * 3 / 5, 1e-5);
    EXPECT_EQ(lines(), "sc16\n");
}

TEST_F(PlayTest, AnExplorePlayCountsNothingAndStopsOnAFailure) {
    start(3, true);
    holdRoutes();
    game->routes[0].hitEvent = true;
    game->routes[1].missEvent = true;
    game->update(0.0f);
    EXPECT_FLOAT_EQ(game->score, 0.0f);
    EXPECT_EQ(game->missCount, 0);
    EXPECT_TRUE(game->routes[0].hitEvent);
    EXPECT_TRUE(game->routes[1].missEvent);
    EXPECT_FALSE(game->stopRequested);
    EXPECT_FALSE(game->endFailedExplore());

    game->breakMusic.play();
    game->routes[2].stopEvent = true;
    game->totalTime = 42.25f;
    game->update(0.5f);
    EXPECT_TRUE(game->stopRequested);
    EXPECT_EQ(game->breakMusic.getStatus(), sf::Music::Stopped);

    EXPECT_TRUE(game->endFailedExplore());
    EXPECT_EQ(iface->Screen, Results);
    EXPECT_FALSE(game->stopRequested);
    EXPECT_FLOAT_EQ(iface->bestExploreTime[1], 42.75f);
    EXPECT_EQ(iface->resultText.getString().toAnsiString(), "Time: 42.7s");
    EXPECT_FALSE(game->endFailedExplore());
}

TEST_F(PlayTest, TheFirstGrabHandsOverFromTheDroneAndUnlocksExploring) {
    start(0, false);
    holdRoutes();
    ASSERT_TRUE(game->dronePlaying);
    ASSERT_EQ(game->drones[0].getStatus(), sf::Sound::Playing);
    iface->menuTextSprites[3].setColor(sf::Color(90, 90, 90, 255));
    game->update(0.0f);
    EXPECT_FALSE(game->routes[0].grabStarted);
    lines();

    game->routes[2].firstGrabEvent = true;
    game->routes[3].firstGrabEvent = true;
    game->update(0.0f);
    EXPECT_EQ(lines(), "first grab !\n");
    EXPECT_FALSE(game->dronePlaying);
    EXPECT_EQ(game->drones[0].getStatus(), sf::Sound::Stopped);
    EXPECT_FLOAT_EQ(game->drones[0].getVolume(), 0.0f);
    EXPECT_FALSE(iface->exploreLocked);
    EXPECT_EQ(iface->menuTextSprites[3].getColor(), sf::Color(255, 255, 255, 255));
    for (const Route& r : game->routes) EXPECT_TRUE(r.grabStarted);
}

TEST_F(PlayTest, TheDroneReturnsWhenEveryRouteFellSilent) {
    start(2, false);
    holdRoutes();
    game->stopDrones();
    for (Route& r : game->routes) {
        r.musicRunning = true;
        r.currentLayer = 1;
        r.nextLayer = 2;
    }
    game->routes[3].fillCount = 1;
    game->update(0.0f);
    EXPECT_EQ(game->idleRouteCount, 3);
    EXPECT_FALSE(game->dronePlaying);

    game->routes[3].fillCount = 0;
    game->update(0.0f);
    EXPECT_EQ(game->idleRouteCount, 4);
    EXPECT_TRUE(game->dronePlaying);
    EXPECT_EQ(game->droneIndex, 2);
    EXPECT_EQ(game->drones[2].getStatus(), sf::Sound::Playing);
    for (const Route& r : game->routes) {
        EXPECT_FALSE(r.musicRunning);
        EXPECT_EQ(r.currentLayer, -1);
        EXPECT_EQ(r.nextLayer, -1);
    }
}

TEST_F(PlayTest, FourFullRoutesSignalEveryFrameOfAScoredPlay) {
    start(1, false);
    holdRoutes();
    for (int i = 0; i < 3; ++i) fill(game->routes[i]);
    game->update(0.0f);
    EXPECT_EQ(game->fullRouteCount, 3);
    for (const Route& r : game->routes) EXPECT_FALSE(r.fullSignal);

    fill(game->routes[3]);
    game->update(0.0f);
    EXPECT_EQ(game->fullRouteCount, 4);
    for (Route& r : game->routes) {
        EXPECT_TRUE(r.fullSignal);
        EXPECT_FALSE(r.finalSignal);
        r.fullSignal = false;
    }
    game->update(0.0f);
    for (const Route& r : game->routes) EXPECT_TRUE(r.fullSignal);
    EXPECT_FALSE(game->finalStageStarted);
}

TEST_F(PlayTest, FourFullRoutesStartTheFinalStageOfAnExplorePlayOnce) {
    start(1, true);
    holdRoutes();
    for (Route& r : game->routes) fill(r);
    lines();
    game->update(0.0f);
    EXPECT_EQ(lines(), "final stage\nJUST SET TIMER EXPLORE TO 112\nthis should be equal: 112\n");
    EXPECT_TRUE(game->finalStageStarted);
    EXPECT_EQ(game->fullRouteCount, -1);
    EXPECT_FLOAT_EQ(game->exploreTimer, 112.0f);
    EXPECT_EQ(game->breakMusic.getStatus(), sf::Music::Playing);
    EXPECT_NEAR(game->breakMusic.getVolume(), 60.0f, 1e-3);
    for (Route& r : game->routes) {
        EXPECT_TRUE(r.finalSignal);
        EXPECT_FALSE(r.fullSignal);
        r.finalSignal = false;
    }
    game->stageTime = 3.0f;
    game->update(0.0f);
    EXPECT_EQ(lines(), "");
    EXPECT_EQ(game->fullRouteCount, -1);
    EXPECT_FLOAT_EQ(game->stageTime, 3.0f);
    for (const Route& r : game->routes) EXPECT_FALSE(r.finalSignal);
}

TEST_F(PlayTest, RouteZeroInPhaseSevenStartsTheFinalMusicOfAScoredPlay) {
    start(0, false);
    holdRoutes();
    iface->volumeFactor = 0.5f;
    game->routes[0].phase = 7;
    lines();
    game->update(0.0f);
    EXPECT_EQ(lines(),
              "starting final music!\nfinal stage\nJUST SET TIMER EXPLORE TO 137\n"
              "this should be equal: 137\n");
    EXPECT_TRUE(iface->counterVisible);
    EXPECT_TRUE(iface->hintVisible);
    EXPECT_TRUE(iface->hudSliding);
    EXPECT_TRUE(game->finalStageStarted);
    EXPECT_NEAR(game->breakMusic.getVolume(), 30.0f, 1e-3);

    // A later call repeats the lines but neither the music nor the clock.
    game->stageTime = 8.0f;
    game->startFinalStage();
    EXPECT_FLOAT_EQ(game->stageTime, 8.0f);
    game->update(0.0f);
    EXPECT_TRUE(iface->hintVisible);
    game->stageTime = 8.01f;
    game->update(0.0f);
    EXPECT_FALSE(iface->hintVisible);
    EXPECT_EQ(lines(), "final stage\nJUST SET TIMER EXPLORE TO 137\nthis should be equal: 137\n");
}

TEST_F(PlayTest, ForceFullSignalsOnceAndIsConsumed) {
    start(1, false);
    holdRoutes();
    game->forceFull = true;
    game->update(0.0f);
    EXPECT_FALSE(game->forceFull);
    for (Route& r : game->routes) {
        EXPECT_TRUE(r.fullSignal);
        r.fullSignal = false;
    }
    game->update(0.0f);
    for (const Route& r : game->routes) EXPECT_FALSE(r.fullSignal);
}

TEST_F(PlayTest, TheExploreTimeShowsAtMostOneTenthStepPerFrame) {
    start(1, true);
    holdRoutes();
    game->update(0.25f);
    EXPECT_NEAR(game->tickAccumulator, 0.15f, 1e-6);
    EXPECT_EQ(iface->headlineText.getString().toAnsiString(), "0.0s");
    game->update(0.25f);
    EXPECT_NEAR(game->tickAccumulator, 0.3f, 1e-6);
    EXPECT_EQ(iface->headlineText.getString().toAnsiString(), "0.2s");
    game->update(0.05f);
    EXPECT_NEAR(game->tickAccumulator, 0.25f, 1e-6);
    EXPECT_EQ(iface->headlineText.getString().toAnsiString(), "0.5s");
    EXPECT_FLOAT_EQ(game->totalTime, 0.55f);
}

TEST_F(PlayTest, AScoredPlayLeavesTheExploreClockAlone) {
    start(1, false);
    holdRoutes();
    game->update(0.25f);
    EXPECT_FLOAT_EQ(game->tickAccumulator, 0.0f);
    EXPECT_EQ(iface->headlineText.getString().toAnsiString(), "0");
}

TEST_F(PlayTest, OneDroneAtATime) {
    start(1, false);
    EXPECT_EQ(game->droneIndex, 1);
    EXPECT_FLOAT_EQ(game->drones[1].getVolume(), 100.0f);
    EXPECT_TRUE(game->drones[1].getLoop());
    game->mode = 2;
    game->startDrone();
    EXPECT_EQ(game->droneIndex, 1);
    EXPECT_EQ(game->drones[2].getStatus(), sf::Sound::Stopped);

    game->pauseDrone();
    EXPECT_EQ(game->drones[1].getStatus(), sf::Sound::Paused);
    game->paused = true;
    game->resumePlay();
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->drones[1].getStatus(), sf::Sound::Playing);

    game->stopDrones();
    EXPECT_FALSE(game->dronePlaying);
    for (const sf::Sound& d : game->drones) {
        EXPECT_EQ(d.getStatus(), sf::Sound::Stopped);
        EXPECT_FLOAT_EQ(d.getVolume(), 0.0f);
    }
    game->resumeDrone();  // nothing to resume
    EXPECT_EQ(game->drones[1].getStatus(), sf::Sound::Stopped);
}

TEST_F(PlayTest, ResumingTheFinalStagePlaysTheFinalMusic) {
    start(3, false);
    game->finalStageStarted = true;
    game->paused = true;
    game->resumePlay();
    EXPECT_EQ(game->breakMusic.getStatus(), sf::Music::Playing);
    EXPECT_FALSE(game->paused);
}

TEST_F(PlayTest, TheMuteButtonActsOnlyAtRest) {
    iface->muteStage = 0;
    game->applyMuteStage();
    EXPECT_FLOAT_EQ(iface->volumeFactor, 0.0f);
    EXPECT_EQ(iface->muteStage, 1);
    EXPECT_EQ(lines(), "animmutestage0\n");
    for (int stage = 1; stage <= 7; ++stage) {
        iface->muteStage = stage;
        game->applyMuteStage();
        EXPECT_EQ(iface->muteStage, stage);
        EXPECT_FLOAT_EQ(iface->volumeFactor, 0.0f);
    }
    EXPECT_EQ(lines().substr(0, 15), "animmutestage1\n");
    iface->muteStage = 8;
    game->applyMuteStage();
    EXPECT_FLOAT_EQ(iface->volumeFactor, 1.0f);
    EXPECT_EQ(iface->muteStage, 7);
}

TEST_F(PlayTest, TheFinalMusicOfModeZeroIsSongFour) {
    std::remove(testsounds::breakMusicFile(3).c_str());
    EXPECT_FALSE(game->loadBreakMusic(songOfMode[0]));
    EXPECT_TRUE(game->loadBreakMusic(songOfMode[1]));
    ASSERT_TRUE(
        testsounds::writeTone("qo_audio/mirevo_qo4_waves/mirevo_qo4_break_scoring.ogg", 4410));
    EXPECT_TRUE(game->loadBreakMusic(songOfMode[0]));
    EXPECT_NEAR(game->breakMusic.getDuration().asSeconds(), 0.2f, 1e-3);
}
