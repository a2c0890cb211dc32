#include <gtest/gtest.h>

#include "app/options.h"
#include "app/options_panel.h"

// The offset rows of the options panel: a key step goes to the next multiple of 5 ms that way
// (a value the calibration set between two is rounded to the step), within the row's range;
// the value reads "+40 ms", "0 ms", "-20 ms".
TEST(OffsetRows, StepsOfFiveMillisecondsWithinTheRangeAndTheirLabels) {
    struct Case {
        int ms;
        int direction;
        int max;
        int expected;
        const char* label;  // of the expected value
    };
    const Case cases[] = {
        {0, 1, maxAudioOffsetMs, 5, "+5 ms"},
        {0, -1, maxAudioOffsetMs, -5, "-5 ms"},
        {5, -1, maxAudioOffsetMs, 0, "0 ms"},
        {-5, 1, maxAudioOffsetMs, 0, "0 ms"},
        {35, 1, maxAudioOffsetMs, 40, "+40 ms"},
        {-15, -1, maxInputOffsetMs, -20, "-20 ms"},
        // Set by the calibration between two steps.
        {17, 1, maxInputOffsetMs, 20, "+20 ms"},
        {17, -1, maxInputOffsetMs, 15, "+15 ms"},
        {-17, 1, maxInputOffsetMs, -15, "-15 ms"},
        {-17, -1, maxInputOffsetMs, -20, "-20 ms"},
        {-3, 1, maxInputOffsetMs, 0, "0 ms"},
        {3, -1, maxInputOffsetMs, 0, "0 ms"},
        // The ends of the ranges hold.
        {300, 1, maxAudioOffsetMs, 300, "+300 ms"},
        {-300, -1, maxAudioOffsetMs, -300, "-300 ms"},
        {298, 1, maxAudioOffsetMs, 300, "+300 ms"},
        {-298, -1, maxAudioOffsetMs, -300, "-300 ms"},
        {150, 1, maxInputOffsetMs, 150, "+150 ms"},
        {-150, -1, maxInputOffsetMs, -150, "-150 ms"},
        {-150, 1, maxInputOffsetMs, -145, "-145 ms"},
        {-148, -1, maxInputOffsetMs, -150, "-150 ms"},
    };
    for (const Case& c : cases) {
        const int stepped = steppedOffset(c.ms, c.direction, c.max);
        EXPECT_EQ(stepped, c.expected) << c.ms << " by " << c.direction << " within " << c.max;
        EXPECT_EQ(offsetLabel(stepped), c.label) << stepped;
    }
    EXPECT_EQ(maxAudioOffsetMs, 300);
    EXPECT_EQ(maxInputOffsetMs, 150);
}
