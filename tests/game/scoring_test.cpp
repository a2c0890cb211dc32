#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <sstream>

#include "board/route.h"
#include "game/game.h"

namespace {

// A Game with four bare routes of a mode; the checks need no interface.
class Checks : public ::testing::Test {
protected:
    Game game;
    std::ostringstream out;
    std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
    ~Checks() override { std::cout.rdbuf(oldOut); }

    // Hits and misses per route, all in phase 4; route `asking` requests the check.
    void check(int mode, const int hm[4][2], int asking = 1) {
        setupRouteLayout(nullptr, 2048.0f, 0.0f, mode);
        game.mode = mode;
        game.routes.clear();
        for (int i = 0; i < 4; ++i) {
            game.routes.emplace_back(i, 1.0f);
            game.routes[i].hits = hm[i][0];
            game.routes[i].misses = hm[i][1];
            game.routes[i].phase = 4;
            game.routes[i].specialCheck = i == asking ? 1 : 0;
        }
    }
    std::string phases() const {
        std::string s;
        for (const Route& r : game.routes) s += std::to_string(r.phase);
        return s;
    }
    bool allChecked() const {
        for (const Route& r : game.routes) {
            if (r.specialCheck != 2) return false;
        }
        return true;
    }
    // The difficulty ramp at a stage time, with R(j) = route {2, 0, 3, 1}[j].
    void ramp(int mode, float stageTime) {
        const int none[4][2] = {};
        check(mode, none, -1);
        game.routeOrder = {2, 0, 3, 1};
        game.stageTime = stageTime;
        game.raiseDifficulty();
    }
    int rampA(int route) const { return game.routes[route].rampA; }
    int rampB(int route) const { return game.routes[route].rampB; }
    float speed(int route) const { return game.routes[route].speedFactor; }
};

}  // namespace

TEST(Score, SixPerHitWithoutMissesThenLess) {
    Game game;
    game.addHit();
    game.addHit();
    EXPECT_FLOAT_EQ(game.score, 12.0f);
    game.hitCount = 0;
    game.missCount = 1;
    game.score = 0.0f;
    game.addHit();
    EXPECT_FLOAT_EQ(game.score, 3.5f);
}

TEST_F(Checks, ThreeOfFiveIsGoodSoTheNullRouteIsSpotted) {
    const int hm[4][2] = {{0, 3}, {5, 0}, {4, 1}, {3, 2}};
    check(1, hm, 3);
    game.routes[2].phase = 7;  // only routes in phase 4 turn special
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check !\nallbig\nnull spotted! 0\n");
    EXPECT_EQ(phases(), "5676");
    EXPECT_FLOAT_EQ(game.routes[0].glideTarget, 5.0f);
    EXPECT_FLOAT_EQ(game.routes[3].glideTarget, 60.0f);
    EXPECT_EQ(game.routes[3].specialLaunches, 10);
    EXPECT_TRUE(game.routes[1].volumeGlide && !game.routes[2].volumeGlide);
    EXPECT_EQ(game.routeMisses[0], 3);
    EXPECT_TRUE(allChecked());
}

TEST_F(Checks, OnePerfectAmongPoorAndNullRoutes) {
    const int hm[4][2] = {{6, 0}, {1, 4}, {0, 2}, {1, 5}};
    check(0, hm, 2);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check !\nallbig\nperfect spotted! 0\n");
    EXPECT_EQ(phases(), "6555");
}

TEST_F(Checks, NinetyNinePercentCountsAsNeitherGoodNorPerfect) {
    const int hm[4][2] = {{0, 3}, {5, 0}, {4, 1}, {99, 1}};
    check(1, hm);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check !\nallbig\n");
    EXPECT_EQ(phases(), "4444");
    EXPECT_TRUE(allChecked());
}

TEST_F(Checks, NoRequestNoCheckAndTooFewEventsEndIt) {
    const int hm[4][2] = {{6, 0}, {1, 4}, {0, 1}, {1, 5}};
    check(3, hm, -1);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(game.routeHits[0], 0);

    check(3, hm, 1);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check !\n");
    EXPECT_EQ(game.routeHits[3], 1);
    EXPECT_EQ(phases(), "4444");
    EXPECT_TRUE(allChecked());
}

TEST_F(Checks, SongTwoGivesRouteZeroItsSpecialAboveNinetyNinePercent) {
    const int hm[4][2] = {{99, 1}, {0, 0}, {0, 0}, {0, 0}};
    check(2, hm, 0);
    game.routes[0].layerCount = 5;
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check level 2\ncounting\nenough!\npercentage ok => SPECIAL\n");
    EXPECT_EQ(game.routes[0].specialKind, 2);
    EXPECT_TRUE(allChecked());

    check(2, hm, 0);
    game.routes[0].layerCount = 4;
    game.checkSpecials();
    EXPECT_EQ(game.routes[0].specialKind, 1);
    check(0, hm, 0);  // song 3 has no such special
    game.checkSpecials();
    EXPECT_EQ(game.routes[0].specialKind, 0);
}

TEST_F(Checks, SongTwoFallsBackToTheGeneralCheck) {
    const int few[4][2] = {{2, 0}, {3, 0}, {3, 0}, {3, 0}};
    check(2, few, 0);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check level 2\ncounting\nspecial check !\nallbig\n");
    out.str("");
    const int low[4][2] = {{98, 2}, {3, 0}, {3, 0}, {3, 0}};
    check(2, low, 0);
    game.checkSpecials();
    EXPECT_EQ(out.str(), "special check level 2\ncounting\nenough!\nspecial check !\nallbig\n");
    EXPECT_EQ(game.routes[0].specialKind, 0);
}

TEST_F(Checks, RampOfSongZeroRaisesRampB) {
    ramp(1, 9.9f);
    EXPECT_EQ(rampB(2), 0);
    ramp(1, 35.0f);
    EXPECT_EQ(rampB(2) * 1000 + rampB(0) * 100 + rampB(3) * 10 + rampB(1), 3210);
    ramp(1, 200.0f);
    EXPECT_EQ(rampB(1), 8);
    EXPECT_EQ(out.str(), "");
}

TEST_F(Checks, RampOfSongOneRaisesRampAAndSaysSoEveryFrame) {
    ramp(3, 25.0f);
    EXPECT_EQ(rampA(2) * 100 + rampA(0) * 10 + rampA(3), 210);
    game.raiseDifficulty();
    EXPECT_EQ(out.str(), "here ! diff 1 2\nhere ! diff 1 1\nhere ! diff 1 2\nhere ! diff 1 1\n");
    ramp(3, 100.0f);
    EXPECT_EQ(rampA(1), 6);
}

TEST_F(Checks, RampOfSongTwoSpeedsRoutesUp) {
    ramp(2, 45.0f);
    EXPECT_FLOAT_EQ(speed(2), 1.6f);
    EXPECT_FLOAT_EQ(speed(0), 1.5196152f);  // 1 + 0.3 x sqrt(3)
    EXPECT_FLOAT_EQ(speed(1), 1.3f);
    EXPECT_EQ(out.str(), "here ! diff 2 4\nhere ! diff 2 3\nhere ! diff 2 2\nhere ! diff 2 1\n");
}

TEST_F(Checks, RampOfSongThreeGoesThroughTheOrderTwiceAndThrice) {
    // o(o(i)) = {3, 2, 1, 0}, o(o(o(i))) = {1, 3, 0, 2}.
    ramp(0, 45.0f);
    EXPECT_EQ(rampA(3) * 1000 + rampA(2) * 100 + rampA(1) * 10 + rampA(0), 4321);
    EXPECT_FLOAT_EQ(speed(1), 1.3f);
    EXPECT_FLOAT_EQ(speed(3), 1.0f);
    EXPECT_EQ(rampB(2), 0);
    ramp(0, 130.0f);
    EXPECT_EQ(rampA(0) + rampA(1) + rampA(2) + rampA(3), 24);
    EXPECT_FLOAT_EQ(speed(1), 1.9486833f);  // 1 + 0.3 x sqrt(10)
    EXPECT_FLOAT_EQ(speed(2), 1.7937254f);  // 1 + 0.3 x sqrt(7)
    EXPECT_EQ(rampB(2) * 1000 + rampB(0) * 100 + rampB(3) * 10 + rampB(1), 4321);
}
