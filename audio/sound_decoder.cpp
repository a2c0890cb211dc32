#include "audio/sound_decoder.h"

#include "audio/held_samples.h"

SoundDecoder::SoundDecoder(std::vector<std::string> files, int threads) {
    sounds.resize(files.size());
    for (size_t i = 0; i < files.size(); ++i) sounds[i].file = std::move(files[i]);
    for (int t = 0; t < threads; ++t) workers.emplace_back(&SoundDecoder::work, this);
}

SoundDecoder::~SoundDecoder() {
    stopping.store(true);
    for (std::thread& worker : workers) worker.join();
}

void SoundDecoder::work() {
    for (;;) {
        if (stopping.load()) return;
        const size_t i = next.fetch_add(1);
        if (i >= sounds.size()) return;
        // The file name is fixed before the workers start; only the result is shared.
        std::vector<sf::Int16> samples;
        unsigned channels = 0, rate = 0;
        const bool ok = decodeOggQuietly(sounds[i].file, samples, channels, rate);
        std::lock_guard<std::mutex> lock(mutex);
        Sound& s = sounds[i];
        s.samples.swap(samples);
        s.channels = channels;
        s.sampleRate = rate;
        s.ok = ok;
        s.done = true;
        decoded.notify_all();
    }
}

bool SoundDecoder::load(sf::SoundBuffer& buffer, const std::string& file) {
    Sound* found = nullptr;
    for (Sound& s : sounds) {
        if (!s.taken && s.file == file) {
            found = &s;
            break;
        }
    }
    if (!found) return loadSamplesOnce(buffer, file);
    std::vector<sf::Int16> samples;
    bool ok = false;
    {
        std::unique_lock<std::mutex> lock(mutex);
        decoded.wait(lock, [&] { return found->done; });
        found->taken = true;
        samples.swap(found->samples);
        ok = found->ok;
    }
    // Not decoded quietly: the plain load reports it (or reads it after all).
    if (!ok) return loadSamplesOnce(buffer, file);
    return loadDecodedSamples(buffer, samples, found->channels, found->sampleRate);
}

bool loadSound(SoundDecoder* decoder, sf::SoundBuffer& buffer, const std::string& file) {
    return decoder ? decoder->load(buffer, file) : loadSamplesOnce(buffer, file);
}
