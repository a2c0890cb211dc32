#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <sstream>

#include "board/route.h"
#include "game/game.h"

namespace {

// A Game with four bare routes of `mode`, no interface needed for the checks.
class Checks : public ::testing::Test {
protected:
    Game game{nullptr, nullptr};
    std::ostringstream out;
    std::streambuf* oldOut = nullptr;

    void SetUp() override { oldOut = std::cout.rdbuf(out.rdbuf()); }
    void TearDown() override { std::cout.rdbuf(oldOut); }

    void build(int mode) {
        setupRouteLayout(nullptr, 2048.0f, 0.0f, mode);
        game.mode = mode;
        game.routes.clear();
        for (int i = 0; i < 4; ++i) game.routes.emplace_back(i, 1.0f);
    }
    // Hits and misses per route, every route in phase 4, route `asking` requests a check.
    void counts(const int hm[4][2], int asking = 1) {
        for (int i = 0; i < 4; ++i) {
            game.routes[i].hits = hm[i][0];
            game.routes[i].misses = hm[i][1];
            game.routes[i].phase = 4;
            game.routes[i].specialCheck = i == asking ? 1 : 0;
        }
    }
    void expectAllChecked() {
        for (const Route& r : game.routes) EXPECT_EQ(r.specialCheck, 2);
    }
};

}  // namespace

TEST(Score, SixPerHitWithoutMissesThenLess) {
    Game game(nullptr, nullptr);
    game.addHit();
    game.addHit();
    EXPECT_FLOAT_EQ(game.score, 12.0f);
    EXPECT_EQ(game.hitCount, 2);

    Game other(nullptr, nullptr);
    other.missCount = 1;
    other.addHit();
    EXPECT_FLOAT_EQ(other.score, 3.5f);
    other.addHit();  // 2 hits, 1 miss: 1 + 10/3
    EXPECT_NEAR(other.score, 3.5 + 1.0 + 10.0 / 3.0, 1e-5);
}

TEST_F(Checks, NothingHappensWithoutARequest) {
    build(1);
    const int hm[4][2] = {{0, 3}, {5, 0}, {4, 1}, {3, 2}};
    counts(hm, -1);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(game.routeHits[1], 0);
    for (const Route& r : game.routes) EXPECT_EQ(r.specialCheck, 0);
}

TEST_F(Checks, ThreeOfFiveIsGoodSoTheNullRouteIsSpotted) {
    build(1);
    const int hm[4][2] = {{0, 3}, {5, 0}, {4, 1}, {3, 2}};
    counts(hm, 3);
    game.routes[2].phase = 7;  // not in phase 4: kept
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check !\nallbig\nnull spotted! 0\n");
    EXPECT_EQ(game.routes[0].phase, 5);
    EXPECT_FLOAT_EQ(game.routes[0].glideTarget, 5.0f);
    EXPECT_EQ(game.routes[1].phase, 6);
    EXPECT_FLOAT_EQ(game.routes[1].glideTarget, 60.0f);
    EXPECT_EQ(game.routes[2].phase, 7);
    EXPECT_FALSE(game.routes[2].volumeGlide);
    EXPECT_EQ(game.routes[3].phase, 6);
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(game.routes[i].specialLaunches, 10);
        EXPECT_TRUE(game.routes[i].volumeGlide);
        EXPECT_FLOAT_EQ(game.routes[i].glideStep, 1.0f);
    }
    EXPECT_EQ(game.routeHits[3], 3);
    EXPECT_EQ(game.routeMisses[0], 3);
    expectAllChecked();
}

TEST_F(Checks, NinetyNinePercentIsNeitherGoodNorPerfect) {
    build(1);
    const int hm[4][2] = {{0, 3}, {5, 0}, {4, 1}, {99, 1}};
    counts(hm);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check !\nallbig\n");
    for (const Route& r : game.routes) EXPECT_EQ(r.phase, 4);
    expectAllChecked();
}

TEST_F(Checks, OnePerfectAmongPoorAndNullRoutes) {
    build(0);
    const int hm[4][2] = {{6, 0}, {1, 4}, {0, 2}, {1, 5}};
    counts(hm, 2);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check !\nallbig\nperfect spotted! 0\n");
    EXPECT_EQ(game.routes[0].phase, 6);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(game.routes[i].phase, 5);
    expectAllChecked();
}

TEST_F(Checks, TooFewEventsOnAnyRouteEndTheCheckAtOnce) {
    build(3);
    const int hm[4][2] = {{6, 0}, {1, 4}, {0, 1}, {1, 5}};
    counts(hm, 1);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check !\n");
    EXPECT_EQ(game.routeHits[3], 1);  // the copies are still taken
    for (const Route& r : game.routes) EXPECT_EQ(r.phase, 4);
    expectAllChecked();
}

TEST_F(Checks, SongTwoGrantsRouteZeroItsSpecialAboveNinetyNinePercent) {
    build(2);
    const int hm[4][2] = {{99, 1}, {0, 0}, {0, 0}, {0, 0}};
    counts(hm, 0);
    game.routes[0].layerCount = 5;
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check level 2\ncounting\nenough!\npercentage ok => SPECIAL\n");
    EXPECT_EQ(game.routes[0].specialKind, 2);
    EXPECT_EQ(game.routeHits[0], 99);
    expectAllChecked();

    counts(hm, 0);
    game.routes[0].specialKind = 0;
    game.routes[0].layerCount = 4;
    game.checkSpecials();
    EXPECT_EQ(game.routes[0].specialKind, 1);

    counts(hm, 0);  // a special already waiting is kept
    game.checkSpecials();
    EXPECT_EQ(game.routes[0].specialKind, 1);
}

TEST_F(Checks, SongTwoFallsBackToTheGeneralCheck) {
    build(2);
    const int few[4][2] = {{2, 0}, {3, 0}, {3, 0}, {3, 0}};
    counts(few, 0);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check level 2\ncounting\nspecial check !\nallbig\n");
    EXPECT_EQ(game.routes[0].specialKind, 0);

    out.str("");
    const int low[4][2] = {{98, 2}, {3, 0}, {3, 0}, {3, 0}};
    counts(low, 0);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check level 2\ncounting\nenough!\nspecial check !\nallbig\n");
    EXPECT_EQ(game.routes[0].specialKind, 0);
    expectAllChecked();
}

TEST_F(Checks, OtherSongsSkipTheSongTwoCheck) {
    build(0);  // song 3
    const int hm[4][2] = {{99, 1}, {3, 0}, {3, 0}, {3, 0}};
    counts(hm, 0);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check !\nallbig\n");
    EXPECT_EQ(game.routes[0].specialKind, 0);
}

// The ramp, with a route order that is not its own inverse: R(j) = route order[j].
class Ramp : public Checks {
protected:
    void start(int mode, float stageTime) {
        build(mode);
        game.routeOrder = {2, 0, 3, 1};
        game.stageTime = stageTime;
        game.raiseDifficulty();
    }
    static float speed(int m) { return static_cast<float>(1.0 + 0.3 * std::sqrt(m)); }
};

TEST_F(Ramp, SongZeroRaisesRampBOneRouteEveryTenSeconds) {
    start(1, 9.9f);
    for (const Route& r : game.routes) EXPECT_EQ(r.rampB, 0);
    start(1, 35.0f);
    EXPECT_EQ(game.routes[2].rampB, 3);
    EXPECT_EQ(game.routes[0].rampB, 2);
    EXPECT_EQ(game.routes[3].rampB, 1);
    EXPECT_EQ(game.routes[1].rampB, 0);
    start(1, 200.0f);
    for (const Route& r : game.routes) EXPECT_EQ(r.rampB, 8);
    EXPECT_EQ(out.str(), "");
}

TEST_F(Ramp, SongOneRaisesRampAAndSaysSoEveryFrame) {
    start(3, 25.0f);
    EXPECT_EQ(game.routes[2].rampA, 2);
    EXPECT_EQ(game.routes[0].rampA, 1);
    EXPECT_EQ(game.routes[3].rampA, 0);
    EXPECT_EQ(out.str(), "here ! diff 1 2\nhere ! diff 1 1\n");
    game.raiseDifficulty();
    EXPECT_EQ(out.str(), "here ! diff 1 2\nhere ! diff 1 1\nhere ! diff 1 2\nhere ! diff 1 1\n");
    start(3, 100.0f);
    EXPECT_EQ(game.routes[1].rampA, 6);
}

TEST_F(Ramp, SongTwoSpeedsRoutesUp) {
    start(2, 45.0f);
    EXPECT_FLOAT_EQ(game.routes[2].speedFactor, speed(4));
    EXPECT_FLOAT_EQ(game.routes[0].speedFactor, speed(3));
    EXPECT_FLOAT_EQ(game.routes[3].speedFactor, speed(2));
    EXPECT_FLOAT_EQ(game.routes[1].speedFactor, speed(1));
    EXPECT_FLOAT_EQ(speed(4), 1.6f);
    EXPECT_EQ(out.str(), "here ! diff 2 4\nhere ! diff 2 3\nhere ! diff 2 2\nhere ! diff 2 1\n");
}

TEST_F(Ramp, SongThreeReachesItsRoutesThroughTheOrderTwiceAndThrice) {
    // o = {2, 0, 3, 1}: o(o(i)) = {3, 2, 1, 0}, o(o(o(i))) = {1, 3, 0, 2}.
    start(0, 45.0f);  // n = 4
    EXPECT_EQ(game.routes[3].rampA, 4);
    EXPECT_EQ(game.routes[2].rampA, 3);
    EXPECT_EQ(game.routes[1].rampA, 2);
    EXPECT_EQ(game.routes[0].rampA, 1);
    EXPECT_FLOAT_EQ(game.routes[1].speedFactor, speed(1));
    EXPECT_FLOAT_EQ(game.routes[3].speedFactor, 1.0f);
    for (const Route& r : game.routes) EXPECT_EQ(r.rampB, 0);

    start(0, 130.0f);  // n = 13
    for (const Route& r : game.routes) EXPECT_EQ(r.rampA, 6);
    EXPECT_FLOAT_EQ(game.routes[1].speedFactor, speed(10));
    EXPECT_FLOAT_EQ(game.routes[3].speedFactor, speed(9));
    EXPECT_FLOAT_EQ(game.routes[0].speedFactor, speed(8));
    EXPECT_FLOAT_EQ(game.routes[2].speedFactor, speed(7));
    EXPECT_EQ(game.routes[2].rampB, 4);
    EXPECT_EQ(game.routes[0].rampB, 3);
    EXPECT_EQ(game.routes[3].rampB, 2);
    EXPECT_EQ(game.routes[1].rampB, 1);
    EXPECT_EQ(out.str(), "");
}
