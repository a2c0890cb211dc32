#include "creatures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

bool isCursor(int route, int anim) {
    return (route == 0 && anim == 24) || (route == 2 && anim == 25);
}

}  // namespace

TEST(CreatureMotion, HopsChainOneStepApart) {
    // The last frame of a hop stands where frame 0 of the next hop stands, one step on.
    for (int r = 0; r < 4; ++r) {
        for (int a = 0; a < artRegularAnimCounts[r]; ++a) {
            if (isCursor(r, a)) continue;
            Pose last = regularPose(r, a, 18);
            Pose next = regularPose(r, (a + 5) % 19, 0);
            EXPECT_NEAR(last.feetX, next.feetX + routeStep[r][0], 1e-9) << r << " " << a;
            EXPECT_NEAR(last.feetY, next.feetY + routeStep[r][1], 1e-9) << r << " " << a;
            EXPECT_TRUE(last.visible);
        }
    }
}

TEST(CreatureMotion, ThirdHopEndsOnThePad) {
    for (int r = 0; r < 4; ++r) {
        Pose end = regularPose(r, 0, 18);
        EXPECT_NEAR(routeLastPoint[r][0] + end.feetX, routePadFeet[r][0], 1e-9);
        EXPECT_NEAR(routeLastPoint[r][1] + end.feetY, routePadFeet[r][1], 1e-9);
    }
}

TEST(CreatureMotion, LandingsStartWithTheLastFramesOfTheHop) {
    for (int r = 0; r < 4; ++r) {
        double dx = routeLastPoint[r][0] - routeCatchPoint[r][0];
        double dy = routeLastPoint[r][1] - routeCatchPoint[r][1];
        for (int k = 0; k < 7; ++k) {
            Pose land = landingPose(r, k, 0);
            Pose hop = regularPose(r, 7, 14);
            EXPECT_NEAR(land.feetX, hop.feetX + dx, 1e-9) << r << " " << k;
            EXPECT_NEAR(land.feetY, hop.feetY + dy, 1e-9) << r << " " << k;
        }
        // Uncaught: it rests on the pad, then fades out by its last frame.
        const int defaults[4] = {1, 2, 3, 3};
        int k = defaults[r];
        Pose rest = landingPose(r, k, 5);
        EXPECT_NEAR(routeCatchPoint[r][0] + rest.feetX, routePadFeet[r][0], 1e-9);
        EXPECT_NEAR(routeCatchPoint[r][1] + rest.feetY, routePadFeet[r][1], 1e-9);
        EXPECT_DOUBLE_EQ(landingPose(r, k, 8).alpha, 1.0);
        EXPECT_LT(landingPose(r, k, artLandingFrameCounts[r][k] - 1).alpha, 0.2);
    }
}

TEST(CreatureMotion, VerdictsLookTheirPart) {
    // Good catches burst, early ones get dizzy, late ones turn grey.
    const int good[3] = {4, 5, 6};
    for (int r = 0; r < 4; ++r) {
        for (int k : good) {
            Pose p = landingPose(r, k, artLandingFrameCounts[r][k] - 3);
            EXPECT_EQ(p.eyes, EyesHappy) << r << " " << k;
            EXPECT_NE(p.effect, EffectNone);
        }
        int early = r == 0 ? 3 : 1;
        EXPECT_EQ(landingPose(r, 0, 9).eyes, EyesDizzy);
        EXPECT_EQ(landingPose(r, early, 10).eyes, EyesDizzy);
        int late = r == 0 ? 2 : (r == 1 ? 3 : 2);
        EXPECT_GT(landingPose(r, late, artLandingFrameCounts[r][late] - 2).grey, 0.5);
    }
}

TEST(CreatureMotion, FlickerAndCursor) {
    EXPECT_FALSE(regularPose(0, 2, 13).visible);
    EXPECT_TRUE(regularPose(0, 2, 12).visible);
    InkBox none = poseInk(0, regularPose(0, 2, 13));
    EXPECT_EQ(none.w, 0);
    for (int f = 0; f < 19; ++f) {
        Pose a = regularPose(2, 25, f);
        Pose b = regularPose(2, 25, (f + 1) % 19);
        EXPECT_LT(std::abs(a.feetY - b.feetY), 4.0) << f;
        EXPECT_DOUBLE_EQ(a.feetX, b.feetX);
    }
}

TEST(CreatureInk, RestingCreatureFitsTheQuotedCell) {
    // Route 0 at rest must fit 89 x 84 with its feet at the bottom centre.
    InkBox rest = poseInk(0, regularPose(0, 0, 0));
    EXPECT_GT(rest.w, 60);
    EXPECT_GE(rest.x0, -44.5);
    EXPECT_LE(rest.x0 + rest.w, 44.5);
    EXPECT_GE(rest.y0, -84);
    EXPECT_LE(rest.y0 + rest.h, 0.0);
    // A burst is much bigger than the creature.
    InkBox burst = poseInk(0, landingPose(0, 5, 12));
    EXPECT_GT(burst.w, rest.w * 1.5);
}
