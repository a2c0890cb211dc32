#include "audio/load_with_thread.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <thread>

#include "audio/bank_ready.h"
#include "audio/held_samples.h"
#include "core/songs.h"

namespace {
// Layers of route r for a song; 0 for a song outside 0..3.
int layersOf(int song, int route) {
    return (song >= 0 && song < 4) ? touchCounts[song][route] : 0;
}
}  // namespace

void prepareSongBanks(std::vector<std::vector<sf::Sound>>& waveSounds,
                      std::vector<std::vector<sf::SoundBuffer>>& waveBuffers,
                      std::vector<sf::Sound>& touchSounds,
                      std::vector<sf::SoundBuffer>& touchBuffers, int song) {
    songBankReady.clear();
    waveSounds.clear();
    waveBuffers.clear();
    touchSounds.clear();
    touchBuffers.clear();
    touchBuffers.resize(4);
    touchSounds.resize(4);
    waveSounds.resize(4);
    waveBuffers.resize(4);
    for (int r = 0; r < 4; ++r) {
        waveSounds[r].resize(layersOf(song, r));
        waveBuffers[r].resize(layersOf(song, r));
    }
}

LoadWithThread::LoadWithThread(std::vector<sf::Sound>* touchSounds,
                               std::vector<sf::SoundBuffer>* touchBuffers,
                               std::vector<std::vector<sf::Sound>>* waveSounds,
                               std::vector<std::vector<sf::SoundBuffer>>* waveBuffers, int song)
    : touchSounds(touchSounds),
      touchBuffers(touchBuffers),
      waveSounds(waveSounds),
      waveBuffers(waveBuffers),
      song(song),
      loadStatus(0),
      thread(&LoadWithThread::run, this) {}

LoadWithThread::~LoadWithThread() {
    // The thread goes first: run may still be writing into the buffers freed below.
    thread.wait();
    songBankReady.clear();
    for (auto& row : *waveBuffers) row.clear();
    waveBuffers->clear();
    touchBuffers->clear();
}

namespace {
// When the first sounds were decoded ahead: how long after the launch the rest of the bank
// starts decoding (two frames of a slow machine).
const std::chrono::milliseconds restOfBankDelay(50);

// One sound of the bank, in the order of publication.
struct Element {
    std::string file;
    sf::SoundBuffer* buffer;
    sf::Sound* sound;
    std::atomic<bool>* flag;  // null past the flags' capacity
    const char* failure;      // the line printed when its file fails
};

// Decodes the elements on worker threads, several ahead of their turn, straight into their
// own buffers (nobody else touches an element before it is published). Decoding prints
// nothing: an element that does not decode quietly is left to a plain load at its turn.
class AheadDecoder {
public:
    // Will decode the elements from `from` on (those before it come from elsewhere).
    AheadDecoder(std::vector<Element>& elements, size_t from)
        : elements(elements), state(elements.size(), pending), next(from) {}
    void start(int threads) {
        for (int t = 0; t < threads; ++t) workers.emplace_back(&AheadDecoder::work, this);
    }
    ~AheadDecoder() { stop(); }
    // Waits until element i is decoded; true when it is ready to publish.
    bool wait(size_t i) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return state[i] != pending; });
        return state[i] == decoded;
    }
    // Stops the workers (an element being decoded is finished first).
    void stop() {
        stopping.store(true);
        for (std::thread& worker : workers) worker.join();
        workers.clear();
    }
    // Empties the elements after i that were decoded ahead (workers stopped).
    void forgetAfter(size_t i) {
        for (size_t k = i + 1; k < elements.size(); ++k) {
            if (state[k] == decoded) *elements[k].buffer = sf::SoundBuffer();
        }
    }

private:
    enum State { pending, decoded, failed };
    void work() {
        std::vector<sf::Int16> samples;
        for (;;) {
            if (stopping.load()) return;
            const size_t i = next.fetch_add(1);
            if (i >= elements.size()) return;
            unsigned channels = 0, rate = 0;
            const bool ok = decodeOggQuietly(elements[i].file, samples, channels, rate) &&
                            loadDecodedSamples(*elements[i].buffer, samples, channels, rate);
            std::vector<sf::Int16>().swap(samples);
            std::lock_guard<std::mutex> lock(mutex);
            state[i] = ok ? decoded : failed;
            changed.notify_all();
        }
    }

    std::vector<Element>& elements;
    std::vector<State> state;
    std::atomic<size_t> next;
    std::atomic<bool> stopping{false};
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::thread> workers;
};
}  // namespace

void LoadWithThread::run() {
    const bool banksSized = song >= 0 && song < 4 && touchSounds->size() >= 4 &&
                            touchBuffers->size() >= 4 && waveSounds->size() >= 4 &&
                            waveBuffers->size() >= 4;
    if (!banksSized) {
        firstSounds.reset();
        loadStatus = -1;
        std::cerr << "error loading touch!" << std::endl;
        return;
    }
    // The order of publication: the 4 touches, the first layer of each route, then the
    // other layers route by route.
    std::vector<Element> elements;
    for (int i = 0; i < 4; ++i) {
        elements.push_back({touchFile(song, i + 1), &(*touchBuffers)[i], &(*touchSounds)[i],
                            &songBankReady.touch[i], "error loading touch!"});
    }
    auto addWave = [&](int row, int k) {
        std::vector<sf::SoundBuffer>& buffers = (*waveBuffers)[row];
        std::vector<sf::Sound>& sounds = (*waveSounds)[row];
        const bool sized =
            k < static_cast<int>(buffers.size()) && k < static_cast<int>(sounds.size());
        elements.push_back({waveFile(song, row + 1, k + 1), sized ? &buffers[k] : nullptr,
                            sized ? &sounds[k] : nullptr,
                            k < SongBankReady::maxLayers ? &songBankReady.wave[row][k] : nullptr,
                            "error music!"});
        return sized;
    };
    size_t usable = 0;  // elements before the first one without a place in the banks
    bool placed = true;
    for (int r = 0; r < 4; ++r) {
        placed = addWave(r, 0) && placed;
        if (placed) usable = elements.size();
    }
    for (int r = 0; r < 4; ++r) {
        for (int k = 2; k <= touchCounts[song][r]; ++k) {
            placed = addWave(r, k - 1) && placed;
            if (placed) usable = elements.size();
        }
    }
    std::vector<Element> decodable(elements.begin(), elements.begin() + usable);
    const auto launched = std::chrono::steady_clock::now();
    // Two decoders: the sounds come in parallel and the frame loop cannot take every core
    // from the loading. When the first sounds were decoded before the play started, they
    // come from there, and the decoders start once they are published (the play-start
    // frame then has the processor).
    size_t ahead = 0;
    if (firstSounds) {
        std::vector<std::string> wanted = firstSoundFiles(song);
        ahead = std::min(wanted.size(), usable);
        wanted.resize(ahead);
        firstSounds->keepOnly(wanted);
    }
    AheadDecoder decoder(decodable, ahead);
    if (ahead == 0) decoder.start(2);
    for (size_t i = 0; i < elements.size(); ++i) {
        Element& e = elements[i];
        bool ok = false;
        if (i < ahead) {
            // Not decoded quietly, it is read as a plain load would, which reports the file.
            ok = firstSounds->load(*e.buffer, e.file);
        } else if (i < usable) {
            ok = decoder.wait(i);
            // Not decoded quietly: the plain load reports the file (or reads it after all).
            if (!ok) ok = loadSamplesOnce(*e.buffer, e.file);
        }
        if (!ok) {
            decoder.stop();
            decoder.forgetAfter(i);
            firstSounds.reset();
            loadStatus = -1;
            std::cerr << e.failure << std::endl;
            return;
        }
        // The sound holds its buffer before the main thread may see it ready.
        e.sound->setBuffer(*e.buffer);
        if (betweenAttachAndFlag) betweenAttachAndFlag();
        if (e.flag) e.flag->store(true, std::memory_order_release);
        if (i + 1 == ahead) {
            firstSoundsReady.store(firstSounds->takenReady.load());
            firstSounds.reset();
            // The play's first frames are drawn before the rest of the bank, which no play
            // needs for seconds, competes with them.
            std::this_thread::sleep_until(launched + restOfBankDelay);
            decoder.start(2);
        }
    }
    decoder.stop();
    std::cout << "success thread!" << std::endl;
    loadStatus = 1;
}
