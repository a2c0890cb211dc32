#include "audio/load_with_thread.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <mutex>
#include <thread>

#include "assets/frame_gate.h"
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
                      std::vector<std::vector<HeldBuffer>>& waveBuffers,
                      std::vector<sf::Sound>& touchSounds, std::vector<HeldBuffer>& touchBuffers,
                      int song) {
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
                               std::vector<HeldBuffer>* touchBuffers,
                               std::vector<std::vector<sf::Sound>>* waveSounds,
                               std::vector<std::vector<HeldBuffer>>* waveBuffers, int song)
    : touchSounds(touchSounds),
      touchBuffers(touchBuffers),
      waveSounds(waveSounds),
      waveBuffers(waveBuffers),
      song(song),
      loadStatus(0),
      thread(&LoadWithThread::run, this) {}

LoadWithThread::~LoadWithThread() {
    // The thread goes first: run may still be writing into the buffers freed below.
    requestStop();
    frameGate.frameLoopWaits();
    thread.wait();
    songBankReady.clear();
    for (auto& row : *waveBuffers) row.clear();
    waveBuffers->clear();
    touchBuffers->clear();
}

void LoadWithThread::wait() {
    frameGate.frameLoopWaits();
    thread.wait();
}

void LoadWithThread::requestStop() {
    stopRequested.store(true);
    std::lock_guard<std::mutex> lock(jobsMutex);
    if (firstSounds) firstSounds->cancelAll();
    for (const std::shared_ptr<DecodeJob>& job : jobs) {
        if (job) jobsPool->cancel(*job);
    }
}

namespace {
// When the first sounds were decoded ahead: how long after the launch the rest of the bank
// starts decoding (two frames of a slow machine).
const std::chrono::milliseconds restOfBankDelay(50);
}  // namespace

// One sound of the bank, in the order of publication.
struct LoadWithThread::Element {
    std::string file;
    HeldBuffer* buffer;
    sf::Sound* sound;
    std::atomic<bool>* flag;  // null past the flags' capacity
    const char* failure;      // the line printed when its file fails
};

// One load: the bank's elements in the order of publication, and the decoding of those
// not decoded ahead.
struct LoadWithThread::Plan {
    std::vector<Element> elements;
    size_t usable = 0;  // elements before the first one without a place in the banks
    size_t ahead = 0;   // elements that come from firstSounds
    DecodePool ownPool{0};
    DecodePool* decoding = nullptr;
    std::vector<std::shared_ptr<SoundFileJob>> queued;
    std::chrono::steady_clock::time_point launched;
};

void LoadWithThread::run() {
    // The loading is background work: the frame loop goes first.
    lowerThreadPriority();
    const bool banksSized = song >= 0 && song < 4 && touchSounds->size() >= 4 &&
                            touchBuffers->size() >= 4 && waveSounds->size() >= 4 &&
                            waveBuffers->size() >= 4;
    if (!banksSized) {
        dropFirstSounds();
        loadStatus = -1;
        std::cerr << "error loading touch!" << std::endl;
        return;
    }
    Plan plan;
    listElements(plan);
    plan.launched = std::chrono::steady_clock::now();
    plan.decoding = pool ? pool : &plan.ownPool;
    plan.queued.resize(plan.usable);
    takeFirstSounds(plan);
    if (plan.ahead == 0) queueFrom(plan, 0);
    for (size_t i = 0; i < plan.elements.size(); ++i) {
        const bool ok = !stopRequested.load() && loadElement(plan, i);
        if (stopRequested.load()) {
            unpublishedFrom(plan, i);
            loadStatus = -2;
            return;
        }
        if (!ok) {
            unpublishedFrom(plan, i);
            loadStatus = -1;
            std::cerr << plan.elements[i].failure << std::endl;
            return;
        }
        publish(plan.elements[i]);
        if (i + 1 == plan.ahead) {
            firstSoundsReady.store(firstSounds->takenReady.load());
            dropFirstSounds();
            // The play's first frames are drawn before the rest of the bank, which no play
            // needs for seconds, competes with them.
            std::this_thread::sleep_until(plan.launched + restOfBankDelay);
            queueFrom(plan, plan.ahead);
        }
    }
    {
        std::lock_guard<std::mutex> lock(jobsMutex);
        jobs.clear();
    }
    std::cout << "success thread!" << std::endl;
    loadStatus = 1;
}

// The order of publication, the song's bank as the asset layer lists it: the 4 touches, the
// first layer of each route, then the other layers route by route. Elements from the first
// one without a place in the banks on are listed but never loaded.
void LoadWithThread::listElements(Plan& plan) {
    const std::vector<std::string> files = songSoundFiles(song);
    std::vector<Element>& elements = plan.elements;
    auto nextFile = [&] {
        return elements.size() < files.size() ? files[elements.size()] : std::string();
    };
    for (int i = 0; i < 4; ++i) {
        elements.push_back({nextFile(), &(*touchBuffers)[i], &(*touchSounds)[i],
                            &songBankReady.touch[i], "error loading touch!"});
    }
    auto addWave = [&](int row, int k) {
        std::vector<HeldBuffer>& buffers = (*waveBuffers)[row];
        std::vector<sf::Sound>& sounds = (*waveSounds)[row];
        const bool sized =
            k < static_cast<int>(buffers.size()) && k < static_cast<int>(sounds.size());
        elements.push_back({nextFile(), sized ? &buffers[k] : nullptr, sized ? &sounds[k] : nullptr,
                            k < SongBankReady::maxLayers ? &songBankReady.wave[row][k] : nullptr,
                            "error music!"});
        return sized;
    };
    bool placed = true;
    for (int r = 0; r < 4; ++r) {
        placed = addWave(r, 0) && placed;
        if (placed) plan.usable = elements.size();
    }
    for (int r = 0; r < 4; ++r) {
        for (int k = 2; k <= touchCounts[song][r]; ++k) {
            placed = addWave(r, k - 1) && placed;
            if (placed) plan.usable = elements.size();
        }
    }
}

// When the first sounds were decoded before the play started, they come from there, and the
// rest of the bank is queued once they are published (the play-start frame then has the
// processor).
void LoadWithThread::takeFirstSounds(Plan& plan) {
    if (!firstSounds) return;
    std::vector<std::string> wanted = firstSoundFiles(song);
    plan.ahead = std::min(wanted.size(), plan.usable);
    wanted.resize(plan.ahead);
    firstSounds->keepOnly(wanted);
}

void LoadWithThread::queueFrom(Plan& plan, size_t from) {
    std::lock_guard<std::mutex> lock(jobsMutex);
    jobsPool = plan.decoding;
    for (size_t i = from; i < plan.usable; ++i) {
        plan.queued[i] = std::make_shared<SoundFileJob>(plan.elements[i].file);
        plan.decoding->submit(plan.queued[i]);
        // A stop that came before the job was listed cancels it here.
        if (stopRequested.load()) plan.decoding->cancel(*plan.queued[i]);
    }
    jobs.assign(plan.queued.begin(), plan.queued.end());
}

// Fills element i's buffer: from the first sounds decoded ahead, from its job, or, when it
// does not decode quietly, by a plain load (which reports the file). False when it failed.
bool LoadWithThread::loadElement(Plan& plan, size_t i) {
    Element& e = plan.elements[i];
    if (i < plan.ahead) return firstSounds->load(*e.buffer, e.file);
    if (i >= plan.usable) return false;
    // The samples are the loader's once the job is done (a job given up may still be in its
    // worker's hands).
    SoundFileJob& job = *plan.queued[i];
    bool ok = false;
    if (plan.decoding->finish(job) == JobState::done) {
        frameGate.giveWay();
        ok = e.buffer->loadFromSamples(job.samples, job.channels, job.sampleRate);
        std::vector<sf::Int16>().swap(job.samples);
    }
    if (!ok && !stopRequested.load()) ok = e.buffer->loadFromFile(e.file);
    return ok;
}

// The sound holds its buffer before the main thread may see it ready.
void LoadWithThread::publish(Element& e) {
    e.sound->setBuffer(e.buffer->sound());
    if (betweenAttachAndFlag) betweenAttachAndFlag();
    if (e.flag) e.flag->store(true, std::memory_order_release);
}

// The end of a load that publishes nothing from element `from` on: every job given up (a
// worker stops where it is, alone), and what was loaded past the published elements emptied.
void LoadWithThread::unpublishedFrom(Plan& plan, size_t from) {
    for (const std::shared_ptr<SoundFileJob>& job : plan.queued) {
        if (job) plan.decoding->cancel(*job);
    }
    for (size_t k = from; k < plan.usable; ++k) {
        if (plan.elements[k].buffer->sampleCount() > 0) plan.elements[k].buffer->clear();
    }
    dropFirstSounds();
    std::lock_guard<std::mutex> lock(jobsMutex);
    jobs.clear();
}

void LoadWithThread::dropFirstSounds() {
    std::lock_guard<std::mutex> lock(jobsMutex);
    firstSounds.reset();
}
