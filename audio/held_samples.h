#pragma once

#include <SFML/Audio/SoundBuffer.hpp>
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

// Sound buffers whose samples live in memory once. sf::SoundBuffer keeps its own copy of the
// decoded samples next to the audio library's copy, which is the one that plays; these load
// a file as loadFromFile does (same messages, same result) and then release the buffer's own
// copy. Playing, stopping, pausing, volume and offset only use the audio library's copy.
// A released buffer must not be copied (the copy would be empty).

// Loads the file into the buffer and releases the buffer's copy of the samples. False, with
// the library's message, when the file cannot be read or decoded.
bool loadSamplesOnce(sf::SoundBuffer& buffer, const std::string& file);

// Samples held for playing (by the audio library), all channels: 0 when nothing is loaded.
std::size_t heldSampleCount(const sf::SoundBuffer& buffer);

// Decodes an Ogg Vorbis file into 16-bit samples as the buffer's own loader would, without
// printing anything: false for anything it does not read (not a regular file, not Ogg Vorbis,
// more than two channels, no samples, a read error), which a plain load is then left to report.
// When `cancel` is given and becomes true, the decoding stops there and fails.
bool decodeOggQuietly(const std::string& file, std::vector<sf::Int16>& samples, unsigned& channels,
                      unsigned& sampleRate, const std::atomic<bool>* cancel = nullptr);
// Fills the buffer from decoded samples, then releases the buffer's copy of them.
bool loadDecodedSamples(sf::SoundBuffer& buffer, const std::vector<sf::Int16>& samples,
                        unsigned channels, unsigned sampleRate);
