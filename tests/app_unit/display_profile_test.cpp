#include "ui/display_profile.h"

#include <gtest/gtest.h>

#include <string>

namespace {
DisplayProfile profileFor(float w, float h) {
    return chooseDisplayProfile(w, h, w / h);
}
}  // namespace

TEST(DisplayProfile, CommonDesktopsTakeTheirPictureSet) {
    // scaleY is the height over the canvas's 1536; the pause panel hides 1122 canvas pixels
    // below it.
    struct Case {
        float w, h;
        const char* name;
        float menuTopOffset;
        float scaleY;
        float pauseHiddenOffset;
    };
    const Case cases[] = {
        {1920, 1080, "1600_900", 171, 0.703125f, 788.90625f},
        {1600, 900, "1600_900", 171, 0.5859375f, 657.421875f},
        {1366, 768, "1600_900", 171, 0.5f, 561.0f},
        {2560, 1080, "1600_900", 171, 0.703125f, 788.90625f},
        {1920, 1200, "1600_1000", 101, 0.78125f, 876.5625f},
        {1680, 1050, "1600_1000", 101, 0.68359375f, 766.9921875f},
        {1440, 900, "1600_1000", 101, 0.5859375f, 657.421875f},
        {1024, 768, "2048_1536", 0, 0.5f, 561.0f},
        {1600, 1200, "2048_1536", 0, 0.78125f, 876.5625f},
        {1280, 1024, "2048_1536", 0, 0.6666667f, 748.0f},
        {1080, 1920, "2048_1536", 0, 1.25f, 1402.5f},
    };
    for (const Case& c : cases) {
        DisplayProfile p = profileFor(c.w, c.h);
        EXPECT_EQ(p.profileName, c.name) << c.w << "x" << c.h;
        EXPECT_EQ(p.menuTopOffset, c.menuTopOffset) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(p.scaleY, c.scaleY) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(p.pauseHiddenOffset, c.pauseHiddenOffset) << c.w << "x" << c.h;
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
    // The limits lie 0.001 under 16/9 and 16/10 and are compared with the ratio, strictly.
    // The float nearest each limit lies just under it, so it takes the next set; the float
    // after it is the first ratio of the wider set.
    struct Case {
        float ratio;
        const char* name;
    };
    const Case cases[] = {
        {1.77677774f, "1600_1000"}, {1.77677786f, "1600_900"},  {1.7767f, "1600_1000"},
        {1.7768f, "1600_900"},      {1.59899998f, "2048_1536"}, {1.59900010f, "1600_1000"},
        {1.5989f, "2048_1536"},     {1.5991f, "1600_1000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseDisplayProfile(1600, 1000, c.ratio).profileName, c.name) << c.ratio;
    }
}

TEST(DisplayProfile, DiagnosticLineUsesDefaultNumberNotation) {
    DisplayProfile p = profileFor(1920, 1080);
    EXPECT_EQ(displayProfileLine(p, 1920.0f / 1080.0f),
              "image 1600_900 rap 1.77778 imageX1600 scaleX1.2");
    DisplayProfile q = profileFor(1024, 768);
    EXPECT_EQ(displayProfileLine(q, 1024.0f / 768.0f),
              "image 2048_1536 rap 1.33333 imageX2048 scaleX0.5");
}

// Shapes from 4:3 to 16:9 are drawn on the whole window, exactly as their profile says.
// Wider or narrower ones get the closest set's shape, undistorted (one scale for x and y),
// whole (inside the window) and centred, between bars; the set is still chosen from the
// window's own shape and the diagnostic line keeps its form.
TEST(DrawnArea, OtherShapesShowTheClosestSetWholeAndCentred) {
    struct Case {
        unsigned w, h;
        const char* name;
        float areaWidth, areaHeight;
    };
    const Case cases[] = {
        {1920, 1080, "1600_900", 1920, 1080}, {1280, 720, "1600_900", 1280, 720},
        {1366, 768, "1600_900", 1366, 768},   {1680, 1050, "1600_1000", 1680, 1050},
        {1024, 768, "2048_1536", 1024, 768},  {1440, 960, "2048_1536", 1440, 960},
        {2560, 1080, "1600_900", 1920, 1080}, {3840, 1080, "1600_900", 1920, 1080},
        {1280, 1024, "2048_1536", 1280, 960}, {1000, 1000, "2048_1536", 1000, 750},
        {1080, 1920, "2048_1536", 1080, 810},
    };
    for (const Case& c : cases) {
        const ScreenGeometry g = screenGeometry(c.w, c.h);
        const DrawnArea& a = g.area;
        const float W = static_cast<float>(c.w), H = static_cast<float>(c.h);
        EXPECT_EQ(g.profile.profileName, c.name) << c.w << "x" << c.h;
        EXPECT_EQ(a.width, c.areaWidth) << c.w << "x" << c.h;
        EXPECT_EQ(a.height, c.areaHeight) << c.w << "x" << c.h;
        EXPECT_GE(a.left, 0.0f);
        EXPECT_GE(a.top, 0.0f);
        EXPECT_LE(a.left + a.width, W);
        EXPECT_LE(a.top + a.height, H);
        EXPECT_NEAR(a.left, W - a.left - a.width, 1.0f) << c.w << "x" << c.h;  // centred
        EXPECT_NEAR(a.top, H - a.top - a.height, 1.0f) << c.w << "x" << c.h;
        // The board picture of the set, shown with the one scale scaleX, fits the area of
        // a wide or narrow window (shapes between the sets are shown as they always were).
        const std::string set = g.profile.profileName;
        const float boardHeight = set == "1600_900"    ? 900.0f
                                  : set == "1600_1000" ? 1000.0f
                                                       : 1536.0f;
        if (a.width != W || a.height != H) {
            EXPECT_LE(boardHeight * g.profile.scaleX, a.height + 1.0f) << c.w << "x" << c.h;
        }
        EXPECT_FLOAT_EQ(g.profile.scaleX * g.profile.referenceWidth, a.width);
        EXPECT_FLOAT_EQ(g.profile.scaleY, a.height / 1536.0f);
        if (a.width == W && a.height == H) {
            const DisplayProfile today = chooseDisplayProfile(W, H, W / H);
            EXPECT_EQ(g.profile.scaleX, today.scaleX) << c.w << "x" << c.h;
            EXPECT_EQ(g.profile.scaleY, today.scaleY) << c.w << "x" << c.h;
        }
    }
    EXPECT_EQ(displayProfileLine(screenGeometry(2560, 1080).profile, 2560.0f / 1080.0f),
              "image 1600_900 rap 2.37037 imageX1600 scaleX1.2");
}
