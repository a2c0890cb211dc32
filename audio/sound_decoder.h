#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "assets/decode_pool.h"
#include "audio/held_samples.h"

// One sound file decoded quietly into samples of its own (nothing is printed: a file that
// does not decode quietly is left to a plain load).
class SoundFileJob : public DecodeJob {
public:
    explicit SoundFileJob(std::string file) : file(std::move(file)) {}
    bool decode(const std::atomic<bool>& cancel) override {
        return decodeOggQuietly(file, samples, channels, sampleRate, &cancel);
    }
    const std::string file;
    std::vector<sf::Int16> samples;
    unsigned channels = 0;
    unsigned sampleRate = 0;
};

// Sound files decoded ahead of their use by the game's decode pool, quietly; the buffers are
// filled one by one, in the caller's order, by the caller. A file that does not decode quietly
// is left to a plain load at its turn, so every message, result and order stays that of a plain
// load. The samples end up held once, by the audio library (see held_samples.h).
class SoundDecoder {
public:
    // Queues the files on the pool, in list order.
    SoundDecoder(DecodePool& pool, std::vector<std::string> files);
    // Cancels the files not decoded yet (one being decoded stops where it is); what was
    // decoded is freed.
    ~SoundDecoder();
    SoundDecoder(const SoundDecoder&) = delete;
    SoundDecoder& operator=(const SoundDecoder&) = delete;

    // Loads the buffer from the file, as buffer.loadFromFile(file) would; a file of the list
    // comes from its decoded samples (waiting for a worker that is decoding it, or decoding it
    // here when no worker has started it). One thread at a time may call it.
    bool load(HeldBuffer& buffer, const std::string& file);
    // Only these files are still wanted: the others are not decoded any more (one being
    // decoded stops where it is), and what was decoded of them is freed.
    void keepOnly(const std::vector<std::string>& wanted);
    // Any thread: no file is decoded any more (one being decoded stops where it is), and a
    // load of a file of the list fails quietly.
    void cancelAll();
    // True once every file of the list has been decoded (or has failed, or is unwanted).
    bool finished() const;

    // Loads served from samples a worker had already decoded: the decoding was paid ahead.
    std::atomic<int> takenReady{0};

private:
    using Job = SoundFileJob;
    struct Entry {
        std::shared_ptr<Job> job;
        bool taken = false;
    };
    DecodePool& pool;
    std::vector<Entry> sounds;  // fixed once made
};

// Loads a buffer through the decoder when there is one, otherwise straight from the file.
bool loadSound(SoundDecoder* decoder, HeldBuffer& buffer, const std::string& file);
