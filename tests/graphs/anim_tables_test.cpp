#include "board/anim_tables.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "board/particle.h"
#include "board/route.h"

namespace {

bool isEmpty(const AnimFrame& f) {
    return f.left == 0 && f.top == 0 && f.width == 0 && f.height == 0;
}

// Bottom centre of a frame's rectangle, relative to its anchor: where the creature stands.
void footOf(const AnimFrame& f, double& x, double& y) {
    x = f.offsetX + f.width / 2.0;
    y = f.offsetY + f.height;
}

bool isCursor(int route, int anim) {
    return (route == 0 && anim == 24) || (route == 2 && anim == 25);
}

}  // namespace

TEST(FrameTables, RecordCountsAndLandingStarts) {
    const int lengths[4] = {635, 662, 664, 618};
    const int counts[4] = {25, 26, 26, 24};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(frameTableLength[r], lengths[r]);
        EXPECT_EQ(regularAnimCounts[r], counts[r]);
        int at = 19 * regularAnimCounts[r];
        for (int k = 0; k < 7; ++k) {
            EXPECT_EQ(landingFirstFrame[r][k], at) << "route " << r << " landing " << k;
            at += landingFrameCounts[r][k];
        }
        EXPECT_EQ(at, frameTableLength[r]);
    }
    EXPECT_EQ(landingFirstFrame[0][6], 609);
    EXPECT_EQ(landingFirstFrame[1][0], 494);
    EXPECT_EQ(landingFirstFrame[2][6], 639);
    EXPECT_EQ(landingFirstFrame[3][3], 523);
    EXPECT_EQ(landingFrameCounts[2][3], 25);
}

TEST(FrameTables, QuotedRows) {
    const AnimFrame& f0 = frameTable[0][0];
    EXPECT_EQ(f0.offsetX, 70);
    EXPECT_EQ(f0.offsetY, 72);
    EXPECT_EQ(sf::IntRect(f0.left, f0.top, f0.width, f0.height), sf::IntRect(0, 119, 89, 84));
    const AnimFrame& f1 = frameTable[0][1];
    EXPECT_EQ(f1.offsetX, 59);
    EXPECT_EQ(f1.offsetY, 37);
    EXPECT_EQ(sf::IntRect(f1.left, f1.top, f1.width, f1.height), sf::IntRect(0, 0, 102, 119));
    EXPECT_TRUE(isEmpty(frameTable[0][19 * 2 + 13]));
    EXPECT_EQ(gaugeFrameOffset(0, 0, 0), sf::Vector2i(0, 0));
    EXPECT_EQ(gaugeFrameOffset(0, 0, 1), sf::Vector2i(0, 7));
    EXPECT_EQ(gaugeFrameOffset(0, 0, 2), sf::Vector2i(0, 7));
    EXPECT_EQ(gaugeFrameRect(0, 0, 0), sf::IntRect(0, 674, 90, 111));
    EXPECT_EQ(gaugeFrameRect(0, 0, 1), sf::IntRect(263, 674, 90, 102));
    EXPECT_EQ(gaugeFrameRect(0, 0, 2), sf::IntRect(360, 565, 90, 104));
    EXPECT_EQ(volumeFrameOffset(0), sf::Vector2i(41, 6));
    EXPECT_EQ(volumeFrameRect(0), sf::IntRect(134, 286, 135, 135));
    EXPECT_EQ(volumeFrameRect(9), sf::IntRect(0, 0, 0, 0));
}

TEST(FrameTables, DecorationsAsLaidOut) {
    EXPECT_EQ(buttonFrameRect(1, 0, 1), sf::IntRect(0, 270, 115, 90));
    EXPECT_EQ(buttonFrameRect(2, 3, 0), sf::IntRect(0, 90, 132, 90));
    EXPECT_EQ(buttonFrameRect(3, 3, 0), sf::IntRect(115, 180, 115, 90));
    for (int m = 0; m < 4; ++m)
        for (int r = 0; r < 4; ++r)
            for (int f = 0; f < 2; ++f) EXPECT_EQ(buttonFrameOffset(r, m, f), sf::Vector2i(0, 0));
    EXPECT_EQ(slimeFrameRect(0, 0, 3).width, 250);
    EXPECT_EQ(slimeFrameRect(2, 0, 0).height, 126);
    EXPECT_EQ(slimeFrameOffset(2, 0, 5), sf::Vector2i(1, 1));
    EXPECT_EQ(slimeFrameRect(3, 2, 0).height, 120);
    EXPECT_EQ(slimeFrameOffset(3, 2, 0), sf::Vector2i(1, 0));
    EXPECT_EQ(slimeFrameRect(3, 2, 4).height, 117);
    EXPECT_EQ(slimeFrameOffset(3, 2, 4), sf::Vector2i(1, 3));
    EXPECT_EQ(slimeFrameRect(1, 3, 9).height, 215);
    // Cells of one slime sheet never overlap.
    for (int m = 0; m < 4; ++m)
        for (int r = 0; r < 4; ++r)
            for (int a = 0; a < 10; ++a)
                for (int b = a + 1; b < 10; ++b)
                    EXPECT_FALSE(slimeFrameRect(r, m, a).intersects(slimeFrameRect(r, m, b)))
                        << "mode " << m << " route " << r << " frames " << a << ", " << b;
}

TEST(FrameTables, GaugeBlocksAndRotatedRouteThree) {
    EXPECT_EQ(gaugeFirstFrame[0], 0);
    EXPECT_EQ(gaugeFirstFrame[1], 40);
    EXPECT_EQ(gaugeFirstFrame[2], 82);
    EXPECT_EQ(gaugeFirstFrame[3], 121);
    EXPECT_GE(gaugeFramesLength, 121 + 33);
    for (int i = 0; i < 11; ++i) {
        // Route 3 stores state s at (s + 1) mod 3: the empty seed (tallest cell) at state 1.
        EXPECT_EQ(gaugeFrameRect(3, i, 1).height, 111) << "cell " << i;
        EXPECT_EQ(gaugeFrameRect(0, i, 0).height, 111) << "cell " << i;
        for (int s = 0; s < 3; ++s) {
            for (int r = 0; r < 4; ++r) EXPECT_GT(gaugeFrameRect(r, i, s).width, 0);
        }
    }
    EXPECT_EQ(gaugeFrameRect(0, 11, 0), sf::IntRect());
}

TEST(FrameTables, EveryHopEndsWhereTheNextBegins) {
    // Frame 18 of any animation drawn at an anchor and frame 0 of any animation drawn one
    // step further show the creature on the same spot.
    for (int r = 0; r < 4; ++r) {
        for (int a = 0; a < regularAnimCounts[r]; ++a) {
            if (isCursor(r, a)) continue;
            for (int b = 0; b < regularAnimCounts[r]; ++b) {
                if (isCursor(r, b)) continue;
                double x18, y18, x0, y0;
                footOf(frameTable[r][19 * a + 18], x18, y18);
                footOf(frameTable[r][19 * b], x0, y0);
                EXPECT_NEAR(x18, x0 + particleStep[r][0], 3.0) << r << " " << a << "->" << b;
                EXPECT_NEAR(y18, y0 + particleStep[r][1], 3.0) << r << " " << a << "->" << b;
            }
        }
    }
}

TEST(FrameTables, LandingsContinueTheLastHop) {
    // Landing frames 0..4 are drawn around the catch point in place of frames 14..18 of the
    // last hop, drawn around the last regular point.
    for (int r = 0; r < 4; ++r) {
        double dx = lastRegularPoint[r][0] - catchPoint[r][0];
        double dy = lastRegularPoint[r][1] - catchPoint[r][1];
        for (int a = 0; a < regularAnimCounts[r]; ++a) {
            if (isCursor(r, a)) continue;
            for (int k = 0; k < 7; ++k) {
                for (int i = 0; i < 5; ++i) {
                    const AnimFrame& reg = frameTable[r][19 * a + 14 + i];
                    const AnimFrame& land = frameTable[r][landingFirstFrame[r][k] + i];
                    if (k == 0 && i > 0) continue;  // a stumble leaves the path at once
                    if ((k == 0 || (r == 0 ? k == 3 : k == 1)) && i == 4) continue;
                    EXPECT_NEAR(land.offsetX, reg.offsetX + dx, 1.0)
                        << r << " " << a << " " << k << " " << i;
                    EXPECT_NEAR(land.offsetY, reg.offsetY + dy, 1.0)
                        << r << " " << a << " " << k << " " << i;
                    EXPECT_EQ(land.width, reg.width);
                }
            }
        }
        // The uncaught landing starts where the last hop ended.
        double xe, ye, xl, yl;
        footOf(frameTable[r][19 * 0 + 18], xe, ye);
        footOf(frameTable[r][landingFirstFrame[r][defaultLanding[r]] + 5], xl, yl);
        EXPECT_NEAR(xl, xe + dx, 3.0);
        EXPECT_NEAR(yl, ye + dy, 3.0);
    }
}

TEST(FrameTables, CursorsLoop) {
    const int routes[2] = {0, 2};
    const int anims[2] = {24, 25};
    for (int i = 0; i < 2; ++i) {
        for (int f = 0; f < 19; ++f) {
            double xa, ya, xb, yb;
            footOf(frameTable[routes[i]][19 * anims[i] + f], xa, ya);
            footOf(frameTable[routes[i]][19 * anims[i] + (f + 1) % 19], xb, yb);
            EXPECT_LE(std::abs(xa - xb) + std::abs(ya - yb), 8.0) << "frame " << f;
        }
    }
}

TEST(FrameTables, OnlyTheFlickerFramesAreEmpty) {
    for (int r = 0; r < 4; ++r) {
        int empty = 0;
        for (int i = 0; i < frameTableLength[r]; ++i) {
            const AnimFrame& f = frameTable[r][i];
            if (isEmpty(f)) {
                ++empty;
                continue;
            }
            EXPECT_GT(f.width, 0);
            EXPECT_GT(f.height, 0);
            EXPECT_GE(f.left, 0);
            EXPECT_GE(f.top, 0);
        }
        EXPECT_LE(empty, 12) << "route " << r;
    }
}
