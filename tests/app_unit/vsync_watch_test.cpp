#include "app/vsync_watch.h"

#include <gtest/gtest.h>

// Frames much faster than the display's refresh over the watched frames mean an ignored
// vertical sync: capped at the refresh rate (60 when the display does not tell it). A sync that
// works at any rate, frames slower than the refresh, and a few stray fast frames are left alone.
TEST(VsyncWatch, CapsOnlyFramesClearlyFasterThanTheRefresh) {
    struct Case {
        unsigned refresh;    // as the display reports it, 0: unknown
        float frameSeconds;  // most frames
        int fastFrames;      // the first this many take 1 ms instead
        unsigned cap;        // expected, 0: none
    };
    const Case cases[] = {
        {0, 0.002f, 0, 60},      {144, 0.002f, 0, 144},  {0, 1 / 60.0f, 0, 0},
        {144, 1 / 144.0f, 0, 0}, {60, 1 / 30.0f, 0, 0},  {75, 0.7f / 75, 0, 75},
        {75, 0.8f / 75, 0, 0},   {60, 1 / 60.0f, 59, 0}, {60, 1 / 60.0f, 61, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "refresh " << c.refresh << ", frames of "
                                        << c.frameSeconds << " s, " << c.fastFrames << " fast");
        VsyncWatch watch;
        watch.start(c.refresh);
        int decided = 0, at = -1;
        for (int k = 0; k < 3 * VsyncWatch::watchedFrames; ++k) {
            const float t = k < c.fastFrames ? 0.001f : c.frameSeconds;
            if (watch.frameTook(t)) {
                ++decided;
                at = k;
            }
        }
        EXPECT_EQ(decided, c.cap ? 1 : 0);
        if (c.cap) {
            EXPECT_EQ(at, VsyncWatch::watchedFrames - 1);
            EXPECT_EQ(watch.rate, c.cap);
        }
        // Once capped, a new window's frames are not watched again.
        if (!c.cap) continue;
        watch.start(c.refresh);
        for (int k = 0; k < 2 * VsyncWatch::watchedFrames; ++k)
            EXPECT_FALSE(watch.frameTook(0.001f));
    }
}
