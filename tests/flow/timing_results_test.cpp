// The play's timing on its results: the counts a scripted player produces are the ones the
// results panel shows, and the picture stays inside the panel, off its buttons and pictures,
// at the three shapes of screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "assets/asset_files.h"
#include "board/route.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "ui/interface.h"
#include "ui/timing_chart.h"

namespace fs = std::filesystem;

namespace {

bool catchable(const Particle& p) {
    return !p.judged && (p.stage == 3 || (p.stage == 2 && p.frame >= p.frameCount - 5));
}

bool inside(const sf::FloatRect& r, float x, float y) {
    return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
}

}  // namespace

// The player aims each press, route by route in turn: too early (the creature two ticks
// before its hop ends), in time (landing tick 3), too late (landing tick 9), then lets one
// go. It presses only when that creature is the route's one catchable creature, so it knows
// the verdict of every press; what got away (or was spoilt by the key still down) it reads
// off the board as the creature ends. Explore plays end soon when a route fails; the player
// plays again from the results until it has made every kind of catch, and each results panel
// shows that play's counts alone.
TEST(TimingResults, ResultsShowTheCountsThePlayerProducedAndARestartClearsThem) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    {
        const float completed[12] = {1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
        std::ofstream out(folder.file("profile.zob"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(completed), sizeof completed);
    }
    Session s(640, 360);
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    Game& g = *s.app.game;
    ASSERT_TRUE(s.player.openSongList(true));
    ASSERT_TRUE(s.player.startListPosition(0));
    s.player.catching = false;

    CatchTally everyPlay;
    int plays = 0;
    for (; plays < 8; ++plays) {
        SCOPED_TRACE(testing::Message() << "play " << plays);
        ASSERT_EQ(ui.Screen, Exploring);
        std::array<CatchTally, 4> made;
        int aim[4] = {0, 0, 0, 0};  // 0 early, 1 in time, 2 late, 3 let it go
        for (float played = 0.0f; ui.Screen == Exploring && played < 600.0f;
             played += s.player.dt) {
            bool pressed[4] = {false, false, false, false};
            for (int r = 0; r < 4 && !ui.pauseShown; ++r) {
                const Route& route = g.routes[r];
                for (const Particle& p : route.particles) {
                    if (p.finished && p.judgement == 0) made[r].missed += 1;
                }
                if (route.buttonState != 0) continue;
                const Particle* target = nullptr;
                int n = 0;
                for (const Particle& p : route.particles) {
                    if (!catchable(p)) continue;
                    target = &p;
                    ++n;
                }
                if (n != 1) continue;
                const Particle& p = *target;
                if (aim[r] == 0 && p.stage == 2 && p.frame == p.frameCount - 2) {
                    made[r].early += 1;
                    pressed[r] = true;
                } else if (aim[r] == 1 && p.stage == 3 && p.frame == 3) {
                    made[r].good += 1;
                    pressed[r] = true;
                } else if (aim[r] == 2 && p.stage == 3 && p.frame == 9) {
                    made[r].late += 1;
                    pressed[r] = true;
                } else if (aim[r] == 3 && p.stage == 3 && p.frame == 3) {
                    aim[r] = 0;  // this one goes by
                    continue;
                }
                if (pressed[r]) {
                    aim[r] += 1;
                    s.platform.hold(s.app.options.routeKeys[r]);
                }
            }
            s.platform.advance(s.player.dt);
            ASSERT_TRUE(s.app.frame());
            for (int r = 0; r < 4; ++r) {
                if (pressed[r]) s.platform.release(s.app.options.routeKeys[r]);
            }
        }
        ASSERT_EQ(ui.Screen, Results);
        ASSERT_EQ(g.routes.size(), 4u);
        // A caught creature still on the board when the play ended was never settled (a
        // route settles its creatures at its next update, the one after they end): not
        // counted, even when it ended in the play's last frame.
        std::array<CatchTally, 4> endedTally = made;
        for (int r = 0; r < 4; ++r) {
            for (const Particle& p : g.routes[r].particles) {
                if (!p.judged) continue;
                if (p.judgement == 1) endedTally[r].good -= 1;
                if (p.judgement == -1) endedTally[r].early -= 1;
                if (p.judgement == -2) endedTally[r].late -= 1;
            }
        }
        s.player.wait(1.5f);  // the panel slides in
        if (plays == 0) {
            EXPECT_TRUE(keepScreenshot(s.platform, "timing_results_scripted_play.png"));
        }

        const TimingChart chart = s.app.timingChart();
        for (int r = 0; r < 4; ++r) {
            SCOPED_TRACE(testing::Message() << "route " << r);
            const CatchTally& ended = endedTally[r];
            const CatchTally& shown = chart.tallies[r];
            EXPECT_EQ(shown.early, ended.early);
            EXPECT_EQ(shown.good, ended.good);
            EXPECT_EQ(shown.late, ended.late);
            EXPECT_EQ(shown.missed, ended.missed);
            EXPECT_EQ(chart.missTexts[r].getString().toAnsiString(), std::to_string(ended.missed));
            everyPlay.early += ended.early;
            everyPlay.good += ended.good;
            everyPlay.late += ended.late;
            everyPlay.missed += ended.missed;
        }
        if (plays >= 1 && everyPlay.early > 0 && everyPlay.good > 0 && everyPlay.late > 0 &&
            everyPlay.missed > 0)
            break;
        s.player.tap(sf::Keyboard::Space);  // play again: the counts start from nothing
    }
    EXPECT_LT(plays, 8) << "the player never made every kind of catch";
    // Nothing of it is written down: the log has its start line only.
    const std::string log = folder.read("log.txt");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
}

// The picture alone, drawn onto a clear window-sized canvas: every pixel it colours lies
// inside the panel's card and the chart's stated area, off the two buttons' hit areas, the
// results pictures, the result text and the creatures at the foot of the panel, for a scored
// result (the tallest pictures: first completion, new record) and an explore time.
TEST(TimingResults, PictureStaysInsideThePanelAndOffItsButtonsAtEveryScreenShape) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    const std::array<CatchTally, 4> tallies = {
        // good, early, late, missed
        CatchTally{12, 3, 5, 7}, CatchTally{0, 0, 0, 0}, CatchTally{40, 0, 0, 888},
        CatchTally{1, 1, 1, 12345}};
    const sf::Vector2u sizes[3] = {{1920, 1080}, {1920, 1200}, {1024, 768}};
    for (const sf::Vector2u size : sizes) {
        const std::string name = std::to_string(size.x) + "x" + std::to_string(size.y);
        SCOPED_TRACE(name);
        Session s(size.x, size.y);
        ASSERT_EQ(s.start(), -1);
        Interface& ui = *s.app.iface;
        Game& g = *s.app.game;
        ASSERT_TRUE(s.player.openSongList(false));
        ASSERT_TRUE(s.player.startListPosition(0));
        s.player.wait(0.5f);
        for (int r = 0; r < 4; ++r) {
            g.routes[r].tally = tallies[r];
            // Catches 50 ms late on average, with the hint: every figure and the hint drawn.
            g.routes[r].timing = CatchTiming();
            for (int k = 0; k < 3; ++k) g.routes[r].timing.add(-1000.0 + 600.0 * k + 50.0 * r);
        }
        // An explore time on the last shape only: the result text keeps its height.
        const int variants = size.x == 1024 ? 2 : 1;
        for (int v = 0; v < variants; ++v) {
            const bool explore = v == 1;
            ui.pauseShown = false;
            ui.showResults(88888, 1.0f, 8888.8f, explore, g.mode);
            ui.Screen = Results;
            s.player.wait(1.5f);
            ASSERT_TRUE(ui.pauseSettled);
            if (!explore) {
                EXPECT_TRUE(keepScreenshot(s.platform, "timing_results_" + name + ".png"));
            }

            const TimingChart chart = s.app.timingChart();
            // Each bar is split early | good | late by the share of the catches, to the pixel;
            // a route that caught nothing shows an empty bar.
            const float shares[4][3] = {
                {0.15f, 0.60f, 0.25f}, {0, 0, 0}, {0, 1, 0}, {1 / 3.0f, 1 / 3.0f, 1 / 3.0f}};
            const char* misses[4] = {"7", "0", "888", "12345"};
            for (int r = 0; r < 4; ++r) {
                const float width = chart.frames[r].getSize().x;
                EXPECT_GT(width, 50.0f);
                for (int k = 0; k < 3; ++k) {
                    EXPECT_NEAR(chart.parts[r][k].getSize().x, shares[r][k] * width, 1.0f)
                        << "route " << r << " part " << k;
                }
                EXPECT_EQ(chart.missTexts[r].getString().toAnsiString(), misses[r]);
                EXPECT_EQ(chart.routeFigures[r].getString(),
                          TimingChart::figureText(-400.0 + 50.0 * r, 489.89794855663564));
            }
            EXPECT_EQ(chart.hintText.getString().toAnsiString(),
                      "on average 325 ms early: try the calibration");
            sf::RenderTexture alone;
            ASSERT_TRUE(alone.create(size.x, size.y));
            alone.clear(sf::Color::Transparent);
            alone.draw(chart);
            alone.display();
            const sf::Image drawn = alone.getTexture().copyToImage();

            const float w = static_cast<float>(size.x);
            const float h = static_cast<float>(size.y);
            const float top = ui.pauseSprite.getPosition().y;
            // The card of the panel picture, and the creatures standing at its foot.
            const sf::FloatRect card(148 * w / 2048, top, 1752 * w / 2048, 952 * h / 1536);
            std::vector<sf::FloatRect> keepClear;
            for (int r = 0; r < 4; ++r)
                keepClear.emplace_back((660 + 200 * r) * w / 2048, top + 875 * h / 1536,
                                       120 * w / 2048, 110 * h / 1536);
            for (int k : {11, 13, ui.levelCompleted ? 15 : 12})
                keepClear.push_back(ui.menuTextSprites[k].getGlobalBounds());
            if (ui.newRecord)
                keepClear.push_back(
                    ui.menuTextSprites[ui.firstCompletion ? 16 : 14].getGlobalBounds());
            keepClear.push_back(ui.resultText.getGlobalBounds());

            int coloured = 0;
            int outside = 0, onButton = 0, onPicture = 0, outsideArea = 0;
            for (unsigned y = 0; y < size.y; ++y) {
                for (unsigned x = 0; x < size.x; ++x) {
                    if (drawn.getPixel(x, y).a == 0) continue;
                    ++coloured;
                    const float px = x + 0.5f, py = y + 0.5f;
                    if (!inside(card, px, py)) ++outside;
                    if (ui.hitTestSidePanels(px, py) != 0) ++onButton;
                    if (!inside(chart.area, px, py)) ++outsideArea;
                    for (const sf::FloatRect& r : keepClear) {
                        if (inside(r, px, py)) {
                            ++onPicture;
                            break;
                        }
                    }
                }
            }
            EXPECT_GT(coloured, 400) << "explore " << explore;
            EXPECT_EQ(outside, 0) << "explore " << explore;
            EXPECT_EQ(onButton, 0) << "explore " << explore;
            EXPECT_EQ(onPicture, 0) << "explore " << explore;
            EXPECT_EQ(outsideArea, 0) << "explore " << explore;
        }
    }
}

// The figures of a play's catches: per route (left out for a route without catches) and for
// all routes, mean and spread (standard deviation) in whole ms; the hint beyond 25 ms early
// or late on average, and not within; nothing at all without catches.
TEST(TimingResults, FiguresOfTheCatchesAndTheHintBeyond25Ms) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    sf::Font font;
    ASSERT_TRUE(font.loadFromFile(fontFile()));
    const auto utf8 = [](const std::string& text) {
        return sf::String::fromUtf8(text.begin(), text.end());
    };
    const std::string minus = "\xe2\x88\x92", pm = " \xc2\xb1 ";
    struct Case {
        std::vector<double> catches[4];  // ms, positive late
        std::string figures[4];          // empty: left out
        std::string all;                 // empty: no figures at all
        std::string hint;
    };
    const Case cases[] = {
        {{{-40, -20}, {}, {50, 70, 90}, {0}},
         {minus + "30" + pm + "10", "", "+70" + pm + "16", "0" + pm + "0"},
         "all  +25" + pm + "48",
         ""},
        {{{40}, {40}, {}, {}},
         {"+40" + pm + "0", "+40" + pm + "0", "", ""},
         "all  +40" + pm + "0",
         "on average 40 ms late: try the calibration"},
        {{{}, {}, {-40}, {-40}},
         {"", "", minus + "40" + pm + "0", minus + "40" + pm + "0"},
         "all  " + minus + "40" + pm + "0",
         "on average 40 ms early: try the calibration"},
        {{{}, {}, {}, {25.6}},
         {"", "", "", "+26" + pm + "0"},
         "all  +26" + pm + "0",
         "on average 26 ms late: try the calibration"},
        {{{-25}, {}, {}, {}},
         {minus + "25" + pm + "0", "", "", ""},
         "all  " + minus + "25" + pm + "0",
         ""},
        {{{-26}, {}, {}, {}},
         {minus + "26" + pm + "0", "", "", ""},
         "all  " + minus + "26" + pm + "0",
         "on average 26 ms early: try the calibration"},
        {{{30, 20}, {}, {}, {}}, {"+25" + pm + "5", "", "", ""}, "all  +25" + pm + "5", ""},
        {{{}, {}, {}, {}}, {"", "", "", ""}, "", ""},
    };
    const std::array<CatchTally, 4> tallies = {CatchTally{3, 1, 1, 0}, CatchTally{}, CatchTally{},
                                               CatchTally{}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.all + " / " + c.hint);
        std::array<CatchTiming, 4> timings;
        for (int r = 0; r < 4; ++r) {
            for (double ms : c.catches[r]) timings[r].add(ms);
        }
        const TimingChart chart(tallies, timings, font, 1920, 1080, 0);
        EXPECT_EQ(chart.figuresShown, !c.all.empty());
        for (int r = 0; r < 4 && chart.figuresShown; ++r) {
            EXPECT_EQ(chart.routeFigures[r].getString(), utf8(c.figures[r])) << "route " << r;
        }
        if (chart.figuresShown) {
            EXPECT_EQ(chart.overallFigure.getString(), utf8(c.all));
        }
        EXPECT_EQ(chart.hintText.getString().toAnsiString(), c.hint);
    }
}
