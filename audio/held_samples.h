#pragma once

#include <SFML/Audio/SoundBuffer.hpp>
#include <cstddef>
#include <string>

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
