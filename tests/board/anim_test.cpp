#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "board/anim_choice.h"
#include "board/anim_tables.h"

static std::set<int> rowOf(int route, int level) {
    return std::set<int>(animChoiceTable[route][level], animChoiceTable[route][level] + 5);
}

TEST(ChooseAnim, DrawsEveryCandidateOfTheLevelsRowAndNothingElse) {
    std::srand(7);
    for (int route = 0; route < 4; ++route) {
        for (int level = 0; level <= 10; ++level) {
            std::set<int> seen;
            for (int i = 0; i < 200; ++i) seen.insert(choose_anim(level, route, 5));
            EXPECT_EQ(seen, rowOf(route, level)) << "route " << route << " level " << level;
            for (int anim : seen) EXPECT_LT(anim, animMinWaitLength[route]) << "has a wait";
        }
    }
}

TEST(ChooseAnim, RouteZeroStepsDownFromTwentyAfterAShortWait) {
    std::srand(3);
    for (int i = 0; i < 60; ++i) {
        testing::internal::CaptureStdout();
        int anim = choose_anim(8, 0, 3);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(anim == 22 || anim == 18 || anim == 19) << anim;
        EXPECT_EQ(out, anim == 22 ? "" : "previousWait too little ! Changing anim pw: 3 ret: 20\n");
    }
    bool routeZero = false, routeOne = false;
    for (int i = 0; i < 60; ++i) {
        routeZero |= choose_anim(8, 0, 5) == 20;
        routeOne |= choose_anim(8, 1, 0) == 20;
    }
    EXPECT_TRUE(routeZero && routeOne) << "a long wait, or another route, accepts 20";
}

TEST(ChooseAnim, LevelOutsideTheTableWritesTheMessageThenClamps) {
    std::srand(11);
    for (int i = 0; i < 30; ++i) {
        testing::internal::CaptureStderr();
        int high = choose_anim(14, 2, 5);
        int low = choose_anim(-3, 2, 5);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR choose_anim\nERROR choose_anim\n");
        EXPECT_TRUE(rowOf(2, 10).count(high));
        EXPECT_TRUE(rowOf(2, 0).count(low));
    }
    EXPECT_EQ(choose_anim(5, 4, 5), 0);
}

TEST(MinWaitOf, LongestOfTheThreeAndNoWaitOutsideTheTable) {
    EXPECT_EQ(minWaitOf(15, 15, 0, 3), 4);
    EXPECT_EQ(minWaitOf(0, 1, 2, 0), 3);
    EXPECT_EQ(minWaitOf(24, 0, 0, 1), 2);
    EXPECT_EQ(minWaitOf(1, 1, 1, 4), 0);
    EXPECT_EQ(minWaitOf(24, -1, 99, 0), 0);  // route 0's animation 24 has no wait
}

TEST(AnimLookups, CountsRecordsAndOutOfRange) {
    EXPECT_EQ(animFrameCount(2, 0, true), 14);
    EXPECT_EQ(animFrameCount(3, 23, false), 19);
    EXPECT_EQ(animFrameCount(4, 0, false), -1);
    EXPECT_EQ(animFrameCount(0, 25, false), -1);
    // A landing entered at counter -5 is looked up at 0: its first record.
    EXPECT_EQ(animFrameRecord(0, 0, -5 + 5, true), &frameTable[0][475]);
    EXPECT_EQ(animFrameRecord(3, 6, 0, true), &frameTable[3][593]);
    EXPECT_EQ(animFrameRecord(2, 25, 18, false), &frameTable[2][493]);
    EXPECT_EQ(animFrameRecord(0, 0, 16, true), nullptr);
    EXPECT_EQ(animFrameOffset(0, 0, 0, false), sf::Vector2i(70, 72));
    EXPECT_EQ(animFrameRect(0, 0, 1, false), sf::IntRect(0, 0, 102, 119));
    EXPECT_EQ(animFrameRect(0, 0, 19, false), sf::IntRect());
    EXPECT_EQ(gaugeFrameRect(0, 0, 1), sf::IntRect(263, 674, 90, 102));
    EXPECT_EQ(gaugeFrameOffset(0, 0, 2), sf::Vector2i(0, 7));
    EXPECT_EQ(buttonFrameRect(2, 3, 1), sf::IntRect(0, 0, 132, 90));
    EXPECT_EQ(buttonFrameRect(0, 4, 0), sf::IntRect());
    EXPECT_EQ(slimeFrameRect(0, 0, 10), sf::IntRect());
    EXPECT_EQ(volumeFrameOffset(0), sf::Vector2i(41, 6));
}
