#pragma once

// Offline rendering of note scores with FluidSynth, the small amount of signal processing the
// sound pack needs (loop folding, fades, gain, limiting) and Ogg Vorbis output.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mirevo_audio {

// Every sound of the pack: 44100 Hz, stereo.
constexpr unsigned kSampleRate = 44100;
constexpr unsigned kChannels = 2;

// One instrument slot of a score. Bank 128 selects a drum kit.
struct Instrument {
    int bank;
    int program;
    int volume;  // MIDI controller 7
    int pan;     // MIDI controller 10, 64 = centre
    int reverb;  // MIDI controller 91
    int chorus;  // MIDI controller 93
};

struct Note {
    double start;   // seconds
    double length;  // seconds
    int slot;       // index into Score::instruments
    int key;
    int velocity;
};

struct Score {
    std::vector<Instrument> instruments;
    std::vector<Note> notes;

    // Index of the slot playing this instrument, added when new.
    int slot(const Instrument& instrument);
    void add(int slot, double start, double length, int key, int velocity);
};

// Interleaved stereo float samples.
struct Audio {
    std::vector<float> samples;
    std::size_t frames() const { return samples.size() / kChannels; }
    void resize(std::size_t frames) { samples.assign(frames * kChannels, 0.0f); }
};

// Loads the sound font once and keeps its samples in memory until releaseSoundFont(), so that
// every synthesiser created meanwhile shares them instead of reading the file again.
bool holdSoundFont(std::string& error);
void releaseSoundFont();

// Renders the score for `seconds` into `out` (resized). Returns false when the synthesiser or
// the sound font cannot be set up.
bool renderScore(const Score& score, double seconds, Audio& out, std::string& error);

// Adds `source` into `target` (same length or shorter), times `gain`.
void mixInto(Audio& target, const Audio& source, float gain);

// Folds everything past `frames` back onto the start, so that the sound restarted every
// `frames` samples plays as one continuous piece, then cuts it to `frames`.
void foldLoop(Audio& audio, std::size_t frames);

// Cuts to `frames` (padding with silence) with a linear fade over the last `fadeFrames`.
void trimWithFade(Audio& audio, std::size_t frames, std::size_t fadeFrames);

void applyGain(Audio& audio, float gain);
float peakOf(const Audio& audio);
float rmsOf(const Audio& audio);

// Keeps every sample within `ceiling` by a smooth gain reduction (short look-ahead, release of a
// few tens of milliseconds). With `circular` the signal is treated as a loop.
void limit(Audio& audio, float ceiling, bool circular);

// Converts to 16-bit and writes an Ogg Vorbis file; the file is decoded again afterwards and
// its peak returned in `decodedPeak` (full scale 1.0).
bool writeOgg(const std::string& path, const Audio& audio, float& decodedPeak, std::string& error);

}  // namespace mirevo_audio
