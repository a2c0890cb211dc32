#include "app/app.h"

#include <cstdlib>
#include <ctime>
#include <iostream>

#include "audio/load_with_thread.h"
#include "audio/sound_decoder.h"
#include "core/decode_pool.h"
#include "game/game.h"
#include "ui/interface.h"
#include "ui/picture_decoder.h"

App::App(Platform& p, const Options& o) : platform(p), options(o) {}

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
    }
    if (failStatus >= 0) return failStatus;
    return finish();
}

int App::startUp() {
    log.open("log.txt", std::ios::app);
    log << "Mirevo " << static_cast<long long>(std::time(nullptr)) << std::endl;
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    WindowRequest request;
    request.fullscreen = options.fullscreen;
    request.width = options.windowWidth;
    request.height = options.windowHeight;
    request.vsync = options.vsync;
    platform.openWindow("Mirevo", request);
    platform.setMouseCursorVisible(false);
    platform.startClock();

    sf::Vector2u size = platform.windowSize();
    windowWidth = size.x;
    windowHeight = size.y;

    int status = loadBoardTextures();
    if (status >= 0) return status;
    status = startUpInterface();
    if (status >= 0) return status;

    previousStamp = platform.clockSeconds();
    if (iface) iface->Screen = MainMenu;
    platform.setMouseCursorVisible(true);
    quitRequested = false;
    return -1;
}

bool App::frame() {
    frameDelta = platform.clockSeconds() - previousStamp;
    previousStamp = platform.clockSeconds();
    if (frameDelta > 0.08333333333333333) frameDelta = 1.0f / 12.0f;

    if (quitRequested) return false;

    sf::Event event;
    while (platform.pollEvent(event)) {
        if (event.type == sf::Event::Closed) quitRequested = true;
        if (isJoystickEvent(event)) {
            // A controller's presses reach the screens as the keys they stand for;
            // plugging one in or out reaches them as nothing.
            padEvents.clear();
            padKeys.translate(event, padEvents);
            for (const sf::Event& key : padEvents) {
                handleEvent(key);
                if (failStatus >= 0) return false;
            }
            continue;
        }
        handleEvent(event);
        if (failStatus >= 0) return false;
    }

    platform.target().clear(sf::Color(0, 0, 0, 255));
    drawInterface();
    frameStep();
    if (failStatus >= 0) return false;
    platform.display();
    return true;
}

int App::finish() {
    if (iface) iface->saveProfile();
    std::cout << "Exiting !" << std::endl;
    log.close();
    return 0;
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
            if (event.key.code == routeKeys[i]) pressedThisFrame[i] = true;
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
        case Playing:
        case Exploring:
            playEvent(event);
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
    if (iface) platform.target().draw(*iface);
}

void App::frameStep() {
    if (!iface || !game) return;
    switch (iface->Screen) {
        case MainMenu:
            mainMenuStep();
            break;
        case LevelSelect:
            levelSelectStep();
            break;
        case MakingOf:
            makingOfStep();
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
