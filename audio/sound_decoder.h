#pragma once

#include <SFML/Audio/SoundBuffer.hpp>
#include <atomic>
#include <condition_variable>
#include <memory>
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
    // Stops the workers (files not yet decoded are skipped, one being decoded stops where
    // it is) and frees what is left.
    ~SoundDecoder();
    SoundDecoder(const SoundDecoder&) = delete;
    SoundDecoder& operator=(const SoundDecoder&) = delete;

    // Loads the buffer from the file, as loadSamplesOnce(buffer, file) would; a file of the
    // list comes from its decoded samples (waiting for a worker that is decoding it, or
    // decoding it here when no worker has started it). One thread at a time may call it.
    bool load(sf::SoundBuffer& buffer, const std::string& file);
    // Only these files are still wanted: the others are not decoded any more (one being
    // decoded stops where it is), and what was decoded of them is freed.
    void keepOnly(const std::vector<std::string>& wanted);
    // True once every file of the list has been decoded (or has failed, or is unwanted).
    bool finished();

    // Loads served from samples a worker had already decoded: the decoding was paid ahead.
    std::atomic<int> takenReady{0};

private:
    struct Sound {
        std::string file;
        std::vector<sf::Int16> samples;
        unsigned channels = 0;
        unsigned sampleRate = 0;
        bool ok = false;
        bool claimed = false;  // a worker (or the caller of load) decodes it
        bool done = false;
        bool taken = false;
    };
    void work();

    std::vector<Sound> sounds;
    // Per sound: no longer wanted (its decoding stops where it is).
    std::unique_ptr<std::atomic<bool>[]> unwanted;
    std::atomic<bool> stopping{false};
    std::mutex mutex;
    std::condition_variable decoded;
    std::vector<std::thread> workers;
};

// Loads a buffer through the decoder when there is one, otherwise straight from the file.
bool loadSound(SoundDecoder* decoder, sf::SoundBuffer& buffer, const std::string& file);
