#include "app/app.h"
#include "audio/load_with_thread.h"
#include "audio/sound_banks.h"
#include "board/particle.h"
#include "game/game.h"
#include "ui/interface.h"

// Start-up, second half: the interface and its pictures, the game, the menu sounds and
// drones, the menu music, and the atlas handed to the particles.
int App::startUpInterface() {
    float w = static_cast<float>(windowWidth);
    float h = static_cast<float>(windowHeight);
    iface = std::make_unique<Interface>(w, h, log);
    iface->chooseDisplayProfile();
    game = std::make_unique<Game>(iface.get(), &log);
    if (!iface->loadImages()) return 1;
    iface->showMenuBackground();
    keptScaleX = iface->scaleX;
    keptMenuTopOffset = iface->menuTopOffset;

    if (!loadMenuSounds(menuSounds, menuBuffers)) return 1;
    if (!loadDrones(game->drones, droneBuffers)) return 1;
    menuSounds[1].setLoop(true);
    menuSounds[1].play();
    float v = iface->volumeFactor;
    menuSounds[2].setVolume(50.0f * v);
    menuSounds[1].setVolume(60.0f * v);
    menuSounds[0].setVolume(50.0f * v);

    setupParticleResources(atlasTextures, w, keptMenuTopOffset, 1.0f);
    return -1;
}

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
