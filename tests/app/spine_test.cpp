#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "app/app.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"

namespace {
int countStartLines(const std::string& log) {
    std::istringstream in(log);
    std::string line;
    int n = 0;
    std::regex start("^Mirevo [0-9]+$");
    while (std::getline(in, line)) {
        if (!std::regex_match(line, start)) return -1;
        ++n;
    }
    return n;
}
}  // namespace

TEST(Spine, FrameDeltaIsClampedToATwelfthOfASecond) {
    GameFolder folder;
    ScriptedPlatform platform;
    App app(platform);
    ASSERT_EQ(app.startUp(), -1);
    platform.advance(0.5f);
    ASSERT_TRUE(app.frame());
    EXPECT_EQ(app.frameDelta, 0.0833333358f);
    platform.advance(0.02f);
    ASSERT_TRUE(app.frame());
    EXPECT_NEAR(app.frameDelta, 0.02f, 1e-4f);
    // Exactly a twelfth is not clamped any further.
    platform.advance(1.0f / 12.0f);
    ASSERT_TRUE(app.frame());
    EXPECT_NEAR(app.frameDelta, 1.0f / 12.0f, 1e-4f);
}

TEST(Spine, CloseRequestFinishesTheFrameThenEndsWithExiting) {
    GameFolder folder;
    ScriptedPlatform platform;
    App app(platform);
    ASSERT_EQ(app.startUp(), -1);
    EXPECT_EQ(platform.title, "Mirevo");
    EXPECT_TRUE(platform.cursorVisible);
    platform.pushClose();
    platform.pushClose();
    platform.advance(0.016f);
    int shown = platform.framesShown;
    EXPECT_TRUE(app.frame());  // the frame of the request is still drawn and shown
    EXPECT_EQ(platform.framesShown, shown + 1);
    EXPECT_TRUE(app.quitRequested);
    platform.advance(0.016f);
    EXPECT_FALSE(app.frame());
    EXPECT_EQ(platform.framesShown, shown + 1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(app.finish(), 0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Exiting !\n"), std::string::npos);
    EXPECT_EQ(out.find("Exiting !"), out.rfind("Exiting !"));  // two requests, one ending
}

TEST(Spine, EachRunAppendsOneStartLineToTheLog) {
    GameFolder folder;
    for (int run = 1; run <= 2; ++run) {
        ScriptedPlatform platform;
        platform.pushClose();
        App app(platform);
        testing::internal::CaptureStdout();
        EXPECT_EQ(app.run(), 0);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("Exiting !"), std::string::npos);
        EXPECT_EQ(countStartLines(folder.read("log.txt")), run);
    }
}
