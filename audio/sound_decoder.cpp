#include "audio/sound_decoder.h"

#include "assets/asset_files.h"

SoundDecoder::SoundDecoder(DecodePool& pool, std::vector<std::string> files) : pool(pool) {
    sounds.resize(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        sounds[i].job = std::make_shared<Job>(std::move(files[i]));
        pool.submit(sounds[i].job);
    }
}

SoundDecoder::~SoundDecoder() {
    for (const Entry& e : sounds) {
        if (!e.taken) aheadFileLog.noteUntaken(e.job->file);
    }
    cancelAll();
}

void SoundDecoder::cancelAll() {
    for (Entry& e : sounds) pool.cancel(*e.job);
}

bool SoundDecoder::load(HeldBuffer& buffer, const std::string& file) {
    Entry* found = nullptr;
    for (Entry& e : sounds) {
        if (!e.taken && e.job->file == file) {
            found = &e;
            break;
        }
    }
    if (!found) {
        aheadFileLog.noteUnlisted(file);
        return buffer.loadFromFile(file);
    }
    found->taken = true;
    Job& job = *found->job;
    if (pool.state(job) == JobState::done) takenReady.fetch_add(1);
    const JobState end = pool.finish(job);
    // Given up (cancelAll): not loaded, quietly.
    if (end == JobState::cancelled) return false;
    // Not decoded quietly: the plain load reports it (or reads it after all).
    if (end != JobState::done) return buffer.loadFromFile(file);
    const bool ok = buffer.loadFromSamples(job.samples, job.channels, job.sampleRate);
    std::vector<sf::Int16>().swap(job.samples);
    return ok;
}

void SoundDecoder::keepOnly(const std::vector<std::string>& wanted) {
    for (Entry& e : sounds) {
        bool keep = false;
        for (const std::string& w : wanted) keep = keep || w == e.job->file;
        if (keep || e.taken) continue;
        // Left out: a later load of it reads the file.
        e.taken = true;
        // One being decoded stops and is freed with its job; one decoded is freed now.
        if (pool.state(*e.job) == JobState::done) std::vector<sf::Int16>().swap(e.job->samples);
        pool.cancel(*e.job);
    }
}

bool SoundDecoder::finished() const {
    for (const Entry& e : sounds) {
        const JobState state = pool.state(*e.job);
        if (state == JobState::pending || state == JobState::claimed) return false;
    }
    return true;
}

bool loadSound(SoundDecoder* decoder, HeldBuffer& buffer, const std::string& file) {
    return decoder ? decoder->load(buffer, file) : buffer.loadFromFile(file);
}
