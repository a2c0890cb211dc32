#include <cmath>

#include "play_fixture.h"

// A whole scored final stage of every song, on a scripted frame time.
TEST_F(PlayTest, ScoredFinalStageStopsLaunchesSevenSecondsBeforeItsEndThenShowsResults) {
    std::string log;
    for (int mode = 0; mode < 4; ++mode) {
        const int song = songOfMode[mode];
        const float length = songLength[song];
        start(mode, false);
        iface->pauseShown = false;
        for (Route& r : game->routes) r.phase = 7;
        update(0.0f);
        game->score = 42.5f;
        float phase8At = -1.0f, before = 0.0f;
        bool ended = false;
        for (int n = 0; n < 4000 && !ended; ++n) {
            before = game->stageTime;
            ended = stageStep(0.05f);
            if (phase8At < 0 && game->routes[1].phase == 8) phase8At = game->stageTime;
            EXPECT_EQ(ended, iface->Screen == Results);
        }
        EXPECT_GT(phase8At, length - 7.0f);
        EXPECT_LE(phase8At - 0.05f, length - 7.0f + 1e-4f);
        EXPECT_TRUE(ended && before <= length && game->stageTime > length) << mode;
        EXPECT_FALSE(game->finalStageStarted);
        EXPECT_EQ(game->breakMusic.getStatus(), sf::Music::Stopped);
        EXPECT_FLOAT_EQ(iface->bestScore[song], 42.0f);
        EXPECT_TRUE(iface->levelCompleted);
        EXPECT_EQ(iface->counterText.getString().toAnsiString(), "0");
        log += "Explore end. Score: 42.5\n";
    }
    EXPECT_EQ(folder.read("log.txt"), log);
}

TEST_F(PlayTest, ThePausePanelHoldsTheClockButNotTheEndChecks) {
    start(1, false);  // song 0, 112 s
    for (Route& r : game->routes) r.phase = 7;
    update(0.0f);
    iface->pauseShown = true;
    game->stageTime = 104.99f;
    EXPECT_FALSE(stageStep(1.0f));
    EXPECT_FLOAT_EQ(game->stageTime, 104.99f);
    EXPECT_FLOAT_EQ(game->exploreTimer, 112.0f);
    EXPECT_NE(game->routes[2].phase, 8);
    game->stageTime = 105.01f;
    stageStep(1.0f);
    EXPECT_EQ(game->routes[2].phase, 8);
    game->stageTime = 112.01f;
    EXPECT_TRUE(stageStep(1.0f));
}

// An explore final stage of song 1 (120 s) over two passes of its final music.
TEST_F(PlayTest, ExploreMusicRestartsOnTheSongLengthGridWithAOneSecondFadeIn) {
    start(3, true);
    for (int i = 0; i < 4; ++i) fill(i);
    update(0.0f);
    ASSERT_TRUE(game->finalStageStarted);
    int restarts = 0;
    bool leftAlone = false;
    while (game->stageTime < 245.0f) {
        const int loops = game->musicLoops;
        const float volumeBefore = game->breakMusic.getVolume();
        stageStep(0.05f);
        const float t = game->stageTime, rest = t - 120.0f * std::floor(t / 120.0f);
        const float volume = game->breakMusic.getVolume();
        if (game->musicLoops != loops) {
            EXPECT_EQ(game->musicLoops, ++restarts);
            EXPECT_TRUE(t > 120.0f * restarts && t - 0.05f <= 120.0f * restarts + 1e-3f);
            EXPECT_EQ(game->breakMusic.getStatus(), sf::Music::Playing);
        }
        if (t <= 120.0f || (rest > 1.0f && rest <= 1.5f)) {
            EXPECT_NEAR(volume, 60.0f, 1e-3) << t;
        } else if (rest <= 1.0f) {
            EXPECT_NEAR(volume, rest * 60.0f, 1e-2) << t;
        } else {
            EXPECT_NEAR(volume, volumeBefore, 1e-3) << t;
            if (!leftAlone && rest > 10.0f) game->breakMusic.setVolume(17.0f);
            leftAlone = leftAlone || rest > 10.0f;
        }
    }
    EXPECT_EQ(restarts, 2);
    EXPECT_TRUE(leftAlone && game->finalStageStarted);
    EXPECT_EQ(iface->counterText.getString().toAnsiString(),
              std::to_string(static_cast<int>(game->exploreTimer)));
    EXPECT_NE(game->routes[game->routeOrder[0]].rampA, 0);

    game->stageTime = 360.4f;  // a third pass, half a second in, muted
    game->volumeFactor = 0.0f;
    stageStep(0.1f);
    EXPECT_EQ(game->musicLoops, 3);
    EXPECT_FLOAT_EQ(game->breakMusic.getVolume(), 0.0f);
}

TEST_F(PlayTest, HalfASecondIntoTheSecondPassPlaysAtHalfVolume) {
    start(1, true);  // song 0, 112 s
    game->startFinalStage();
    game->stageTime = 112.4f;
    stageStep(0.1f);
    EXPECT_EQ(game->musicLoops, 1);
    EXPECT_NEAR(game->breakMusic.getVolume(), 30.0f, 1e-2);
}

TEST_F(PlayTest, AfterAFailedExploreTheClockRunsOnOnTheResultsScreen) {
    start(3, true);
    game->startFinalStage();
    game->stageTime = 20.0f;
    game->stopRequested = true;
    ASSERT_TRUE(endFailedExplore(*iface, *game));
    iface->pauseShown = false;
    stageStep(1.0f);
    EXPECT_FLOAT_EQ(game->stageTime, 21.0f);
    EXPECT_TRUE(game->finalStageStarted);
    for (const Route& r : game->routes) EXPECT_EQ(r.rampA, 0);  // no ramp off the explore screen
}
