#include "board/route.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "board/anim_choice.h"
#include "board/anim_tables.h"
#include "core/songs.h"

namespace {

Route makeRoute(int song, int index) {
    Particle::atlasTextures = nullptr;
    Particle::boardScale = 1.0f;
    Particle::menuTopOffset = 0.0f;
    setupRouteLayout(nullptr, 2048.0f, 0.0f, modeOrder[song]);
    return Route(index, 1.0f);
}

// Seeds the generator so that its next draw satisfies the test.
template <typename Wanted>
void seedWhere(Wanted wanted) {
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        if (!wanted(std::rand())) continue;
        std::srand(seed);
        return;
    }
}

void addFinished(Route& route, int judgement) {
    route.launchParticle(0, 0, 0);
    route.particles.back().finished = true;
    route.particles.back().judgement = judgement;
}

bool easy(int route, const Particle& p) {
    std::set<int> row(animChoiceTable[route][0], animChoiceTable[route][0] + 5);
    return row.count(p.anims[0]) && row.count(p.anims[1]) && row.count(p.anims[2]);
}

}  // namespace

TEST(RouteSetUp, TablesOfEachSongAndRoute) {
    // Per song: miss tolerance, gauge size (11 cells of 2, 3, 3 or 4 points; song 2's
    // route 0 has one point more per cell), layers per route (song 2's route 0 keeps its
    // last two for its special) and the start one beat apart (140, 145, 125.8, 120 bpm).
    struct Case {
        int tolerance;
        int fillMax[4];
        int layers[4];
        float beatTimer[4];
    };
    const Case cases[4] = {
        {2, {22, 22, 22, 22}, {7, 7, 7, 7}, {0.0f, -0.4285714f, -0.8571429f, -1.2857143f}},
        {1, {33, 33, 33, 33}, {5, 5, 5, 5}, {0.0f, -0.4137931f, -0.8275862f, -1.2413793f}},
        {1, {44, 33, 33, 33}, {4, 7, 5, 5}, {0.0f, -0.4769475f, -0.9538951f, -1.4308426f}},
        {0, {44, 44, 44, 44}, {5, 5, 5, 6}, {0.0f, -0.5f, -1.0f, -1.5f}},
    };
    for (int song = 0; song < 4; ++song) {
        for (int i = 0; i < 4; ++i) {
            Route route = makeRoute(song, i);
            const Case& c = cases[song];
            EXPECT_EQ(route.song, song);
            EXPECT_EQ(route.missTolerance, c.tolerance) << song;
            EXPECT_EQ(route.fillMax, c.fillMax[i]) << song << " " << i;
            EXPECT_EQ(route.layerTotal, c.layers[i]) << song << " " << i;
            EXPECT_FLOAT_EQ(route.beatTimer, c.beatTimer[i]) << song << " " << i;
        }
    }
    setupRouteLayout(nullptr, 1024.0f, 171.0f, 0);
    Route route(0, 1.0f);
    EXPECT_FLOAT_EQ(route.buttonPosY, (504.0f - 171.0f) * 0.5f);
    sf::Vector2i offset = gaugeFrameOffset(0, 1, 0);  // one spacing from the origin
    EXPECT_EQ(route.gaugeSprites[1].getPosition(),
              sf::Vector2f(static_cast<int>(0.5f * offset.x + 268.5f),
                           static_cast<int>(0.5f * offset.y + 218.5f)));
}

TEST(RouteLauncher, FirstLaunchComesAfterTheWarmUpAtLevelZero) {
    for (int song = 0; song < 4; ++song) {
        for (unsigned seed = 1; seed <= 4; ++seed) {
            std::srand(seed);
            Route route = makeRoute(song, 2);
            float time = 0.0f;
            for (; route.particles.empty() && time < 60.0f; time += 1.0f / 60.0f)
                route.update(1.0f / 60.0f);
            ASSERT_EQ(route.particles.size(), 1u);
            // Two beats of offset, three warm-up beats at the least, then the launch beat.
            EXPECT_GE(time, 6.0f * 60.0f / songBpm[song] - 0.02f);
            EXPECT_TRUE(easy(2, route.particles[0]));
            const int* a = route.particles[0].anims;
            EXPECT_EQ(route.minWait, minWaitOf(a[0], a[1], a[2], 2) + 2 + (song == 0 ? 1 : 0));
            EXPECT_EQ(route.phase, 4);
        }
    }
}

TEST(RouteLauncher, WaitsRollsAndTheFullGaugeUsesTheLaunchChanceOfLevelNine) {
    Route route = makeRoute(2, 1);  // song 2: chance 8 of 15 at level 9
    route.phase = 4;
    route.minWait = 3;
    route.waitCounter = 3;
    std::srand(17);
    int next = std::rand();
    std::srand(17);
    route.launchPhase();
    EXPECT_EQ(route.waitCounter, 4);
    EXPECT_EQ(std::rand(), next) << "a waiting beat draws nothing";
    for (int level : {9, 10}) {
        route.gaugeLevel = level;
        route.particles.clear();
        route.waitCounter = 9;
        seedWhere([](int r) { return r % 15 == 8; });
        route.launchPhase();
        EXPECT_TRUE(route.particles.empty());
        EXPECT_EQ(route.waitCounter, 1) << "a failed roll starts the wait again";
        route.waitCounter = 9;
        seedWhere([](int r) { return r % 15 == 7; });
        route.launchPhase();
        EXPECT_EQ(route.particles.size(), 1u);
    }
}

TEST(RouteLauncher, TutorialLaunchesOnRequestAndReportsTheVerdict) {
    Route route = makeRoute(3, 0);
    route.phase = 9;
    route.launchPhase();
    EXPECT_TRUE(route.particles.empty());
    route.tutorialLaunch = true;
    route.launchPhase();
    ASSERT_EQ(route.particles.size(), 1u);
    EXPECT_FALSE(route.tutorialLaunch);
    EXPECT_TRUE(easy(0, route.particles[0]));
    route.particles[0].finished = true;
    route.particles[0].judgement = -2;
    route.resolveParticles();
    EXPECT_EQ(route.tutorialResult, -3);
    addFinished(route, 1);
    route.resolveParticles();
    EXPECT_EQ(route.tutorialResult, 1);
}

TEST(RouteButton, PressWithNothingInRangeStillAnimatesTheButton) {
    Route route = makeRoute(0, 2);
    route.buttonState = 1;
    const int states[4] = {2, 3, 3, 0};
    const sf::IntRect shown[4] = {buttonFrameRect(2, 1, 1), buttonFrameRect(2, 1, 0),
                                  buttonFrameRect(2, 1, 0), sf::IntRect()};
    for (int t = 0; t < 4; ++t) {
        route.updateButton(0.05f);
        EXPECT_EQ(route.buttonState, states[t]);
        EXPECT_EQ(route.buttonSprite.getTextureRect(), shown[t]);
    }
    EXPECT_TRUE(route.missedPress);
}

TEST(RouteButton, PressJudgesEveryParticleInItsWindowAndAHeldKeySpoils) {
    Route route = makeRoute(0, 1);
    const int stage[4] = {3, 2, 2, 3}, frame[4] = {3, 16, 5, 2};
    for (int i = 0; i < 4; ++i) {
        route.launchParticle(0, 0, 0);
        route.particles[i].stage = stage[i];
        route.particles[i].frame = frame[i];
    }
    route.particles[3].judged = true;  // judged by an earlier press
    route.buttonState = 1;
    route.updateButton(0.01f);
    EXPECT_FALSE(route.missedPress);
    EXPECT_EQ(route.particles[0].judgement, 1);  // landed: good
    EXPECT_EQ(route.particles[0].anim, 5);
    EXPECT_EQ(route.particles[1].judgement, -1);  // still in the air: early
    EXPECT_EQ(route.particles[1].frame, -3);
    EXPECT_EQ(route.particles[1].frameCount, 15);
    EXPECT_FLOAT_EQ(route.particles[1].posX, 1088.0f);
    EXPECT_FALSE(route.particles[2].judged);  // far away
    EXPECT_EQ(route.particles[3].judgement, 0);
    for (int t = 0; t < 10; ++t) route.particles[2].update(0.1f);
    route.buttonTimer = 0.0f;  // the key is still down
    route.updateButton(0.01f);
    EXPECT_TRUE(route.particles[2].judged);
    EXPECT_EQ(route.particles[2].anim, 0);
    EXPECT_EQ(route.particles[2].judgement, 0);
}

// With an input offset a press counts as made that much earlier (later when negative), and
// the catch rules judge it at that moment. On route 1 a catch at landing frame 0 or before is
// early, at 1..6 good, at 7 or after late; frames last 1/12 s; the last five frames of the hop
// before the landing (-5..-1) can be caught early; a held key spoils what comes into reach.
// Each case: where the creature stands when the key goes down, and the verdicts with no
// offset, +20 ms and -20 ms.
TEST(RouteButton, APressIsJudgedAtItsTimeShiftedByTheInputOffset) {
    struct Outcome {
        int verdict;  // 1 good, -1 early, -2 late, 0 spoilt or never caught, 9 not judged
        bool nothingCaught;
    };
    struct Case {
        const char* what;
        int stage;
        int frame;
        float since;                       // seconds since the creature's frame began, at the press
        int framesBefore;                  // frames of 10 ms run before the press
        float speedFactor;                 // of the route
        Outcome none, later20, earlier20;  // input offset 0, +20 ms, -20 ms
    };
    const Outcome good{1, false}, early{-1, false}, late{-2, false}, spoilt{0, true},
        missed{0, true};
    const Case cases[] = {
        {"first frame of the early window, 10 ms in", 2, 14, 0.010f, 0, 1.0f, early, spoilt, early},
        {"one frame before the window, 13 ms to go", 2, 13, 0.070f, 0, 1.0f, spoilt, spoilt, early},
        {"first good frame, 15 ms in", 3, 1, 0.015f, 0, 1.0f, good, early, good},
        {"last early frame, 13 ms to go", 3, 0, 0.070f, 0, 1.0f, early, early, good},
        {"first late frame, 5 ms in", 3, 7, 0.005f, 0, 1.0f, late, good, late},
        {"last good frame, 8 ms to go", 3, 6, 0.075f, 0, 1.0f, good, good, late},
        {"first late frame, 30 ms in, twice as fast", 3, 7, 0.030f, 0, 2.0f, late, good, late},
        {"the landing ended uncaught 17 ms before", 3, 19, 0.080f, 2, 1.0f, missed, late, missed},
        {"the landing ended uncaught 37 ms before", 3, 19, 0.080f, 4, 1.0f, missed, missed, missed},
    };
    for (const Case& c : cases) {
        for (int shift : {0, 20, -20}) {
            SCOPED_TRACE(testing::Message() << c.what << ", input offset " << shift << " ms");
            Route route = makeRoute(0, 1);
            route.inputShift = static_cast<float>(shift) / 1000.0f;
            route.speedFactor = c.speedFactor;
            route.launchParticle(0, 0, 0);
            Particle& p = route.particles[0];
            p.stage = c.stage;
            p.frame = c.frame;
            p.frameTimer = c.since;
            if (c.stage == 3) {
                p.anim = defaultLanding[1];
                p.frameCount = animFrameCount(1, p.anim, true);
            }
            auto frame = [&route] {
                route.updateButton(0.01f);
                route.resolveParticles();
                route.updateParticles(0.01f * route.speedFactor);
            };
            for (int f = 0; f < c.framesBefore; ++f) frame();
            route.buttonState = ButtonState::pressed;
            for (int f = 0; f < 6; ++f) frame();
            Outcome got{9, route.missedPress};
            const CatchTally& t = route.tally;
            if (!route.particles.empty()) {
                if (route.particles[0].judged) got.verdict = route.particles[0].judgement;
            } else {
                got.verdict = t.good ? 1 : t.early ? -1 : t.late ? -2 : 0;
            }
            const Outcome& expected = shift == 0 ? c.none : shift > 0 ? c.later20 : c.earlier20;
            EXPECT_EQ(got.verdict, expected.verdict);
            EXPECT_EQ(got.nothingCaught, expected.nothingCaught);
        }
    }
}

TEST(RouteResolve, MissToleranceOfEachSong) {
    const int expected[2][4] = {{7, 6, 5, 4}, {8, 8, 7, 6}};  // song 3 forgives none, song 0 two
    for (int which = 0; which < 2; ++which) {
        Route route = makeRoute(which == 0 ? 3 : 0, 0);
        route.fillCount = 8;
        for (int miss = 0; miss < 4; ++miss) {
            addFinished(route, -miss % 3);
            route.resolveParticles();
            EXPECT_EQ(route.fillCount, expected[which][miss]) << "miss " << miss;
        }
        addFinished(route, 1);
        testing::internal::CaptureStdout();
        route.resolveParticles();
        EXPECT_NE(testing::internal::GetCapturedStdout().find("coucou firstgrab"),
                  std::string::npos);
        EXPECT_TRUE(route.firstGrabEvent);
        EXPECT_EQ(route.missStreak, 0);
        EXPECT_EQ(route.hits * 10 + route.misses, 14);
        EXPECT_EQ(route.fillCount, expected[which][3] + 1);
        EXPECT_TRUE(route.particles.empty());
        route.finalSignal = true;
        addFinished(route, 1);
        addFinished(route, -2);
        route.resolveParticles();
        EXPECT_TRUE(route.hitEvent && route.missEvent);
        EXPECT_EQ(route.fillCount, expected[which][3] + 1);
    }
}

TEST(RouteResolve, ExploreFailureAtAnEmptyGaugeStopsThePlay) {
    Route route = makeRoute(0, 2);
    route.exploreMode = 1;
    route.gaugeLevel = 3;
    addFinished(route, -1);
    route.resolveParticles();
    EXPECT_FALSE(route.stopEvent);
    EXPECT_EQ(route.gaugePhase, -1);
    route.gaugeLevel = 0;
    addFinished(route, 1);
    addFinished(route, 0);
    route.resolveParticles();
    EXPECT_TRUE(route.stopEvent);
    EXPECT_EQ(route.misses + route.hits + route.missStreak + route.fillCount, 0);
}

TEST(RouteParticles, RaisedSpeedFactorHalvesTheParticlesLife) {
    for (float speed : {1.0f, 2.0f}) {
        Route route = makeRoute(1, 2);
        route.phase = 8;
        route.speedFactor = speed;
        route.launchParticle(0, 2, 0);
        int frames = 0;
        for (; !route.particles[0].finished && frames < 1000; ++frames) route.update(0.05f);
        // 3 x 19 regular frames and 20 landing frames, 12 a second of game time.
        if (speed == 2.0f)
            EXPECT_EQ(frames, 77);
        else
            EXPECT_NEAR(frames * 0.05f, 77.0f / 12.0f, 0.05f);
    }
}

TEST(RouteGauge, CellFillsDrainsAndRefills) {
    for (int index : {0, 3}) {
        Route route = makeRoute(1, index);  // three points per level
        auto shows = [&](int state) {
            int record = index == 3 ? (state + 1) % 3 : state;  // route 3 shifts its states
            return route.gaugeSprites[0].getTextureRect() == gaugeFrameRect(index, 0, record);
        };
        route.setFillCount(1);
        for (int state = 0; state < 3; ++state) {
            route.updateGauge(0.2f);
            EXPECT_EQ(route.gaugeLevel, 1);
            EXPECT_TRUE(shows(state)) << "fill state " << state;
        }
        route.updateGauge(0.2f);
        EXPECT_EQ(route.gaugePhase, 3);
        route.setFillCount(2);  // same level, higher: drains and refills, twice as fast
        const int refill[7] = {1, 0, 0, 0, 1, 2, 2};
        for (int t = 0; t < 7; ++t) {
            route.updateGauge(0.1f);
            EXPECT_TRUE(shows(refill[t])) << "refill tick " << t;
        }
        EXPECT_EQ(route.gaugePhase, 3);
        route.setFillCount(0);  // a level lost: the top cell drains away
        route.updateGauge(0.2f);
        EXPECT_TRUE(shows(1));
        route.updateGauge(0.2f);
        EXPECT_TRUE(shows(0));
        route.updateGauge(0.2f);
        EXPECT_EQ(route.gaugeLevel, 0);
        route.gaugePhase = -1;  // draining an empty gauge
        for (int t = 0; t < 4; ++t) route.updateGauge(0.2f);
        EXPECT_EQ(route.gaugeLevel, 0);
    }
    Route route = makeRoute(1, 1);
    route.setFillCount(-1);
    EXPECT_EQ(route.fillCount, 0);
    route.setFillCount(route.fillMax + 5);
    EXPECT_EQ(route.fillCount, route.fillMax);
    EXPECT_EQ(route.fillLevel(route.fillCount), 10);
}

TEST(RouteCopy, ACopiedRouteLivesTheSameLife) {
    std::srand(5);
    Route original = makeRoute(3, 1);
    for (int t = 0; t < 300; ++t) original.update(1.0f / 30.0f);
    ASSERT_FALSE(original.particles.empty());
    std::vector<Route> list(2, original);
    for (unsigned t = 0; t < 200; ++t) {
        std::srand(t);
        original.update(1.0f / 30.0f);
        std::srand(t);
        list[1].update(1.0f / 30.0f);
        ASSERT_EQ(list[1].particles.size(), original.particles.size());
        ASSERT_EQ(list[1].waitCounter, original.waitCounter);
        ASSERT_EQ(list[1].slimeSprite.getPosition(), original.slimeSprite.getPosition());
        for (size_t i = 0; i < original.particles.size(); ++i)
            ASSERT_EQ(list[1].particles[i].sprite.getPosition(),
                      original.particles[i].sprite.getPosition());
    }
}

TEST(RouteResolve, EveryEndedCreatureCountsOnceInTheTimingTallyOfAnyPlay) {
    // good, early, late, never caught (or spoilt), in scored, explore and final-stage plays.
    const int judgements[] = {1, -1, -2, 0, 1, -2, 0, 0, 1};
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        Route route = makeRoute(3, 1);
        route.exploreMode = kind == 1 ? 1 : 0;
        route.gaugeLevel = 5;
        route.finalSignal = kind == 2;
        route.launchParticle(0, 0, 0);  // still on its way: not counted
        for (int j : judgements) addFinished(route, j);
        testing::internal::CaptureStdout();
        route.resolveParticles();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(route.tally.good, 3);
        EXPECT_EQ(route.tally.early, 1);
        EXPECT_EQ(route.tally.late, 2);
        EXPECT_EQ(route.tally.missed, 3);
        EXPECT_EQ(route.particles.size(), 1u);
    }
}

TEST(RouteTiming, EachCatchCountsHowFarItCameFromTheMiddleOfTheGoodWindow) {
    // Presses one at a time, each on one creature at a known moment of its timeline; the
    // middle of the good window (landing frames 1 to 6) is 4 ticks into the landing, and a
    // tick is 1/12 s of the creature's time.
    struct Press {
        int stage;
        int frame;
        float frameTimer;
        float speedFactor;
        double lateMs;
    };
    const Press presses[] = {
        {3, 3, 1.0f / 24, 1.0f, -41.666667},  // half a tick early, still good
        {3, 4, 0.0f, 1.0f, 0.0},              // on the moment
        {3, 9, 1.0f / 48, 1.0f, 437.5},       // late
        {2, 17, 0.0f, 1.0f, -500.0},          // still in the air: 2 ticks before the landing
        {3, 6, 0.0f, 2.0f, 83.333333},        // 2 ticks late at twice the speed: 1/12 s
    };
    Route route = makeRoute(1, 2);
    for (const Press& p : presses) {
        route.speedFactor = p.speedFactor;
        route.particles.clear();
        route.launchParticle(0, 0, 0);
        Particle& creature = route.particles.back();
        creature.stage = p.stage;
        creature.frame = p.frame;
        creature.frameTimer = p.frameTimer;
        const double before = route.timing.sumMs;
        route.buttonState = 1;
        route.updateButton(0.0f);
        EXPECT_NEAR(route.timing.sumMs - before, p.lateMs, 1e-3) << p.stage << " " << p.frame;
        route.buttonState = 0;
    }
    // A press that catches nothing, and a creature spoilt by a held key, are no catches.
    route.particles.clear();
    route.buttonState = 1;
    route.updateButton(0.0f);
    route.buttonState = 0;
    route.launchParticle(0, 0, 0);
    route.particles.back().stage = 3;
    route.buttonState = 2;
    route.buttonTimer = 0.0f;
    route.updateButton(0.0f);
    EXPECT_TRUE(route.particles.back().judged);
    EXPECT_EQ(route.timing.count, 5);
    EXPECT_NEAR(route.timing.meanMs(), -4.1666667, 1e-3);
    EXPECT_NEAR(route.timing.spreadMs(), 300.0, 1e-3);
    // A route without catches has no figures to speak of.
    EXPECT_EQ(makeRoute(1, 0).timing.count, 0);
    EXPECT_EQ(makeRoute(1, 0).timing.spreadMs(), 0.0);
}
