#pragma once

// The file set of qo_audio/ as the game opens it, shared by the generator and the checker.

#include <cstddef>
#include <string>
#include <vector>

namespace mirevo_audio {

// Beat: the calibration's click, played on each beat of its listening test.
enum class Kind { Layer, Special, Final, Touch, Drone, MenuLoop, MenuFull, Click, Error, Beat };

struct PackFile {
    std::string path;  // relative to the folder holding qo_audio/, e.g. "qo_audio/..."
    Kind kind;
    int song;   // 0..3 for song files, the drone's song for drones, -1 otherwise
    int route;  // 0..3 for layers, specials and touches, the mode for drones, -1 otherwise
    int layer;  // 1-based file number of a layer or special, 0 otherwise
};

// Regular layers of a route: all its files, except on route 0 of song 2 whose last two files
// are the special layers (a solo and a break played for one loop instead of the regular part).
int regularLayerCount(int song, int route);

// Every file, in the order the game's loaders read them, songs first.
std::vector<PackFile> packFiles();

// Frames a file must have exactly (layers, specials, finals, drones, menu loops); 0 when only
// an upper bound applies.
std::size_t exactFrames(const PackFile& file);
// Longest allowed length in frames of the short cues; 0 for the others.
std::size_t maxFrames(const PackFile& file);
// Latest frame at which the sound may reach a tenth of its peak (the calibration's click must
// sound at once); 0 when it does not matter.
std::size_t maxOnsetFrames(const PackFile& file);
// The sound restarts seamlessly when it ends.
bool isLoop(Kind kind);

// Seconds of the menu loops and drones.
double menuLoopSeconds();

// Memory of a song's decoded touch and wave banks at 16 bits per sample, in bytes.
std::size_t songBankBytes(int song);

}  // namespace mirevo_audio
