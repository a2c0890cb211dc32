// The calibration pages, played through the real frame loop by a player who taps a known time
// after what they hear and see: the offsets come out of those times, and Apply keeps them.
#include "app/calibration.h"

#include <gtest/gtest.h>

#include <SFML/Audio.hpp>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/options_panel.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "support/window_events.h"
#include "ui/calibration_layout.h"
#include "ui/interface.h"
#include "ui/options_layout.h"

namespace {

enum class Means { keys, mouse, controller };

// How late (ms) the player taps, by the tap's number (settling taps counted), against the
// click or landing they tap for; jitter is a fixed pseudo-random number from -1 to 1. An
// early tap is made late for the beat before.
using Tapping = std::function<double(int tap, double jitter)>;

// This late, give or take jitterMs, and one tap late by wildMs instead.
Tapping steady(double lateMs, double jitterMs, int wildTap, double wildMs) {
    return [=](int tap, double jitter) {
        return tap == wildTap ? wildMs : lateMs + jitterMs * jitter;
    };
}

// A window point of the card, from card units.
sf::Vector2f cardPoint(const Interface& ui, float x, float y) {
    const float c = ui.windowWidth / 2048;
    return sf::Vector2f(ui.areaLeft + (ui.windowWidth - OptionsLayout::cardWidth * c) / 2 + x * c,
                        ui.areaTop + (ui.windowHeight - OptionsLayout::cardHeight * c) / 2 + y * c);
}

// Where the sound of a buffer first reaches a tenth of its peak, in seconds.
double onsetSeconds(const sf::SoundBuffer& buffer) {
    const sf::Int16* samples = buffer.getSamples();
    const std::size_t count = static_cast<std::size_t>(buffer.getSampleCount());
    int peak = 0;
    for (std::size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(int(samples[i])));
    for (std::size_t i = 0; i < count; ++i) {
        if (std::abs(int(samples[i])) * 10 >= peak) {
            return static_cast<double>(i / buffer.getChannelCount()) / buffer.getSampleRate();
        }
    }
    return -1.0;
}

// Plays the calibration pages as a player: frames come every 1/30 s from the moment a page
// shows (every 1/12 s, the fewest the game allows, in the listening test, so that each click
// starts well into its silent lead), and a tap comes in a frame of its own at the moment the
// player makes it (the clock is scripted, so its time is exact).
class CalibrationPlayer {
public:
    explicit CalibrationPlayer(Session& s) : s(s) {}

    double clock() const { return static_cast<double>(s.platform.now - s.platform.clockStart); }
    void frameAt(double t) {
        s.platform.now = s.platform.clockStart + static_cast<float>(t);
        ASSERT_TRUE(s.app.frame());
    }
    void press(Means means, sf::Keyboard::Key key, PadButton button) {
        if (means == Means::controller) {
            s.platform.padButton(0, button, true);
            s.platform.padButton(0, button, false);
        } else {
            s.platform.pushKey(key);
        }
    }
    void tapInput(Means means, int n) {
        if (means == Means::mouse) {
            const sf::Vector2f at = cardPoint(*s.app.iface, 400, 600);
            s.platform.pushClick(static_cast<int>(at.x), static_cast<int>(at.y));
        } else {
            const PadButton shoulders[2] = {PadButton::LeftShoulder, PadButton::RightShoulder};
            press(means, s.app.options.routeKeys[n % 4], shoulders[n % 2]);
        }
    }
    double jitter() {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 16) % 1001) / 500.0 - 1.0;  // -1 .. 1
    }

    // Taps through the test on the page shown now, until another page shows. The player
    // hears each click start (the click's sound begins its onset into the buffer, started at
    // an offset), or sees the creature touch its spot (where it rests before its first hop),
    // and taps as told; every click and every landing must fall on the test's beat.
    void playTest(Means means, const Tapping& tapping) {
        App& app = s.app;
        Interface& ui = *app.iface;
        const int page = app.calibrationPage;
        const bool listen = page == CalibrationPage::listen;
        const double start = clock();
        ASSERT_TRUE(listen || restTop >= 0) << "the creature seen at rest";
        const double clickLead = onsetSeconds(app.beatClickBuffer);
        ASSERT_GT(clickLead, 0.1) << "the click's silent lead";
        std::vector<double> taps;
        size_t nextTap = 0;
        double heard = app.beatClickStartedAt;
        double lastLanding = -1.0;
        // The beats still to come (a test may be joined late).
        int beats = 0;
        while (app.tapTest.grid.beat(beats) < start - 1e-3) ++beats;
        const double step = listen ? 1.0 / 12 : 1.0 / 30;
        int clicksEnded = 0;
        for (int n = 1; app.calibrationPage == page && ui.Screen == Calibration; ++n) {
            ASSERT_LT(clock() - start, 40.0) << "the test's end";
            double t = start + n * step;
            const bool tapNow = nextTap < taps.size() && taps[nextTap] <= t;
            if (tapNow) {
                t = taps[nextTap++];
                --n;
                tapInput(means, static_cast<int>(nextTap));
            }
            frameAt(t);
            if (app.calibrationPage != page) break;
            double sensed = -1.0;
            if (listen && app.beatClickStartedAt != heard) {
                heard = app.beatClickStartedAt;
                // The sound plays from the offset the click was started at, or further on (the
                // sound library plays on in real time), unless it has ended already.
                if (app.beatClick.getStatus() == sf::Sound::Playing) {
                    EXPECT_GE(app.beatClick.getPlayingOffset().asSeconds(),
                              app.beatClickOffset - 1e-3)
                        << "click " << beats;
                } else {
                    ++clicksEnded;
                }
                sensed = heard + clickLead - app.beatClickOffset;
            }
            const float y = ui.calibrationCreatureSprite.getPosition().y;
            if (!listen && std::fabs(y - restY) < 0.5f && t > app.tapTest.grid.beat(-1) &&
                t - lastLanding > 0.3) {
                lastLanding = t;
                // The frame shown is the one that shows it landed.
                EXPECT_EQ(ui.calibrationCreatureSprite.getTextureRect(), ui.creatureLanded);
                EXPECT_NEAR(creatureTop(), restTop, 1) << "drawn at " << t;
                sensed = t;
            }
            if (sensed < 0) continue;
            EXPECT_NEAR(sensed, app.tapTest.grid.beat(beats), 2e-4)
                << (listen ? "click " : "landing ") << beats;
            ++beats;
            const double late = tapping(static_cast<int>(taps.size()), jitter());
            taps.push_back(sensed + late / 1000.0);
        }
        // A slow machine (a sanitizer's build, say) may draw a frame longer than a click
        // lasts; at least one click must still be caught playing.
        if (listen) {
            EXPECT_LT(clicksEnded, beats) << "no click could be checked while it played";
        }
    }

    // The topmost row of the creature in the frame shown last: the first pixel that is not
    // the stage's white, down the creature's middle, from the stage's top to its spot.
    int creatureTop() const {
        const Interface& ui = *s.app.iface;
        const sf::Image frame = s.platform.lastFrame();
        const unsigned x = static_cast<unsigned>(ui.calibrationCreatureSprite.getPosition().x +
                                                 ui.areaLeft + 0.5f);
        const int from =
            static_cast<int>(cardPoint(ui, 0, CalibrationLayout::stageTop + 10).y + 0.5f);
        const int to = static_cast<int>(cardPoint(ui, 0, CalibrationLayout::spotY).y);
        for (int y = from; y < to; ++y) {
            const sf::Color c = frame.getPixel(x, static_cast<unsigned>(y));
            if (c.r < 235 || c.g < 235 || c.b < 235) return y;
        }
        return -1;
    }
    // One frame with the watching test's creature resting on its spot, before its hops: where
    // it rests, as the game places it and as the frame shows it.
    void seeCreatureAtRest() {
        frameAt(clock() + 1.0 / 30);
        ASSERT_EQ(s.app.calibrationPage, CalibrationPage::watch);
        ASSERT_LT(clock(), s.app.tapTest.grid.beat(-1));
        restY = s.app.iface->calibrationCreatureSprite.getPosition().y;
        restTop = creatureTop();
        ASSERT_GT(restTop, 0) << "the creature in the picture";
    }

    // Frames every 1/30 s until the condition holds (at most the given seconds).
    template <class Condition>
    bool waitFor(Condition done, double seconds) {
        const double until = clock() + seconds;
        while (!done() && clock() < until) frameAt(clock() + 1.0 / 30);
        return done();
    }

    Session& s;
    unsigned seed = 2024;
    float restY = -1.0f;
    int restTop = -1;
};

// Every text of the page stands inside the card's stage or margins, none on another.
void expectTextsApart(const Interface& ui) {
    const sf::Vector2f topLeft = cardPoint(ui, 20, 200);
    const sf::Vector2f bottomRight =
        cardPoint(ui, OptionsLayout::cardWidth - 20, OptionsLayout::cardHeight - 20);
    std::vector<sf::FloatRect> seen;
    for (int k = 0; k < CalibrationText::count; ++k) {
        const sf::Text& text = ui.calibrationTexts[static_cast<size_t>(k)];
        if (text.getString().isEmpty()) continue;
        const sf::FloatRect r = text.getGlobalBounds();
        EXPECT_TRUE(r.left >= topLeft.x - ui.areaLeft && r.top >= topLeft.y - ui.areaTop &&
                    r.left + r.width <= bottomRight.x - ui.areaLeft &&
                    r.top + r.height <= bottomRight.y - ui.areaTop)
            << "text " << k << " outside the card: " << text.getString().toAnsiString();
        EXPECT_GE(r.height, 9.0f) << "text " << k << " too small to read";
        for (const sf::FloatRect& other : seen)
            EXPECT_FALSE(r.intersects(other)) << "text " << k << " over another";
        seen.push_back(r);
    }
}

// At the top of its hop the creature stays inside the stage, clear of the texts around it.
void expectCreatureInStage(const Interface& ui) {
    namespace C = CalibrationLayout;
    const sf::Vector2f from = cardPoint(ui, C::stageLeft, C::stageTop);
    const sf::Vector2f to =
        cardPoint(ui, C::stageLeft + C::stageWidth, C::stageTop + C::stageHeight);
    const sf::FloatRect r = ui.calibrationCreatureSprite.getGlobalBounds();
    EXPECT_GT(ui.creatureHeight, 0.9f);
    EXPECT_TRUE(r.left >= from.x - ui.areaLeft && r.top >= from.y - ui.areaTop &&
                r.left + r.width <= to.x - ui.areaLeft && r.top + r.height <= to.y - ui.areaTop)
        << "the creature at " << r.left << "," << r.top << " size " << r.width << "x" << r.height;
}

std::string keptSetting(const GameFolder& folder, const std::string& name) {
    const std::string text = folder.read("settings.toml");
    const size_t at = text.find("\n" + name + " = ");
    if (at == std::string::npos) return "";
    const size_t from = at + name.size() + 4;
    return text.substr(from, text.find('\n', from) - from);
}

}  // namespace

// The keyboard, from the options panel's calibration row: the player taps 60 ms late on the
// clicks and 20 ms late on the landings, with a little jitter and one slip in each test; the
// offsets come out at 40 ms (audio) and 20 ms (input), and Apply sets them, keeps them in
// settings.toml and goes back to the panel.
TEST(CalibrationPages, TapsLateOnTheClicksAndTheLandingsGiveTheOffsetsAppliedAndKept) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s(1920, 1080);
    s.platform.keepFrames = true;
    ASSERT_EQ(s.start(), -1);
    App& app = s.app;
    Interface& ui = *app.iface;
    CalibrationPlayer player(s);
    s.player.wait(0.2f);
    s.player.tap(sf::Keyboard::Up);
    ASSERT_TRUE(player.waitFor([&] { return ui.Screen == OptionsPanel; }, 3.0)) << "the panel";
    for (int row = 0; row < OptionsRow::calibration; ++row) s.player.tap(sf::Keyboard::Down);
    ASSERT_EQ(ui.optionsRow, OptionsRow::calibration);
    s.player.tap(sf::Keyboard::Return);
    ASSERT_EQ(ui.Screen, Calibration);
    ASSERT_EQ(app.calibrationPage, CalibrationPage::listen);
    EXPECT_NE(app.menuSounds[1].getStatus(), sf::Sound::Playing) << "the menu music waits";
    player.frameAt(player.clock() + 1.0);
    EXPECT_TRUE(keepScreenshot(s.platform, "calibration_listen_1920x1080.png"));
    expectTextsApart(ui);

    player.playTest(Means::keys, steady(60.0, 8.0, 9, 260.0));
    ASSERT_EQ(app.calibrationPage, CalibrationPage::watch) << "the listening test measured";
    EXPECT_TRUE(app.listenResult.measured);
    EXPECT_EQ(app.listenResult.kept, 15) << "the slip dropped";
    EXPECT_NEAR(app.listenResult.medianMs, 60.0, 5.0);
    player.seeCreatureAtRest();
    // Midway through a hop, for the picture.
    player.frameAt(player.clock() + 1.5 + 0.3);
    player.frameAt(player.clock() + 1.0 / 30);
    expectCreatureInStage(ui);
    EXPECT_TRUE(keepScreenshot(s.platform, "calibration_watch_1920x1080.png"));
    expectTextsApart(ui);
    // The slip: 420 ms late, so 180 ms early for the next landing.
    player.playTest(Means::keys, steady(20.0, 8.0, 12, 420.0));
    ASSERT_EQ(app.calibrationPage, CalibrationPage::results);
    EXPECT_EQ(app.watchResult.kept, 15) << "the slip dropped";
    EXPECT_NEAR(app.watchResult.medianMs, 20.0, 5.0);
    EXPECT_GT(app.watchResult.spreadMs, 2.0);
    EXPECT_LT(app.watchResult.spreadMs, 8.0);

    player.frameAt(player.clock() + 0.1);
    EXPECT_TRUE(keepScreenshot(s.platform, "calibration_results_1920x1080.png"));
    expectTextsApart(ui);
    const int audio = app.measuredOffsets.audioMs;
    const int input = app.measuredOffsets.inputMs;
    EXPECT_NEAR(audio, 40, 5);
    EXPECT_NEAR(input, 20, 5);
    EXPECT_NE(ui.calibrationTexts[CalibrationText::result].getString().toAnsiString().find(
                  "+" + std::to_string(audio) + " ms"),
              std::string::npos);
    EXPECT_EQ(keptSetting(folder, "audio_offset"), "") << "nothing kept before Apply";

    // Apply is chosen: Return presses it.
    s.player.tap(sf::Keyboard::Return);
    EXPECT_EQ(ui.Screen, OptionsPanel);
    EXPECT_EQ(app.options.audioOffsetMs, audio);
    EXPECT_EQ(app.options.inputOffsetMs, input);
    EXPECT_EQ(keptSetting(folder, "audio_offset"), std::to_string(audio));
    EXPECT_EQ(keptSetting(folder, "input_offset"), std::to_string(input));
    EXPECT_EQ(app.menuSounds[1].getStatus(), sf::Sound::Playing) << "the menu music again";
}

// The mouse and a controller, at the two other shapes of screen: a listening test whose taps
// scatter cannot be measured, the page says so and Apply does nothing; Retry runs the tests
// again, now measured; Back leaves them unapplied.
TEST(CalibrationPages, MouseAndControllerRetryAfterScatteredTapsAndBackKeepsNothing) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    struct Shape {
        unsigned width, height;
        Means means;
    };
    for (const Shape shape :
         {Shape{1024, 768, Means::mouse}, Shape{1920, 1200, Means::controller}}) {
        const std::string name = std::to_string(shape.width) + "x" + std::to_string(shape.height);
        SCOPED_TRACE(name);
        Session s(shape.width, shape.height);
        s.platform.keepFrames = true;
        ASSERT_EQ(s.start(), -1);
        App& app = s.app;
        Interface& ui = *app.iface;
        CalibrationPlayer player(s);
        const bool mouse = shape.means == Means::mouse;
        if (!mouse) s.platform.plugPad(0, true);
        s.player.wait(0.2f);
        if (mouse) {
            s.player.clickAt(shape.width / 2.0f, 20);  // the top triangle
        } else {
            player.press(shape.means, sf::Keyboard::Up, PadButton::DpadUp);
        }
        ASSERT_TRUE(player.waitFor([&] { return ui.Screen == OptionsPanel; }, 3.0));
        if (mouse) {
            const float middle =
                OptionsLayout::rowTop(OptionsRow::calibration) + OptionsLayout::rowHeight / 2;
            const sf::Vector2f button =
                cardPoint(ui, OptionsLayout::buttonLeft + OptionsLayout::buttonWidth / 2, middle);
            s.player.clickAt(button.x, button.y);
        } else {
            for (int row = 0; row < OptionsRow::calibration; ++row) {
                player.press(shape.means, sf::Keyboard::Down, PadButton::DpadDown);
                player.frameAt(player.clock() + 1.0 / 60);
            }
            player.press(shape.means, sf::Keyboard::Return, PadButton::A);
        }
        player.frameAt(player.clock() + 1.0 / 60);
        ASSERT_EQ(ui.Screen, Calibration);

        // Scattered: after settling, 7 taps on the beat and 9 taps 250 ms off, late or early.
        player.playTest(shape.means, [](int tap, double) {
            const int measured = tap - TapTests::settleTaps;
            if (measured < 7) return 0.0;
            return measured % 2 == 1 ? 250.0 : 350.0;
        });
        ASSERT_EQ(app.calibrationPage, CalibrationPage::results) << "no watching test";
        EXPECT_FALSE(app.listenResult.measured);
        player.frameAt(player.clock() + 0.1);
        EXPECT_EQ(ui.calibrationTexts[CalibrationText::heading].getString().toAnsiString(),
                  "Could not measure");
        EXPECT_FALSE(ui.calibrationApplies);
        expectTextsApart(ui);
        EXPECT_TRUE(keepScreenshot(s.platform, "calibration_not_measured_" + name + ".png"));
        const auto pressButton = [&](int button) {
            if (mouse) {
                const sf::Vector2f at =
                    cardPoint(ui, CalibrationLayout::buttonLeft(button) + 100,
                              CalibrationLayout::buttonTop + CalibrationLayout::buttonHeight / 2);
                s.platform.pushClick(static_cast<int>(at.x), static_cast<int>(at.y));
            } else {
                while (app.calibrationChoice != button) {
                    const bool left = app.calibrationChoice > button;
                    player.press(shape.means, left ? sf::Keyboard::Left : sf::Keyboard::Right,
                                 left ? PadButton::DpadLeft : PadButton::DpadRight);
                    player.frameAt(player.clock() + 1.0 / 60);
                }
                player.press(shape.means, sf::Keyboard::Return, PadButton::A);
            }
            player.frameAt(player.clock() + 1.0 / 60);
        };
        pressButton(CalibrationButton::apply);
        EXPECT_EQ(ui.Screen, Calibration) << "nothing to apply";
        EXPECT_EQ(keptSetting(folder, "audio_offset"), "");
        pressButton(CalibrationButton::retry);
        ASSERT_EQ(app.calibrationPage, CalibrationPage::listen);
        EXPECT_FALSE(app.listenResult.measured);

        player.playTest(shape.means, steady(30.0, 6.0, 7, 400.0));
        ASSERT_EQ(app.calibrationPage, CalibrationPage::watch);
        player.seeCreatureAtRest();
        player.frameAt(player.clock() + 1.5 + 0.3);
        player.frameAt(player.clock() + 1.0 / 30);
        expectCreatureInStage(ui);
        expectTextsApart(ui);
        EXPECT_TRUE(keepScreenshot(s.platform, "calibration_watch_" + name + ".png"));
        player.playTest(shape.means, steady(30.0, 6.0, 7, 400.0));
        ASSERT_EQ(app.calibrationPage, CalibrationPage::results);
        EXPECT_NEAR(app.measuredOffsets.audioMs, 0, 5);
        EXPECT_NEAR(app.measuredOffsets.inputMs, 30, 5);
        player.frameAt(player.clock() + 0.1);
        expectTextsApart(ui);
        EXPECT_TRUE(keepScreenshot(s.platform, "calibration_results_" + name + ".png"));
        pressButton(CalibrationButton::back);
        EXPECT_EQ(ui.Screen, OptionsPanel);
        EXPECT_EQ(app.options.audioOffsetMs, 0);
        EXPECT_EQ(app.options.inputOffsetMs, 0);
        EXPECT_EQ(keptSetting(folder, "audio_offset"), "");
        EXPECT_EQ(keptSetting(folder, "input_offset"), "");
    }
}
