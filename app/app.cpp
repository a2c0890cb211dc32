#include "app/app.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "assets/asset_files.h"
#include "assets/decode_pool.h"
#include "assets/frame_gate.h"
#include "audio/bank_ready.h"
#include "audio/load_with_thread.h"
#include "audio/sound_decoder.h"
#include "board/route.h"
#include "game/game.h"
#include "ui/display_profile.h"
#include "ui/interface.h"
#include "ui/picture_decoder.h"

App::App(Platform& p, const Options& o) : platform(p), options(o) {
    std::vector<sf::Event> none;  // no controller is plugged in yet
    padKeys.bindRoutes(options.routeKeys, none);
}

App::~App() {
    // A play left open when the loop ended: its loader goes before the banks it fills.
    endLoader();
}

DecodePool& App::pool() {
    if (!decodePool) decodePool = std::make_unique<DecodePool>(decodeWorkerCount);
    return *decodePool;
}

int App::run() {
    int status = startUp();
    if (status >= 0) return status;
    while (platform.isOpen()) {
        if (!frame()) break;
        platform.waitForNextFrame();
    }
    if (failStatus >= 0) return failStatus;
    if (replaySource && !watch.active) {
        // A play played again changes no record of the player's.
        log.close();
        if (replayStatus < 0) {
            std::cerr << "mirevo: replay: stopped before the recorded play's end" << std::endl;
            return 1;
        }
        return replayStatus;
    }
    return finish();
}

int App::startUp() {
    // Every file the game reads is named under the data folder from here on.
    setDataFolder(options.dataFolder);
    log.open("log.txt", std::ios::app);
    log << "Mirevo " << static_cast<long long>(std::time(nullptr)) << std::endl;
    if (replaySource) {
        std::srand(replaySource->seed);
    } else {
        std::srand(options.seed ? *options.seed : static_cast<unsigned>(std::time(nullptr)));
    }

    WindowRequest request;
    request.fullscreen = options.fullscreen;
    request.width = options.windowWidth;
    request.height = options.windowHeight;
    request.vsync = options.vsync;
    windowRequest = request;
    platform.openWindow("Mirevo", request);
    framesCapped = options.frameCap && !options.vsync;
    if (framesCapped) platform.capFrames(capRate());
    platform.setMouseCursorVisible(false);
    platform.startClock();
    layoutWindow();

    int status = loadBoardTextures();
    if (status >= 0) return status;
    status = startUpInterface();
    if (status >= 0) return status;

    previousStamp = platform.clockSeconds();
    // Where the drawing takes every core, the decoding waits for the frame loop's rest.
    frameGate.enable(platform.drawsOnProcessor());
    if (windowRequest.vsync) vsyncWatch.start(platform.refreshRate());
    if (iface) iface->Screen = MainMenu;
    platform.setMouseCursorVisible(true);
    quitRequested = false;
    replayStartPending = replaySource != nullptr;
    return -1;
}

bool App::frame() {
    // The decoding gives way to the frames of a play once its first sounds are there: until
    // then they go first (a song picked at once is decoded after the click).
    frameGate.frameStarts(iface && (iface->Screen == Playing || iface->Screen == Exploring) &&
                          songBankReady.firstSoundsReady());
    const bool going = frameSteps();
    frameGate.frameEnds();
    return going;
}

bool App::frameSteps() {
    frameDelta = platform.clockSeconds() - previousStamp;
    previousStamp = platform.clockSeconds();
    if (vsyncWatch.frameTook(frameDelta)) {
        platform.capFrames(vsyncWatch.rate);
        log << "Vertical sync is not in effect: frames capped at " << vsyncWatch.rate
            << " per second" << std::endl;
    }
    if (frameDelta > 0.08333333333333333) frameDelta = 1.0f / 12.0f;

    if (quitRequested) return false;

    frameInputs = 0;
    if (replaying() && !watch.active && !takeReplayedFrame()) {
        finishReplay();
        return false;
    }
    if (!pollEvents()) return false;
    if (watch.active && replaying()) return watchedFrames();
    if (replaying()) applyReplayedActions();

    platform.target().clear(sf::Color(0, 0, 0, 255));
    drawInterface();
    frameStep();
    if (failStatus >= 0) return false;
    platform.display();
    return true;
}

bool App::pollEvents() {
    sf::Event event;
    while (platform.pollEvent(event)) {
        if (event.type == sf::Event::Closed) quitRequested = true;
        if (event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::Return &&
            event.key.alt) {
            // Alt+Return switches between full screen and the window, on every screen.
            WindowRequest request = windowRequest;
            request.fullscreen = !request.fullscreen;
            applyWindow(request);
            if (iface && iface->MenuChoice == ChoiceUp) showOptionsValues();
            continue;
        }
        // The window's own word on game controllers is not used: they come below.
        if (isJoystickEvent(event)) continue;
        handleEvent(event);
        if (failStatus >= 0) return false;
    }
    // A controller's presses reach the screens as the keys they stand for, while the window
    // has the focus; plugging one in or out reaches them as nothing.
    padEvents.clear();
    padKeys.setFocus(platform.hasFocus(), padEvents);
    PadEvent pad;
    while (platform.pollPadEvent(pad)) padKeys.translate(pad, padEvents);
    for (const sf::Event& key : padEvents) {
        handleEvent(key);
        if (failStatus >= 0) return false;
    }
    return true;
}

int App::finish() {
    // A watch left by closing the window: the player's own records are saved.
    stopWatching();
    if (iface) iface->saveProfile();
    std::cout << "Exiting !" << std::endl;
    log.close();
    return 0;
}

void App::applyWindow(const WindowRequest& request) {
    windowRequest = request;
    platform.openWindow("Mirevo", request);
    // Without the sync the frames come as the player asked: capped at the refresh rate, or
    // free. With it, a cap the game had to set holds; otherwise the new window's frames are
    // watched afresh.
    vsyncWatch.watching = false;
    if (!request.vsync) {
        platform.capFrames(framesCapped ? capRate() : 0);
    } else if (vsyncWatch.capped) {
        platform.capFrames(vsyncWatch.rate);
    } else {
        platform.capFrames(0);
        vsyncWatch.start(platform.refreshRate());
    }
    layoutWindow();
}

void App::layoutWindow() {
    const sf::Vector2u size = platform.windowSize();
    const DrawnArea area = drawnArea(size.x, size.y);
    windowWidth = static_cast<unsigned>(area.width);
    windowHeight = static_cast<unsigned>(area.height);
    // Everything is drawn in the drawn area's coordinates, into that part of the window.
    sf::View view(sf::FloatRect(0, 0, area.width, area.height));
    if (size.x > 0 && size.y > 0) {
        const float w = static_cast<float>(size.x);
        const float h = static_cast<float>(size.y);
        view.setViewport(
            sf::FloatRect(area.left / w, area.top / h, area.width / w, area.height / h));
    }
    platform.target().setView(view);
    if (!iface || !game) return;
    iface->layout(static_cast<float>(size.x), static_cast<float>(size.y));
    keptScaleX = iface->scaleX;
    keptMenuTopOffset = iface->menuTopOffset;
    relayoutRoutes(game->routes, area.width, keptMenuTopOffset);
    if (Particle::boardScale != 1.0f) {
        for (std::vector<sf::Texture>& list : atlasTextures) {
            for (sf::Texture& texture : list) texture.setSmooth(true);
        }
    }
    if (keptScaleX != 1.0f && !game->routes.empty()) {
        for (sf::Texture& t : gaugeTextures) t.setSmooth(true);
    }
}

void App::seedPlay() {
    playSeed = replaySource ? replaySource->seed : static_cast<unsigned>(std::rand());
    std::srand(playSeed);
    takePlayOffsets();
    beginRecording();
}

void App::takePlayOffsets() {
    Game& g = *game;
    if (replaySource) {
        g.audioOffset = std::clamp(replaySource->audioOffset, -maxAudioOffsetMs / 1000.0f,
                                   maxAudioOffsetMs / 1000.0f);
        g.inputOffset = std::clamp(replaySource->inputOffset, -maxInputOffsetMs / 1000.0f,
                                   maxInputOffsetMs / 1000.0f);
    } else {
        g.audioOffset = static_cast<float>(options.audioOffsetMs) / 1000.0f;
        g.inputOffset = static_cast<float>(options.inputOffsetMs) / 1000.0f;
    }
}

void App::failFrame(int status) {
    failStatus = status;
}

// The per-frame dispatch to the current screen: its event handler and its frame step.
void App::handleEvent(const sf::Event& event) {
    if (!iface || !game) return;
    // Play keys pressed between two polls still count as a press of their route.
    if (event.type == sf::Event::KeyPressed) {
        for (int i = 0; i < 4; ++i) {
            if (event.key.code == options.routeKeys[i]) pressedThisFrame[i] = true;
        }
    }
    switch (iface->Screen) {
        case MainMenu:
            mainMenuEvent(event);
            break;
        case LevelSelect:
            levelSelectEvent(event);
            break;
        case MakingOf:
            makingOfEvent(event);
            break;
        case OptionsPanel:
            optionsEvent(event);
            break;
        case Calibration:
            calibrationEvent(event);
            break;
        case Playing:
        case Exploring:
            if (watch.active && replaying()) {
                watchEvent(event);
            } else if (!replaying()) {
                playEvent(event);
            }
            break;
        case Results:
            resultsEvent(event);
            break;
        case Tutorial:
            tutorialEvent(event);
            break;
        default:
            break;
    }
}

void App::drawInterface() {
    if (iface && iface->Screen == Calibration) placeHoppingCreature();
    if (iface) platform.target().draw(*iface);
}

void App::frameStep() {
    if (!iface || !game) return;
    // A recording played again begins its play at the first frame, in place of the menus.
    const int screen = replayStartPending ? -1 : iface->Screen;
    if (replayStartPending) {
        replayStartPending = false;
        startReplayedPlay();
    }
    switch (screen) {
        case MainMenu:
            mainMenuStep();
            break;
        case LevelSelect:
            levelSelectStep();
            break;
        case MakingOf:
            makingOfStep();
            break;
        case OptionsPanel:
            optionsStep();
            break;
        case Calibration:
            calibrationStep();
            break;
        case Playing:
        case Exploring:
        case Results:
            playStep();
            break;
        case Tutorial:
            tutorialFrameStep();
            break;
        default:
            break;
    }
    for (bool& pressed : pressedThisFrame) pressed = false;
}
