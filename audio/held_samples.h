#pragma once

#include <SFML/Audio/SoundBuffer.hpp>
#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// A sound buffer whose samples live in memory once. sf::SoundBuffer keeps its own copy of the
// decoded samples next to the audio library's copy, which is the one that plays; this one loads
// a file as loadFromFile does (same messages, same result) and then releases the buffer's own
// copy. Playing, stopping, pausing, volume and offset only use the audio library's copy.
//
// A copy of a released sf::SoundBuffer would be empty, and silent: this type cannot be copied.
// It can be moved (the sf::SoundBuffer stays where it is, so the sounds bound to it keep it),
// which lets banks live in vectors; a moved-from buffer may only be assigned or destroyed.
class HeldBuffer {
public:
    HeldBuffer();
    HeldBuffer(HeldBuffer&&) noexcept = default;
    HeldBuffer& operator=(HeldBuffer&&) noexcept = default;
    HeldBuffer(const HeldBuffer&) = delete;
    HeldBuffer& operator=(const HeldBuffer&) = delete;

    // Loads the file and releases the buffer's copy of the samples. False, with the library's
    // message, when the file cannot be read or decoded.
    bool loadFromFile(const std::string& file);
    // Fills the buffer from decoded samples, then releases the buffer's copy of them.
    bool loadFromSamples(const std::vector<sf::Int16>& samples, unsigned channels,
                         unsigned sampleRate);
    // Empties it: the sounds bound to it lose it.
    void clear();
    // Samples held for playing (by the audio library), all channels: 0 when nothing is loaded.
    std::size_t sampleCount() const { return count; }
    // What a sound is bound to.
    const sf::SoundBuffer& sound() const { return *buffer; }

private:
    std::unique_ptr<sf::SoundBuffer> buffer;
    std::size_t count = 0;
};

// Decodes an Ogg Vorbis file into 16-bit samples as the buffer's own loader would, without
// printing anything: false for anything it does not read (not a regular file, not Ogg Vorbis,
// more than two channels, no samples, a read error), which a plain load is then left to report.
// When `cancel` is given and becomes true, the decoding stops there and fails.
bool decodeOggQuietly(const std::string& file, std::vector<sf::Int16>& samples, unsigned& channels,
                      unsigned& sampleRate, const std::atomic<bool>* cancel = nullptr);
