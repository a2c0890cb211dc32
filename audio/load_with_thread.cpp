#include "audio/load_with_thread.h"

#include <iostream>

#include "audio/held_samples.h"
#include "core/bank_ready.h"
#include "core/songs.h"

namespace {
// Layers of route r for a song; 0 for a song outside 0..3.
int layersOf(int song, int route) {
    return (song >= 0 && song < 4) ? touchCounts[song][route] : 0;
}
}  // namespace

std::string touchFile(int song, int i) {
    const std::string n = std::to_string(song + 1);
    return "qo_audio/mirevo_touches/mirevo_qo" + n + "/mirevo_qo" + n + "_touche" +
           std::to_string(i) + ".ogg";
}

std::string waveFile(int song, int route, int layer) {
    const std::string n = std::to_string(song + 1);
    return "qo_audio/mirevo_qo" + n + "_waves/mirevo_qo" + n + "_t" + std::to_string(route) + "_" +
           std::to_string(layer) + ".ogg";
}

void prepareSongBanks(std::vector<std::vector<sf::Sound>>& waveSounds,
                      std::vector<std::vector<sf::SoundBuffer>>& waveBuffers,
                      std::vector<sf::Sound>& touchSounds,
                      std::vector<sf::SoundBuffer>& touchBuffers, int song) {
    songBankReady.clear();
    waveSounds.clear();
    waveBuffers.clear();
    touchSounds.clear();
    touchBuffers.clear();
    touchBuffers.resize(4);
    touchSounds.resize(4);
    waveSounds.resize(4);
    waveBuffers.resize(4);
    for (int r = 0; r < 4; ++r) {
        waveSounds[r].resize(layersOf(song, r));
        waveBuffers[r].resize(layersOf(song, r));
    }
}

LoadWithThread::LoadWithThread(std::vector<sf::Sound>* touchSounds,
                               std::vector<sf::SoundBuffer>* touchBuffers,
                               std::vector<std::vector<sf::Sound>>* waveSounds,
                               std::vector<std::vector<sf::SoundBuffer>>* waveBuffers, int song)
    : touchSounds(touchSounds),
      touchBuffers(touchBuffers),
      waveSounds(waveSounds),
      waveBuffers(waveBuffers),
      song(song),
      loadStatus(0),
      thread(&LoadWithThread::run, this) {}

LoadWithThread::~LoadWithThread() {
    // The thread goes first: run may still be writing into the buffers freed below.
    thread.wait();
    songBankReady.clear();
    for (auto& row : *waveBuffers) row.clear();
    waveBuffers->clear();
    touchBuffers->clear();
}

bool LoadWithThread::loadWave(int row, int k) {
    std::vector<sf::SoundBuffer>& buffers = (*waveBuffers)[row];
    std::vector<sf::Sound>& sounds = (*waveSounds)[row];
    if (k >= static_cast<int>(buffers.size()) || k >= static_cast<int>(sounds.size()) ||
        !loadSamplesOnce(buffers[k], waveFile(song, row + 1, k + 1))) {
        return false;
    }
    sounds[k].setBuffer(buffers[k]);
    if (k < SongBankReady::maxLayers)
        songBankReady.wave[row][k].store(true, std::memory_order_release);
    return true;
}

void LoadWithThread::run() {
    const bool banksSized = song >= 0 && song < 4 && touchSounds->size() >= 4 &&
                            touchBuffers->size() >= 4 && waveSounds->size() >= 4 &&
                            waveBuffers->size() >= 4;
    for (int i = 1; i <= 4; ++i) {
        if (!banksSized || !loadSamplesOnce((*touchBuffers)[i - 1], touchFile(song, i))) {
            loadStatus = -1;
            std::cerr << "error loading touch!" << std::endl;
            return;
        }
        (*touchSounds)[i - 1].setBuffer((*touchBuffers)[i - 1]);
        songBankReady.touch[i - 1].store(true, std::memory_order_release);
    }
    for (int r = 1; r <= 4; ++r) {
        if (!loadWave(r - 1, 0)) {
            loadStatus = -1;
            std::cerr << "error music!" << std::endl;
            return;
        }
    }
    for (int r = 1; r <= 4; ++r) {
        for (int k = 2; k <= touchCounts[song][r - 1]; ++k) {
            if (!loadWave(r - 1, k - 1)) {
                loadStatus = -1;
                std::cerr << "error music!" << std::endl;
                return;
            }
        }
    }
    std::cout << "success thread!" << std::endl;
    loadStatus = 1;
}
