// The calibration's tap analysis: the median of the measured taps, the slips dropped, the
// eight-kept rule, the spread and the offsets the two tests give.
#include "app/calibration.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CalibrationTaps, MedianSlipsDroppedTheEightKeptRuleAndTheOffsets) {
    struct Case {
        const char* name;
        std::vector<double> lateness;  // ms of the measured taps
        bool measured;
        int kept;
        double median;
        double spread;  // standard deviation of the kept taps
    };
    const Case cases[] = {
        {"steady", std::vector<double>(16, 60.0), true, 16, 60.0, 0.0},
        {"jitter and one wild tap, dropped",
         {60, 52, 67, 58, 63, 55, 61, 66, 54, 59, 260, 64, 57, 62, 56, 65},
         true,
         15,
         60.0,
         4.4342104},
        {"slips on both sides dropped",
         {20, -190, 25, 18, 22, 175, 19, 21, 24, 17, 23, 16, 26, 20, -135, 22},
         true,
         13,
         21.0,
         2.9351975},
        {"150 ms from the median is kept, past it dropped",
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 150, 150.5, -150, -151, 0, 0, 0},
         true,
         14,
         0.0,
         56.6946710},
        {"exactly eight kept",
         {10, 12, 14, 16, 18, 20, 22, 24, 300, -300, 290, -290, 280, -280, 270, -270},
         true,
         8,
         17.0,
         4.5825757},
        {"seven kept: could not measure",
         {0, 0, 0, 0, 0, 0, 0, 400, -400, 400, -400, 400, -400, 400, -400, 400},
         false,
         7,
         0.0,
         0.0},
        {"seven taps only: could not measure", std::vector<double>(7, 30.0), false, 7, 0.0, 0.0},
        {"no taps", {}, false, 0, 0.0, 0.0},
        {"an even count: the middle two's mean",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         true,
         10,
         5.5,
         2.8722813},
        {"beyond sixteen taps, the first sixteen only",
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 90, 90},
         true,
         16,
         0.0,
         0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TapResult r = analyseTaps(c.lateness.data(), static_cast<int>(c.lateness.size()));
        EXPECT_EQ(r.measured, c.measured);
        EXPECT_EQ(r.kept, c.kept);
        if (!c.measured) continue;
        EXPECT_NEAR(r.medianMs, c.median, 1e-6);
        EXPECT_NEAR(r.spreadMs, c.spread, 1e-6);
    }

    // The offsets: input = watch, audio = listen - watch, rounded and held to their ranges.
    struct Offsets {
        double listen;
        double watch;
        int audio;
        int input;
    };
    const Offsets offsets[] = {
        {60, 20, 40, 20},       {0, 0, 0, 0},       {-30, 12.4, -42, 12},
        {500, -10, 300, -10},   {-400, 0, -300, 0}, {100, 200, -100, 150},
        {100, -170, 270, -150}, {40.5, 0, 41, 0},   {0.4, -0.6, 1, -1},
    };
    for (const Offsets& o : offsets) {
        TapResult listen, watch;
        listen.medianMs = o.listen;
        watch.medianMs = o.watch;
        const CalibrationOffsets got = offsetsFrom(listen, watch);
        EXPECT_EQ(got.audioMs, o.audio) << o.listen << " " << o.watch;
        EXPECT_EQ(got.inputMs, o.input) << o.listen << " " << o.watch;
    }
}

// A test as it runs: a tap before the beats is not taken, the first four settle, each
// measured tap counts against its nearest beat (a very late tap is early for the next), and
// the test is over with its twentieth tap, or when its beats run out.
TEST(CalibrationTaps, ATestSettlesMeasuresAgainstTheNearestBeatAndEnds) {
    TapTest test;
    test.start(100.0);
    EXPECT_DOUBLE_EQ(test.grid.beat(0), 101.5);
    EXPECT_FALSE(test.tap(101.1)) << "before the beats";
    const double settling[4] = {0.25, -0.28, 0.2, 0.0};
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(test.tap(test.grid.beat(k) + settling[k]));
    EXPECT_EQ(test.settleLeft(), 0);
    // Sixteen measured taps about 60 ms late; the ninth is 380 ms late, so 220 ms early for
    // the next beat, and dropped.
    const double late[16] = {60, 55, 65, 58, 62, 60, 57, 63, 380, 61, 59, 64, 56, 60, 62, 58};
    for (int i = 0; i < 16; ++i) {
        EXPECT_FALSE(test.over(test.grid.beat(4 + i)));
        EXPECT_TRUE(test.tap(test.grid.beat(4 + i) + late[i] / 1000.0));
    }
    EXPECT_TRUE(test.over(test.grid.beat(20)));
    EXPECT_FALSE(test.tap(test.grid.beat(20))) << "a tap past the test's twenty";
    EXPECT_EQ(test.measuredMade(), 16);
    const TapResult r = test.result();
    EXPECT_TRUE(r.measured);
    EXPECT_EQ(r.kept, 15);
    EXPECT_NEAR(r.medianMs, 60.0, 1e-6);
    EXPECT_NEAR(test.grid.latenessMs(test.grid.beat(12) + 0.38), -220.0, 1e-6);

    // Without taps the test ends half a period after its fortieth beat.
    TapTest idle;
    idle.start(0.0);
    EXPECT_FALSE(idle.over(idle.grid.beat(39) + 0.29));
    EXPECT_TRUE(idle.over(idle.grid.beat(39) + 0.31));
    EXPECT_FALSE(idle.result().measured);

    // The beat's sound: started within the lead before the beat, with the offset that puts its
    // onset on the beat.
    EXPECT_LT(beatSoundOffset(10.0, 9.8, 0.125), 0.0) << "not yet";
    EXPECT_NEAR(beatSoundOffset(10.0, 9.875, 0.125), 0.0, 1e-12);
    EXPECT_NEAR(beatSoundOffset(10.0, 9.9, 0.125), 0.025, 1e-12);
    EXPECT_NEAR(beatSoundOffset(10.0, 10.02, 0.125), 0.145, 1e-12);
}
