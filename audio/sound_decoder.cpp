#include "audio/sound_decoder.h"

#include "assets/asset_files.h"
#include "audio/held_samples.h"

SoundDecoder::SoundDecoder(std::vector<std::string> files, int threads)
    : unwanted(new std::atomic<bool>[files.size()]) {
    for (size_t i = 0; i < files.size(); ++i) unwanted[i].store(false);
    sounds.resize(files.size());
    for (size_t i = 0; i < files.size(); ++i) sounds[i].file = std::move(files[i]);
    for (int t = 0; t < threads; ++t) workers.emplace_back(&SoundDecoder::work, this);
}

SoundDecoder::~SoundDecoder() {
    stopping.store(true);
    for (size_t i = 0; i < sounds.size(); ++i) unwanted[i].store(true);
    for (std::thread& worker : workers) worker.join();
    for (const Sound& s : sounds) {
        if (!s.taken) aheadFileLog.noteUntaken(s.file);
    }
}

void SoundDecoder::work() {
    for (;;) {
        size_t i = 0;
        {
            std::lock_guard<std::mutex> lock(mutex);
            while (i < sounds.size() && sounds[i].claimed) ++i;
            if (stopping.load() || i >= sounds.size()) return;
            sounds[i].claimed = true;
        }
        // The file name is fixed before the workers start; only the result is shared.
        std::vector<sf::Int16> samples;
        unsigned channels = 0, rate = 0;
        const bool ok = decodeOggQuietly(sounds[i].file, samples, channels, rate, &unwanted[i]);
        std::lock_guard<std::mutex> lock(mutex);
        Sound& s = sounds[i];
        if (!unwanted[i].load()) s.samples.swap(samples);
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
    if (!found) {
        aheadFileLog.noteUnlisted(file);
        return loadSamplesOnce(buffer, file);
    }
    std::vector<sf::Int16> samples;
    unsigned channels = 0, rate = 0;
    bool ok = false;
    {
        std::unique_lock<std::mutex> lock(mutex);
        found->taken = true;
        if (!found->claimed) {
            // No worker has come to it yet: decoded here rather than waited for.
            found->claimed = true;
            found->done = true;
            lock.unlock();
            ok = decodeOggQuietly(file, samples, channels, rate);
        } else {
            if (found->done) takenReady.fetch_add(1);
            decoded.wait(lock, [&] { return found->done; });
            samples.swap(found->samples);
            channels = found->channels;
            rate = found->sampleRate;
            ok = found->ok;
        }
    }
    // Not decoded quietly: the plain load reports it (or reads it after all).
    if (!ok) return loadSamplesOnce(buffer, file);
    return loadDecodedSamples(buffer, samples, channels, rate);
}

void SoundDecoder::keepOnly(const std::vector<std::string>& wanted) {
    std::lock_guard<std::mutex> lock(mutex);
    for (size_t i = 0; i < sounds.size(); ++i) {
        Sound& s = sounds[i];
        bool keep = false;
        for (const std::string& w : wanted) keep = keep || w == s.file;
        if (keep || s.taken) continue;
        // Left out: a later load of it reads the file.
        unwanted[i].store(true);
        s.taken = true;
        if (s.claimed && !s.done) continue;  // its worker stops and stores nothing usable
        s.claimed = s.done = true;
        s.ok = false;
        std::vector<sf::Int16>().swap(s.samples);
    }
}

bool SoundDecoder::finished() {
    std::lock_guard<std::mutex> lock(mutex);
    for (const Sound& s : sounds) {
        if (!s.done) return false;
    }
    return true;
}

bool loadSound(SoundDecoder* decoder, sf::SoundBuffer& buffer, const std::string& file) {
    return decoder ? decoder->load(buffer, file) : loadSamplesOnce(buffer, file);
}
