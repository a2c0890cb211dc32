#include "core/display_profile.h"

#include <gtest/gtest.h>

namespace {
DisplayProfile profileFor(float w, float h) {
    return chooseDisplayProfile(w, h, w / h);
}
}  // namespace

TEST(DisplayProfile, CommonDesktopsTakeTheirPictureSet) {
    struct Case {
        float w, h;
        const char* name;
        float menuTopOffset;
    };
    const Case cases[] = {
        {1920, 1080, "1600_900", 171},  {1600, 900, "1600_900", 171},
        {1366, 768, "1600_900", 171},   {2560, 1080, "1600_900", 171},
        {1920, 1200, "1600_1000", 101}, {1680, 1050, "1600_1000", 101},
        {1440, 900, "1600_1000", 101},  {1024, 768, "2048_1536", 0},
        {1600, 1200, "2048_1536", 0},   {1280, 1024, "2048_1536", 0},
        {1080, 1920, "2048_1536", 0},
    };
    for (const Case& c : cases) {
        DisplayProfile p = profileFor(c.w, c.h);
        EXPECT_EQ(p.profileName, c.name) << c.w << "x" << c.h;
        EXPECT_EQ(p.menuTopOffset, c.menuTopOffset) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(p.scaleY, c.h / 1536.0f);
        EXPECT_FLOAT_EQ(p.pauseHiddenOffset, 1122.0f * c.h / 1536.0f);
    }
}

TEST(DisplayProfile, ScalesFollowTheReferenceWidth) {
    DisplayProfile wide = profileFor(1920, 1080);
    EXPECT_EQ(wide.referenceWidth, 1600.0f);
    EXPECT_FLOAT_EQ(wide.scaleX, 1.2f);
    DisplayProfile square = profileFor(2048, 1536);
    EXPECT_EQ(square.referenceWidth, 2048.0f);
    EXPECT_EQ(square.scaleX, 1.0f);
    EXPECT_EQ(square.scaleY, 1.0f);
}

TEST(DisplayProfile, RatiosExactlyOnALimitFallToTheNextSet) {
    // The limits are compared with the ratio itself, strictly.
    EXPECT_EQ(
        chooseDisplayProfile(1777, 1000, 1.7767777777302802f).profileName,
        static_cast<float>(1.7767777777302802) > 1.7767777777302802 ? "1600_900" : "1600_1000");
    EXPECT_EQ(chooseDisplayProfile(1600, 1000, 1.7768f).profileName, "1600_900");
    EXPECT_EQ(chooseDisplayProfile(1600, 1000, 1.7767f).profileName, "1600_1000");
    EXPECT_EQ(chooseDisplayProfile(1600, 1000, 1.5991f).profileName, "1600_1000");
    EXPECT_EQ(chooseDisplayProfile(1600, 1000, 1.5989f).profileName, "2048_1536");
}

TEST(DisplayProfile, DiagnosticLineUsesDefaultNumberNotation) {
    DisplayProfile p = profileFor(1920, 1080);
    EXPECT_EQ(displayProfileLine(p, 1920.0f / 1080.0f),
              "image 1600_900 rap 1.77778 imageX1600 scaleX1.2");
    DisplayProfile q = profileFor(1024, 768);
    EXPECT_EQ(displayProfileLine(q, 1024.0f / 768.0f),
              "image 2048_1536 rap 1.33333 imageX2048 scaleX0.5");
}
