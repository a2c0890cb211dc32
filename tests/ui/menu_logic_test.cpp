#include "ui/menu_logic.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {
// Window pixels of canvas coordinates on a 1024 x 768 window (half the canvas).
float px(float canvas) {
    return canvas / 2;
}
}  // namespace

TEST(Ease, FallsFromNearlyOneThroughHalfToExactlyZero) {
    EXPECT_NEAR(ease(0.0f), 0.99909f, 1e-5f);
    EXPECT_FLOAT_EQ(ease(0.5f), 0.5f);
    EXPECT_EQ(ease(1.0f), 0.0f);
    EXPECT_GT(ease(0.999f), 0.0f);
    EXPECT_NEAR(ease(0.2f) + ease(0.8f), 1.0f, 1e-5f);
}

TEST(Formats, TimesTruncateToOneTenthAndNumbersUseTheDefaultNotation) {
    EXPECT_EQ(formatTime(12.87f), "12.8s");
    EXPECT_EQ(formatTime(3.0f), "3.0s");
    EXPECT_EQ(formatTime(95.45f), "95.4s");
    EXPECT_EQ(formatTime(-0.56f), "-0.5s");
    EXPECT_EQ(formatNumber(1234.0f), "1234");
    EXPECT_EQ(formatNumber(12.5f), "12.5");
    EXPECT_EQ(formatNumber(1234567.0f), "1.23457e+06");
    EXPECT_EQ(scoreString(0.0f), " ");
    EXPECT_EQ(scoreString(250.5f), "250.5");
    EXPECT_EQ(exploreTimeString(1.0f, 12.87f), "12.8s");
    EXPECT_EQ(exploreTimeString(0.99f, 60.0f), "-");  // not completed, whatever the time
}

TEST(HitTests, MenuSectorsSplitAlongTheDiagonals) {
    EXPECT_EQ(menuSectorAt(512, 384, 1024, 768), -1);  // the centre lies on both diagonals
    EXPECT_EQ(menuSectorAt(512, 50, 1024, 768), -1);
    EXPECT_EQ(menuSectorAt(800, 599, 1024, 768), 1);
    EXPECT_EQ(menuSectorAt(800, 601, 1024, 768), 2);
    EXPECT_EQ(menuSectorAt(100, 384, 1024, 768), 3);
    // The top and bottom rows count as the rows next to them: no division by zero.
    EXPECT_EQ(menuSectorAt(1023, 0, 1024, 768), 1);
    EXPECT_EQ(menuSectorAt(512, 768, 1024, 768), 2);
}

TEST(HitTests, SidePanelButtonsExcludeTheirEdges) {
    const float y = px(300);
    EXPECT_EQ(sidePanelAt(px(242), y, 1024, 768), 0);
    EXPECT_EQ(sidePanelAt(px(243), y, 1024, 768), 1);
    EXPECT_EQ(sidePanelAt(px(521), y, 1024, 768), 0);
    EXPECT_EQ(sidePanelAt(px(1867), y, 1024, 768), 2);
    EXPECT_EQ(sidePanelAt(px(1868), y, 1024, 768), 0);
    EXPECT_EQ(sidePanelAt(px(300), px(165), 1024, 768), 0);
    EXPECT_EQ(sidePanelAt(px(300), px(166), 1024, 768), 1);
    EXPECT_EQ(sidePanelAt(px(300), px(537), 1024, 768), 0);
}

TEST(HitTests, SongRowsIncludeTheirLowerEdgeAndSideEdgesWin) {
    const float x = px(1000);
    EXPECT_EQ(songListAt(x, px(800), 1024, 768), -1);
    EXPECT_EQ(songListAt(x, px(934), 1024, 768), 8);
    EXPECT_EQ(songListAt(x, px(936), 1024, 768), 1);
    EXPECT_EQ(songListAt(x, px(1100), 1024, 768), 3);
    EXPECT_EQ(songListAt(x, px(1200), 1024, 768), 2);
    EXPECT_EQ(songListAt(x, px(1440), 1024, 768), 0);
    EXPECT_EQ(songListAt(x, px(1442), 1024, 768), -1);
    EXPECT_EQ(songListAt(px(1700), px(1000), 1024, 768), 6);
    EXPECT_EQ(songListAt(px(1698), px(1000), 1024, 768), 1);
    EXPECT_EQ(songListAt(px(220), px(1000), 1024, 768), 5);
    // Rows follow the window height: canvas 1060 is pixel 745.3 on a 1080-high window.
    EXPECT_EQ(songListAt(960, 745, 1920, 1080), 1);
    EXPECT_EQ(songListAt(960, 746, 1920, 1080), 3);
}

TEST(HitTests, ExploreRowsAreLockedUntilTheirSongIsCompleted) {
    std::vector<float> done(4, 0.0f);
    const float x = px(1000);
    EXPECT_EQ(exploreListAt(x, px(900), 1024, 768, done), -2);  // mode 1 plays song 0
    done[0] = 0.99f;
    EXPECT_EQ(exploreListAt(x, px(900), 1024, 768, done), -2);
    done = {1.0f, 1.0f, 1.0f, 1.0f};
    EXPECT_EQ(exploreListAt(x, px(860), 1024, 768, done), -1);
    EXPECT_EQ(exploreListAt(x, px(1017), 1024, 768, done), 1);
    EXPECT_EQ(exploreListAt(x, px(1020), 1024, 768, done), 3);
    EXPECT_EQ(exploreListAt(x, px(1200), 1024, 768, done), 2);
    EXPECT_EQ(exploreListAt(x, px(1400), 1024, 768, done), 0);
    done = {0, 0, 0, 0};
    EXPECT_EQ(exploreListAt(px(300), px(900), 1024, 768, done), 5);  // whatever the row
    EXPECT_EQ(exploreListAt(px(1850), px(100), 1024, 768, done), 6);
    EXPECT_EQ(exploreListAt(x, px(900), 1024, 768, {}), -2);  // no records: locked
}

class PlayRecords : public ::testing::Test {
protected:
    PlayOutcome play(int song, int score, float completion, float time, bool explore) {
        return recordPlay(done, best, longest, song, score, completion, time, explore);
    }
    std::vector<float> done = std::vector<float>(4, 0.0f);
    std::vector<float> best = std::vector<float>(4, 0.0f);
    std::vector<float> longest = std::vector<float>(4, 0.0f);
};

TEST_F(PlayRecords, FirstCompletionThenRepeatedCompletion) {
    PlayOutcome first = play(2, 500, 1.0f, 130.0f, false);
    EXPECT_TRUE(first.firstCompletion && first.levelCompleted && first.newRecord);
    EXPECT_EQ(first.resultString, "500");
    EXPECT_EQ(done[2], 1.0f);
    PlayOutcome again = play(2, 400, 1.0f, 130.0f, false);
    EXPECT_FALSE(again.firstCompletion || again.newRecord);
    EXPECT_TRUE(again.levelCompleted);
    EXPECT_EQ(best[2], 500.0f);
}

TEST_F(PlayRecords, HigherCompletionAloneIsNoRecordButAHigherScoreIs) {
    done[0] = 0.7f;
    play(0, 0, 0.5f, 40.0f, false);
    EXPECT_EQ(done[0], 0.7f);
    PlayOutcome better = play(0, 0, 0.9f, 40.0f, false);
    EXPECT_EQ(done[0], 0.9f);
    EXPECT_FALSE(better.newRecord || better.levelCompleted);
    EXPECT_TRUE(play(0, 1, 0.1f, 40.0f, false).newRecord);
}

TEST_F(PlayRecords, EqualExploreTimeIsNoRecord) {
    longest[1] = 95.45f;
    PlayOutcome equal = play(1, 0, 0.0f, 95.45f, true);
    EXPECT_FALSE(equal.newRecord);
    EXPECT_EQ(equal.resultString, "Time: 95.4s");
    EXPECT_TRUE(play(1, 0, 0.0f, 95.5f, true).newRecord);
    EXPECT_EQ(longest[1], 95.5f);
}

TEST_F(PlayRecords, SongsOutsideTheListAndNaNRecordsAreSafe) {
    EXPECT_EQ(play(4, 700, 1.0f, 50.0f, false).resultString, "700");
    EXPECT_FALSE(play(-1, 0, 0.0f, 50.0f, true).newRecord);
    EXPECT_EQ(done, std::vector<float>(4, 0.0f));
    best[0] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(play(0, 1000, 0.5f, 10.0f, false).newRecord);
}

TEST(CompletedSongs, SearchOneWayAndStayWhenNoneIsFound) {
    std::vector<float> done(4, 0.0f);
    EXPECT_TRUE(noneCompleted(done));
    EXPECT_EQ(nextCompletedIn(done, 3, true), 3);
    done[1] = 1.0f;
    EXPECT_FALSE(noneCompleted(done));
    EXPECT_EQ(nextCompletedIn(done, 3, false), 1);
    EXPECT_EQ(nextCompletedIn(done, 1, false), 1);
    EXPECT_EQ(nextCompletedIn(done, -1, true), 1);
    // Mouse results left in the highlighted entry never reach past the list.
    EXPECT_EQ(nextCompletedIn(done, 6, false), 1);
    EXPECT_EQ(nextCompletedIn(done, -2, true), 1);
    EXPECT_EQ(nextCompletedIn(done, 8, true), 8);
    EXPECT_EQ(wholePart(std::numeric_limits<float>::quiet_NaN()), 0);
}

// On a window whose pictures fill only its middle, a click where a song row is drawn hits
// that row, and a click in the bars beside the picture hits nothing.
TEST(HitTests, SongRowsAreHitWhereTheyAreDrawnOnEveryShape) {
    const unsigned shapes[][2] = {{2560, 1080}, {3840, 1080}, {1280, 1024},
                                  {1000, 1000}, {1920, 1080}, {1024, 768}};
    const float rowMiddles[5] = {867, 997, 1120, 1245, 1376};  // canvas y of rows 8, 1, 3, 2, 0
    const int rows[5] = {8, 1, 3, 2, 0};
    for (const auto& shape : shapes) {
        const DrawnArea a = drawnArea(shape[0], shape[1]);
        for (int r = 0; r < 5; ++r) {
            const float x = a.left + 1000 * a.width / 2048;
            const float y = a.top + rowMiddles[r] * a.height / 1536;
            EXPECT_EQ(songListAt(x, y, a), rows[r]) << shape[0] << "x" << shape[1];
        }
        // The back edge is the picture's left edge, not the window's.
        EXPECT_EQ(songListAt(a.left + 100 * a.width / 2048, a.top + a.height / 2, a), 5);
        if (a.left > 0) {
            EXPECT_EQ(songListAt(a.left / 2, a.top + a.height / 2, a), -1);
            EXPECT_EQ(menuSectorAt(a.left / 2, a.top + a.height / 2, a), -1);
        }
        if (a.top > 0) {
            EXPECT_EQ(songListAt(a.left + a.width / 2, a.top / 2, a), -1);
            EXPECT_EQ(menuSectorAt(a.left + a.width / 2, a.top / 2, a), -1);
            EXPECT_EQ(sidePanelAt(a.left + 380 * a.width / 2048, a.top / 2, a), 0);
        }
        // The main menu's right item, drawn on the right of the picture.
        EXPECT_EQ(menuSectorAt(a.left + 0.9f * a.width, a.top + a.height / 2, a), 1);
    }
}
