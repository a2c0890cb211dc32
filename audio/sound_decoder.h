#pragma once

#include <SFML/Audio/SoundBuffer.hpp>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Sound files decoded ahead of their use on worker threads, quietly; the buffers are filled
// one by one, in the caller's order, by the caller. A file that does not decode quietly is
// left to a plain load at its turn, so every message, result and order stays that of a plain
// load. The samples end up held once, by the audio library (see held_samples.h).
class SoundDecoder {
public:
    explicit SoundDecoder(std::vector<std::string> files, int threads = 1);
    // Stops the workers (files not yet decoded are skipped) and frees what is left.
    ~SoundDecoder();
    SoundDecoder(const SoundDecoder&) = delete;
    SoundDecoder& operator=(const SoundDecoder&) = delete;

    // Loads the buffer from the file, as loadSamplesOnce(buffer, file) would; a file of the
    // list comes from its decoded samples (waiting for them if needed).
    bool load(sf::SoundBuffer& buffer, const std::string& file);

private:
    struct Sound {
        std::string file;
        std::vector<sf::Int16> samples;
        unsigned channels = 0;
        unsigned sampleRate = 0;
        bool ok = false;
        bool done = false;
        bool taken = false;
    };
    void work();

    std::vector<Sound> sounds;
    std::atomic<size_t> next{0};
    std::atomic<bool> stopping{false};
    std::mutex mutex;
    std::condition_variable decoded;
    std::vector<std::thread> workers;
};

// Loads a buffer through the decoder when there is one, otherwise straight from the file.
bool loadSound(SoundDecoder* decoder, sf::SoundBuffer& buffer, const std::string& file);
