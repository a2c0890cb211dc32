#include <cmath>

#include "play_fixture.h"

namespace {
const float frame = 0.05f;
}

// A whole scored play's final stage of every song, on a scripted frame time.
TEST_F(PlayTest, AScoredFinalStageStopsLaunchesSevenSecondsBeforeItsEndThenShowsResults) {
    for (int mode = 0; mode < 4; ++mode) {
        const int song = songOfMode[mode];
        const float length = songLength[song];
        start(mode, false);
        iface->pauseShown = false;
        game->routes[0].phase = 7;
        game->update(0.0f);
        ASSERT_TRUE(game->finalStageStarted);
        game->score = 42.5f;

        float phase8At = -1.0f, endAt = -1.0f, before = 0.0f;
        for (int n = 0; n < 4000 && endAt < 0; ++n) {
            before = game->stageTime;
            const bool ended = game->finalStageStep(frame);
            if (phase8At < 0 && game->routes[1].phase == 8) {
                phase8At = game->stageTime;
                EXPECT_LE(before, length - 7.0f) << mode;
                for (const Route& r : game->routes) EXPECT_EQ(r.phase, 8);
            }
            if (ended) endAt = game->stageTime;
            EXPECT_EQ(ended, iface->Screen == Results) << mode;
        }
        EXPECT_GT(phase8At, length - 7.0f) << mode;
        EXPECT_GT(endAt, length) << mode;
        EXPECT_LE(before, length) << mode;
        EXPECT_FALSE(game->finalStageStarted);
        EXPECT_EQ(game->breakMusic.getStatus(), sf::Music::Stopped);
        EXPECT_FLOAT_EQ(iface->bestScore[song], 42.0f);
        EXPECT_FLOAT_EQ(iface->bestCompletion[song], 1.0f);
        EXPECT_TRUE(iface->levelCompleted);
        EXPECT_EQ(iface->counterText.getString().toAnsiString(),
                  std::to_string(static_cast<int>(game->exploreTimer)));
        EXPECT_EQ(iface->counterText.getString().toAnsiString(), "0");
        game->clearRoutes();
    }
    std::string expected;
    for (int mode = 0; mode < 4; ++mode) expected += "Explore end. Score: 42.5\n";
    EXPECT_EQ(folder.read("log.txt"), expected);
}

TEST_F(PlayTest, ThePausePanelStopsTheClockButNotTheEndChecks) {
    start(1, false);  // song 0, 112 s
    game->routes[0].phase = 7;
    game->update(0.0f);
    game->stageTime = 104.99f;
    game->exploreTimer = 7.01f;
    iface->pauseShown = true;
    EXPECT_FALSE(game->finalStageStep(1.0f));
    EXPECT_FLOAT_EQ(game->stageTime, 104.99f);
    EXPECT_FLOAT_EQ(game->exploreTimer, 7.01f);
    EXPECT_NE(game->routes[2].phase, 8);

    game->stageTime = 105.01f;  // moved on elsewhere: the paused frame still reacts
    EXPECT_FALSE(game->finalStageStep(1.0f));
    for (const Route& r : game->routes) EXPECT_EQ(r.phase, 8);
    game->stageTime = 112.01f;
    EXPECT_TRUE(game->finalStageStep(1.0f));
    EXPECT_EQ(iface->Screen, Results);
    EXPECT_FLOAT_EQ(game->stageTime, 112.01f);
}

TEST_F(PlayTest, ExploreMusicRestartsOnTheSongLengthGridWithAOneSecondFadeIn) {
    start(3, true);  // song 1, 120 s
    for (Route& r : game->routes) fill(r);
    game->update(0.0f);
    ASSERT_TRUE(game->finalStageStarted);
    ASSERT_NEAR(game->breakMusic.getVolume(), 60.0f, 1e-3);

    int restarts = 0;
    bool leftAlone = false;
    while (game->stageTime < 245.0f) {
        const int loopsBefore = game->musicLoops;
        const float volumeBefore = game->breakMusic.getVolume();
        game->finalStageStep(frame);
        const float t = game->stageTime;
        if (game->musicLoops != loopsBefore) {
            restarts += 1;
            EXPECT_EQ(game->musicLoops, restarts);
            EXPECT_GT(t, 120.0f * restarts);
            EXPECT_LE(t - frame, 120.0f * restarts + 1e-3f);
            EXPECT_EQ(game->breakMusic.getStatus(), sf::Music::Playing);
        }
        const float rest = t > 120.0f ? t - 120.0f * std::floor(t / 120.0f) : -1.0f;
        if (t <= 120.0f) {
            EXPECT_NEAR(game->breakMusic.getVolume(), 60.0f, 1e-3) << t;
        } else if (rest <= 1.0f) {
            EXPECT_NEAR(game->breakMusic.getVolume(), rest * 60.0f, 1e-2) << t;
        } else if (rest <= 1.5f) {
            EXPECT_NEAR(game->breakMusic.getVolume(), 60.0f, 1e-3) << t;
        } else {
            EXPECT_NEAR(game->breakMusic.getVolume(), volumeBefore, 1e-3) << t;
            if (!leftAlone && rest > 10.0f) {
                game->breakMusic.setVolume(17.0f);  // nothing sets it again until the next pass
                leftAlone = true;
            }
        }
    }
    EXPECT_EQ(restarts, 2);
    EXPECT_TRUE(leftAlone);
    EXPECT_EQ(iface->Screen, Exploring);
    EXPECT_TRUE(game->finalStageStarted);
    EXPECT_EQ(iface->counterText.getString().toAnsiString(),
              std::to_string(static_cast<int>(game->exploreTimer)));
    EXPECT_LT(game->exploreTimer, -120.0f);
}

TEST_F(PlayTest, HalfASecondIntoTheSecondPassPlaysAtHalfVolume) {
    start(1, true);  // song 0, 112 s
    game->startFinalStage();
    game->stageTime = 112.4f;
    game->finalStageStep(0.1f);
    EXPECT_EQ(game->musicLoops, 1);
    EXPECT_NEAR(game->breakMusic.getVolume(), 30.0f, 1e-2);
    iface->volumeFactor = 0.0f;
    game->finalStageStep(0.1f);
    EXPECT_EQ(game->musicLoops, 1);
    EXPECT_FLOAT_EQ(game->breakMusic.getVolume(), 0.0f);
}

TEST_F(PlayTest, TheExploreRampFollowsTheFinalStageClock) {
    start(1, true);  // song 0: rampB
    game->startFinalStage();
    game->stageTime = 29.99f;
    game->finalStageStep(0.02f);
    EXPECT_EQ(game->routes[game->routeOrder[0]].rampB, 3);
    EXPECT_EQ(game->routes[game->routeOrder[3]].rampB, 0);
    iface->pauseShown = true;
    game->stageTime = 45.0f;
    game->finalStageStep(0.02f);
    EXPECT_EQ(game->routes[game->routeOrder[0]].rampB, 3);
}

TEST_F(PlayTest, AfterAFailedExploreTheClockRunsOnOnTheResultsScreen) {
    start(3, true);
    game->startFinalStage();
    game->stageTime = 20.0f;
    game->stopRequested = true;
    ASSERT_TRUE(game->endFailedExplore());
    iface->pauseShown = false;
    const int loops = game->musicLoops;
    game->finalStageStep(1.0f);
    EXPECT_FLOAT_EQ(game->stageTime, 21.0f);
    EXPECT_TRUE(game->finalStageStarted);
    EXPECT_EQ(game->musicLoops, loops);
    for (const Route& r : game->routes) EXPECT_EQ(r.rampA, 0);  // no ramp off the explore screen
}
