// The calibration pages, from the options panel's calibration row: two short tap tests, one
// on a click the player hears with the screen still, one on a creature the player sees land
// with the sound off, then their results, which the player applies (both offsets are kept in
// the settings file), tries again or leaves.
//
// The beats are timed on the frame loop's clock and taps are stamped with the time of the
// frame they arrive in: the events carry no time of their own, so a tap is up to one frame
// late, alike in both tests (the audio offset, a difference of the two, does not see it).
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/options_panel.h"
#include "assets/asset_files.h"
#include "board/anim_tables.h"
#include "game/game.h"
#include "ui/interface.h"

namespace {
// Seconds of silence before the click in its buffer: a click is started up to this long
// ahead of its beat. Frames come at least 12 times a second, so one of them always falls in
// that time.
const double beatClickLead = 0.15;
// A click whose beat went by longer ago than this (a long stall of the frames) is left out.
const double beatClickLate = 0.03;
// The creature of the watch test: the blue route's first animation, one picture stretched in
// the air and one squashed as it lands.
const int creatureRoute = 1;
const int creatureFlyingFrame = 1;
const int creatureLandedFrame = 2;

std::string signedMs(int ms) {
    return (ms > 0 ? "+" : "") + std::to_string(ms) + " ms";
}

// What the page's texts say changes with the page, the taps and the beats' start.
int progressOf(int page, const TapTest& test, double now) {
    return page * 1000 + test.tapCount * 2 + (now < test.grid.beat(0) ? 0 : 1);
}

// The route of a route key, -1 for another key.
int routeOfKey(sf::Keyboard::Key key, const sf::Keyboard::Key (&keys)[4]) {
    for (int r = 0; r < 4; ++r) {
        if (key == keys[r]) return r;
    }
    return -1;
}
}  // namespace

bool App::loadBeatClick() {
    if (beatClickLoaded) return true;
    sf::SoundBuffer click;
    if (!click.loadFromFile(calibrationClickFile())) return false;
    const unsigned channels = click.getChannelCount();
    const unsigned rate = click.getSampleRate();
    const std::size_t lead = static_cast<std::size_t>(beatClickLead * rate + 0.5) * channels;
    std::vector<sf::Int16> samples(lead, 0);
    samples.insert(samples.end(), click.getSamples(), click.getSamples() + click.getSampleCount());
    if (!beatClickBuffer.loadFromSamples(samples.data(), samples.size(), channels, rate))
        return false;
    beatClick.setBuffer(beatClickBuffer);
    beatClickLoaded = true;
    return true;
}

void App::openCalibration() {
    Interface& ui = *iface;
    if (!ui.loadCalibrationPictures() || !loadBeatClick()) {
        std::cout << "error loading calibration" << std::endl;
        errorSound();
        return;
    }
    click();
    const sf::Texture& creature = atlasTextures[creatureRoute][0];
    ui.calibrationCreatureSprite.setTexture(creature);
    ui.creatureFlying = animFrameRect(creatureRoute, 0, creatureFlyingFrame, false);
    ui.creatureLanded = animFrameRect(creatureRoute, 0, creatureLandedFrame, false);
    // The tests need quiet: the menu music waits until the pages are left.
    menuMusicPaused = menuSounds.size() >= 4 && menuSounds[1].getStatus() == sf::Sound::Playing;
    if (menuMusicPaused) menuSounds[1].pause();
    draggingVolume = false;
    for (bool& down : tapKeysDown) down = false;
    ui.Screen = Calibration;
    startTapTest(CalibrationPage::listen);
}

void App::startTapTest(int page) {
    calibrationPage = page;
    tapTest.start(platform.clockSeconds());
    beatClickStartedAt = -1.0;
    iface->placeCalibrationCreature(0.0f);
    showCalibrationPage();
}

void App::calibrationTap() {
    if (calibrationPage == CalibrationPage::results) return;
    if (tapTest.tap(previousStamp)) showCalibrationPage();
}

void App::scheduleBeatClicks() {
    while (tapTest.beatsStarted < TapTests::mostBeats) {
        // The clock is read now, not at the frame's start, so that the time spent on the frame
        // so far does not make the click late. What remains: the sound library mixes in short
        // periods and starts a sound at its next one, and the sound device adds its own delay;
        // both hold the same for every click, and that delay is what the test measures.
        const double now = platform.clockSeconds();
        const double offset =
            beatSoundOffset(tapTest.grid.beat(tapTest.beatsStarted), now, beatClickLead);
        if (offset < 0.0) break;
        tapTest.beatsStarted += 1;
        if (offset > beatClickLead + beatClickLate) continue;
        beatClick.stop();
        beatClick.setVolume(100.0f * iface->volumeFactor);
        beatClick.play();
        beatClick.setPlayingOffset(sf::seconds(static_cast<float>(offset)));
        beatClickStartedAt = now;
        beatClickOffset = offset;
    }
}

void App::finishTapTest() {
    const TapResult result = tapTest.result();
    if (calibrationPage == CalibrationPage::listen) {
        listenResult = result;
        watchResult = TapResult();
        if (result.measured) {
            startTapTest(CalibrationPage::watch);
            return;
        }
    } else {
        watchResult = result;
    }
    beatClick.stop();
    calibrationPage = CalibrationPage::results;
    const bool measured = listenResult.measured && watchResult.measured;
    if (measured) measuredOffsets = offsetsFrom(listenResult, watchResult);
    calibrationChoice = measured ? CalibrationButton::apply : CalibrationButton::retry;
    showCalibrationPage();
}

void App::showCalibrationPage() {
    namespace T = CalibrationText;
    std::array<std::string, T::count> texts;
    const bool results = calibrationPage == CalibrationPage::results;
    const bool listen = calibrationPage == CalibrationPage::listen;
    if (!results) {
        texts[T::heading] = listen ? "Listen  (1 of 2)" : "Watch  (2 of 2)";
        // The route keys as bound: "E, P, L or D" by default.
        const std::string keys =
            keyName(options.routeKeys[0]) + ", " + keyName(options.routeKeys[1]) + ", " +
            keyName(options.routeKeys[2]) + " or " + keyName(options.routeKeys[3]);
        texts[T::instruction] =
            listen ? "Tap " + keys + " (or click) on every click you hear"
                   : "The sound is off: tap " + keys + " (or click) as the creature lands";
        if (tapTest.tapCount == 0 && previousStamp < tapTest.grid.beat(0)) {
            texts[T::progress] = listen ? "Get ready: the clicks begin in a moment"
                                        : "Get ready: the creature begins to hop in a moment";
        } else if (tapTest.settleLeft() > 0) {
            texts[T::progress] = "Find the beat: " + std::to_string(tapTest.settleLeft()) +
                                 (tapTest.settleLeft() == 1 ? " tap" : " taps") + " to settle";
        } else {
            texts[T::progress] = "Tap " + std::to_string(tapTest.measuredMade()) + " of " +
                                 std::to_string(TapTests::measuredTaps);
        }
        if (listen) texts[T::result + 1] = "The screen stays still: follow the sound";
        texts[T::help] = "Escape or the arrow: back to the options";
    } else if (listenResult.measured && watchResult.measured) {
        texts[T::heading] = "Your offsets";
        texts[T::instruction] = "From the median of your taps; Apply keeps them";
        texts[T::result] = "Audio offset " + signedMs(measuredOffsets.audioMs) + "   (now " +
                           signedMs(options.audioOffsetMs) + ")";
        texts[T::result + 1] = "Input offset " + signedMs(measuredOffsets.inputMs) + "   (now " +
                               signedMs(options.inputOffsetMs) + ")";
        texts[T::result + 2] = "Spread (standard deviation): listening " +
                               std::to_string(static_cast<int>(listenResult.spreadMs + 0.5)) +
                               " ms, watching " +
                               std::to_string(static_cast<int>(watchResult.spreadMs + 0.5)) + " ms";
        texts[T::help] = "Left / Right: choose    Return: press    Escape: back";
    } else {
        const TapResult& failed = listenResult.measured ? watchResult : listenResult;
        texts[T::heading] = "Could not measure";
        texts[T::instruction] =
            std::string("The ") + (listenResult.measured ? "watching" : "listening") +
            " test kept " + std::to_string(failed.kept) + " of " + std::to_string(failed.taps) +
            " taps: at least " + std::to_string(TapTests::leastKeptTaps) + " are needed";
        texts[T::result] = "Tap once on every beat, as steadily as you can";
        texts[T::result + 1] = "Your offsets stay as they are";
        texts[T::result + 2] = "Retry to tap again";
        texts[T::help] = "Left / Right: choose    Return: press    Escape: back";
    }
    const bool applies = results && listenResult.measured && watchResult.measured;
    iface->showCalibration(texts, calibrationPage == CalibrationPage::watch, results,
                           calibrationChoice, applies);
    calibrationShown = progressOf(calibrationPage, tapTest, previousStamp);
}

void App::pressCalibrationButton(int button) {
    if (button == CalibrationButton::back) {
        leaveCalibration();
        return;
    }
    if (button == CalibrationButton::retry) {
        click();
        listenResult = TapResult();
        watchResult = TapResult();
        startTapTest(CalibrationPage::listen);
        return;
    }
    if (!(listenResult.measured && watchResult.measured)) {
        errorSound();
        return;
    }
    options.audioOffsetMs = measuredOffsets.audioMs;
    options.inputOffsetMs = measuredOffsets.inputMs;
    keepSetting("audio_offset", std::to_string(options.audioOffsetMs));
    keepSetting("input_offset", std::to_string(options.inputOffsetMs));
    leaveCalibration();
}

void App::leaveCalibration() {
    beatClick.stop();
    if (menuMusicPaused && menuSounds.size() >= 4) menuSounds[1].play();
    menuMusicPaused = false;
    iface->Screen = OptionsPanel;
    iface->optionsRow = OptionsRow::calibration;
    showOptionsValues();
    click();
}

void App::calibrationEvent(const sf::Event& event) {
    Interface& ui = *iface;
    const bool results = calibrationPage == CalibrationPage::results;
    if (event.type == sf::Event::KeyReleased &&
        routeOfKey(event.key.code, options.routeKeys) >= 0) {
        tapKeysDown[routeOfKey(event.key.code, options.routeKeys)] = false;
        return;
    }
    if (event.type == sf::Event::LostFocus) {
        for (bool& down : tapKeysDown) down = false;
        return;
    }
    if (event.type == sf::Event::KeyPressed) {
        const sf::Keyboard::Key key = event.key.code;
        const int route = routeOfKey(key, options.routeKeys);
        if (key == sf::Keyboard::Escape) {
            leaveCalibration();
        } else if (route >= 0) {
            if (!results && !tapKeysDown[route]) calibrationTap();
            tapKeysDown[route] = true;
        } else if (results && (key == sf::Keyboard::Left || key == sf::Keyboard::Right)) {
            const int step = key == sf::Keyboard::Left ? -1 : 1;
            const int choice = calibrationChoice + step;
            if (choice >= CalibrationButton::apply && choice <= CalibrationButton::back) {
                calibrationChoice = choice;
                showCalibrationPage();
                click();
            }
        } else if (results && key == sf::Keyboard::Return) {
            pressCalibrationButton(calibrationChoice);
        }
        return;
    }
    if (event.type != sf::Event::MouseButtonPressed) return;
    if (event.mouseButton.button == sf::Mouse::Right) {
        leaveCalibration();
        return;
    }
    if (event.mouseButton.button != sf::Mouse::Left) return;
    const sf::Vector2f m = mousePosition();
    const int hit = ui.hitTestCalibration(m.x, m.y);
    if (hit == Interface::calibrationBack) {
        leaveCalibration();
    } else if (!results) {
        calibrationTap();
    } else if (hit >= 0) {
        calibrationChoice = hit;
        pressCalibrationButton(hit);
    }
}

void App::placeHoppingCreature() {
    if (calibrationPage != CalibrationPage::watch) return;
    // The creature hops from beat to beat and touches its spot on each: it rests there until
    // a period before the first beat, and after the last.
    const BeatGrid& grid = tapTest.grid;
    const double since = (previousStamp - grid.beat(-1)) / grid.period;
    float height = 0.0f;
    if (since > 0.0 && since < TapTests::mostBeats) {
        const double f = since - static_cast<int>(since);
        height = static_cast<float>(4.0 * f * (1.0 - f));
    }
    iface->placeCalibrationCreature(height);
}

void App::calibrationStep() {
    if (calibrationPage == CalibrationPage::results) return;
    const double now = previousStamp;
    if (calibrationPage == CalibrationPage::listen) scheduleBeatClicks();
    if (tapTest.over(now)) {
        finishTapTest();
        return;
    }
    if (progressOf(calibrationPage, tapTest, now) != calibrationShown) showCalibrationPage();
}
