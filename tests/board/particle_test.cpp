#include "board/particle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

class ParticleTest : public testing::Test {
protected:
    void SetUp() override {
        Particle::atlasTextures = nullptr;
        Particle::boardScale = 1.0f;
        Particle::windowWidth = 2048.0f;
        Particle::menuTopOffset = 0.0f;
        Particle::frameRectScale = 1.0f;
    }
};

// A frame longer than a tick still advances a single frame.
void tick(Particle& p) {
    p.update(0.1f);
}

}  // namespace

TEST_F(ParticleTest, NeverCaughtHopsThroughThreeStagesThenPlaysTheDefaultLanding) {
    const float start[4][2] = {{1, 204}, {1701, 177.4f}, {1768, 880}, {-35, 882}};
    const float catchAt[4][2] = {{547, 397}, {1088, 410}, {1049, 557}, {549, 549}};
    const int landing[4] = {1, 2, 3, 3}, landingTicks[4] = {17, 20, 20, 20};
    for (int r = 0; r < 4; ++r) {
        Particle p(r, 0, 2, 1);
        EXPECT_EQ(p.sprite.getTextureRect(), sf::IntRect()) << "invisible before the first tick";
        p.update(0.05f);
        EXPECT_EQ(p.frame, 0);
        p.update(0.05f);
        EXPECT_EQ(p.frame, 1);
        if (r == 0) {
            EXPECT_EQ(p.sprite.getPosition(), sf::Vector2f(1 + 59, 204 + 37));
        }
        for (int t = 1; t < 19; ++t) tick(p);
        EXPECT_EQ(p.stage, 1);
        EXPECT_EQ(p.anim, 2);
        EXPECT_FLOAT_EQ(p.posX, start[r][0] + p.stepX);
        EXPECT_FLOAT_EQ(p.posY, start[r][1] + p.stepY);
        for (int t = 0; t < 38; ++t) tick(p);
        EXPECT_EQ(p.stage, 3);
        EXPECT_EQ(p.anim, landing[r]);
        EXPECT_FLOAT_EQ(p.posX, catchAt[r][0]);
        EXPECT_FLOAT_EQ(p.posY, catchAt[r][1]);
        for (int t = 1; t < landingTicks[r]; ++t) tick(p);
        EXPECT_FALSE(p.finished);
        tick(p);
        EXPECT_TRUE(p.finished && p.anim == -1 && p.judgement == 0);
    }
}

TEST_F(ParticleTest, JudgeCatchOverStageTwoAndTheLanding) {
    // Landing chosen for a catch at landing-timeline frames -5..12.
    const int route0[18] = {0, 0, 0, 3, 3, 3, 5, 5, 4, 4, 6, 6, 2, 2, 1, 1, 1, 1};
    const int others[18] = {0, 0, 0, 1, 1, 1, 4, 4, 5, 5, 6, 6, 2, 2, 3, 3, 3, 3};
    for (int r = 0; r < 4; ++r) {
        const int* table = r == 0 ? route0 : others;
        for (int f = 0; f < 19; ++f) {
            Particle p(r, 0, 0, 0);
            p.stage = 2;
            p.frame = f;
            int landing = p.judgeCatch();
            EXPECT_EQ(landing, f < 14 ? -1 : table[f - 14]);
            EXPECT_EQ(p.frame, f < 14 ? f : f - 19);
        }
        for (int f = 0; f < 13; ++f) {
            Particle p(r, 0, 0, 0);
            p.stage = 3;
            p.frame = f;
            EXPECT_EQ(p.judgeCatch(), table[f + 5]);
            p.judged = true;
            EXPECT_EQ(p.judgeCatch(), -1) << "an already judged particle";
            EXPECT_EQ(p.frame, f);
        }
    }
}

TEST_F(ParticleTest, RewindWalksBackFiveTicksThenCountsUpAgain) {
    // Frames shown over the five ticks after the rewind fires, by the frame it fired at.
    const int walk[8][5] = {
        {}, {}, {}, {}, {4, 4, 3, 2, 1}, {5, 4, 3, 2, 1}, {5, 4, 3, 2, 1}, {6, 5, 4, 3, 2}};
    bool stages[3] = {false, false, false};
    for (unsigned seed = 1; seed < 40; ++seed) {
        std::srand(seed);
        Particle p(3, 0, 0, 0);
        p.armRewind(1);
        ASSERT_TRUE(p.rewindStage == 1 || p.rewindStage == 2);
        ASSERT_TRUE(p.rewindFrame >= 4 && p.rewindFrame <= 7);
        stages[p.rewindStage] = true;
        for (int t = 0; t < 100 && p.rewindPending; ++t) tick(p);
        ASSERT_EQ(p.stage, p.rewindStage);
        int fired = p.frame;
        for (int t = 0; t < 5; ++t) {
            tick(p);
            EXPECT_EQ(p.frame, walk[fired][t]) << "fired at " << fired << " tick " << t;
        }
        tick(p);
        EXPECT_EQ(p.frame, walk[fired][4] + 1);
    }
    EXPECT_TRUE(stages[1] && stages[2]);
}

TEST_F(ParticleTest, BlinkFadesOutWithinThreeTicksAndBackInOverTheLastThree) {
    std::srand(2);
    Particle p(1, 0, 0, 0);
    p.armBlink(6);
    EXPECT_EQ(p.blinkLength, 18);
    EXPECT_EQ(p.blinkDepth, 3);
    for (int t = 0; t < 100 && p.blinkPending; ++t) tick(p);
    std::vector<int> alphas{p.sprite.getColor().a};
    for (int t = 0; t < 18; ++t) {
        tick(p);
        alphas.push_back(p.sprite.getColor().a);
    }
    std::vector<int> expected{255, 170, 85};
    expected.resize(16, 0);
    expected.insert(expected.end(), {85, 170, 255});
    EXPECT_EQ(alphas, expected);

    Particle hard(2, 0, 0, 0);
    hard.armBlink(16);  // the depth reaches zero: still a clean fade, no division by zero
    for (int t = 0; t < 100 && hard.blinkPending; ++t) tick(hard);
    tick(hard);
    EXPECT_EQ(hard.sprite.getColor().a, 0);
}

TEST_F(ParticleTest, ACopyLivesTheSameLife) {
    std::srand(21);
    Particle original(2, 4, 12, 14);
    original.armRewind(2);
    original.armBlink(5);
    for (int t = 0; t < 10; ++t) tick(original);
    std::vector<Particle> list(3, original);
    while (!original.finished) {
        tick(original);
        tick(list[1]);
        ASSERT_EQ(list[1].frame, original.frame);
        ASSERT_EQ(list[1].sprite.getPosition(), original.sprite.getPosition());
        ASSERT_EQ(list[1].sprite.getTextureRect(), original.sprite.getTextureRect());
        ASSERT_EQ(list[1].sprite.getColor(), original.sprite.getColor());
    }
    EXPECT_TRUE(list[1].finished);
}
