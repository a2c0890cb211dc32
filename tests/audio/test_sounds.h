#pragma once

// Small sound files laid out like qo_audio/ in the current (temporary) folder. The names are
// spelt out here on purpose, apart from the game's own name functions.

#include <SFML/Audio/OutputSoundFile.hpp>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "core/songs.h"

namespace testsounds {

// A mono 22050 Hz tone of `samples` samples; the length tells later which file a buffer holds.
inline bool writeTone(const std::string& path, std::size_t samples) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::vector<sf::Int16> data(samples);
    for (std::size_t i = 0; i < samples; ++i) data[i] = sf::Int16(8000 * std::sin(0.06 * i));
    sf::OutputSoundFile file;
    if (!file.openFromFile(path, 22050, 1)) return false;
    file.write(data.data(), data.size());
    return true;
}

inline std::string touchName(int song, int i) {
    const std::string n = std::to_string(song + 1);
    return "qo_audio/mirevo_touches/mirevo_qo" + n + "/mirevo_qo" + n + "_touche" +
           std::to_string(i) + ".ogg";
}
inline std::string waveName(int song, int r, int k) {
    const std::string n = std::to_string(song + 1);
    return "qo_audio/mirevo_qo" + n + "_waves/mirevo_qo" + n + "_t" + std::to_string(r) + "_" +
           std::to_string(k) + ".ogg";
}
inline std::string breakMusicName(int song) {
    const std::string n = std::to_string(song + 1);
    return "qo_audio/mirevo_qo" + n + "_waves/mirevo_qo" + n + "_break_scoring.ogg";
}

// Lengths: touch i (1..4) 1000 + 10 i, layer k (1..) of route r (1..4) 2000 + 100 r + 10 k,
// times `scale`.
inline std::size_t touchLength(int i, std::size_t scale = 1) {
    return (1000 + 10 * i) * scale;
}
inline std::size_t waveLength(int r, int k, std::size_t scale = 1) {
    return (2000 + 100 * r + 10 * k) * scale;
}

// Every touch and wave file of a song, but `skip`.
inline bool writeSongFiles(int song, std::size_t scale = 1, const std::string& skip = "") {
    bool ok = true;
    for (int i = 1; i <= 4; ++i) {
        if (touchName(song, i) != skip) ok &= writeTone(touchName(song, i), touchLength(i, scale));
    }
    for (int r = 1; r <= 4; ++r) {
        for (int k = 1; k <= touchCounts[song][r - 1]; ++k) {
            if (waveName(song, r, k) != skip) {
                ok &= writeTone(waveName(song, r, k), waveLength(r, k, scale));
            }
        }
    }
    return ok;
}

inline bool writeDrones() {
    bool ok = true;
    for (int i = 1; i <= 4; ++i) {
        ok &= writeTone("qo_audio/mirevo_drones/mirevo_drone" + std::to_string(i) + ".ogg",
                        600 + 10 * i);
    }
    return ok;
}

}  // namespace testsounds
