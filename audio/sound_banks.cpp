#include "audio/sound_banks.h"

#include "assets/asset_files.h"
#include "audio/bank_ready.h"
#include "audio/held_samples.h"
#include "audio/sound_decoder.h"

const float menuSoundVolumes[4] = {50.0f, 60.0f, 50.0f, 50.0f};

bool loadMenuSounds(std::vector<sf::Sound>& sounds, std::vector<HeldBuffer>& buffers,
                    SoundDecoder* ahead) {
    sounds.resize(4);
    buffers.resize(4);
    for (int i = 0; i < 4; ++i) {
        if (!loadSound(ahead, buffers[i], menuSoundFile(i))) return false;
        sounds[i].setBuffer(buffers[i].sound());
    }
    return true;
}

bool loadDrones(std::vector<sf::Sound>& sounds, std::vector<HeldBuffer>& buffers,
                SoundDecoder* ahead) {
    sounds.resize(4);
    buffers.resize(4);
    for (int i = 1; i <= 4; ++i) {
        if (!loadSound(ahead, buffers[i - 1], droneFile(i))) return false;
        sounds[i - 1].setBuffer(buffers[i - 1].sound());
    }
    return true;
}

void setMenuVolumes(std::vector<sf::Sound>& sounds, float v) {
    for (int i = 3; i >= 0; --i) {
        if (i < static_cast<int>(sounds.size())) sounds[i].setVolume(menuSoundVolumes[i] * v);
    }
}

bool playTouchSound(std::vector<sf::Sound>& touchSounds, int i, float v) {
    if (i < 0 || i >= static_cast<int>(touchSounds.size()) || !songBankReady.touchReady(i)) {
        return false;
    }
    touchSounds[i].play();
    touchSounds[i].setVolume(100.0f * v);
    return true;
}
