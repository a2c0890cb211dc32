#include "app/app.h"
#include "audio/load_with_thread.h"
#include "audio/sound_banks.h"
#include "audio/sound_decoder.h"
#include "board/particle.h"
#include "game/game.h"
#include "ui/interface.h"
#include "ui/particle_setup.h"
#include "ui/picture_decoder.h"

// Start-up, second half: the interface and its pictures, the game, the menu sounds and
// drones, the menu music, and the atlas handed to the particles.
int App::startUpInterface() {
    // The interface is given the whole window; it lays out in its drawn area, whose width
    // (windowWidth) the board takes.
    const sf::Vector2u size = platform.windowSize();
    iface =
        std::make_unique<Interface>(static_cast<float>(size.x), static_cast<float>(size.y), log);
    iface->chooseDisplayProfile();
    bindRouteKeys(options.routeKeys, false);  // the pictures show the player's keys
    iface->masterVolume = static_cast<float>(options.volume) / 100.0f;
    iface->volumeFactor = iface->masterVolume;
    game = std::make_unique<Game>();
    game->volumeFactor = iface->volumeFactor;
    const bool loaded = iface->loadImages(startUpPictures.get());
    startUpPictures.reset();
    if (!loaded) {
        startUpSounds.reset();
        return 1;
    }
    iface->showMenuBackground();
    keptScaleX = iface->scaleX;
    keptMenuTopOffset = iface->menuTopOffset;

    const bool sounds = loadMenuSounds(menuSounds, menuBuffers, startUpSounds.get()) &&
                        loadDrones(game->drones, droneBuffers, startUpSounds.get());
    startUpSounds.reset();
    if (!sounds) return 1;
    menuSounds[1].setLoop(true);
    menuSounds[1].play();
    float v = iface->volumeFactor;
    menuSounds[2].setVolume(50.0f * v);
    menuSounds[1].setVolume(60.0f * v);
    menuSounds[0].setVolume(50.0f * v);
    // The error sound keeps the library's full volume until the first volume change, but
    // scaled by the player's volume from the first frame (at 100 nothing changes).
    menuSounds[3].setVolume(100.0f * v);

    setupParticleResources(atlasTextures, static_cast<float>(windowWidth), keptMenuTopOffset, 1.0f);
    return -1;
}
