#pragma once

#include <SFML/Audio/Sound.hpp>
#include <SFML/System/Thread.hpp>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "assets/asset_files.h"  // the song's files: touchFile, waveFile, firstSoundFiles
#include "assets/decode_pool.h"
#include "audio/held_samples.h"
#include "audio/sound_decoder.h"

// Rebuilds a song's banks before its loader starts: every old sound and buffer is destroyed,
// the touch lists get 4 elements and wave row r as many as the song has layers on route r.
// All bank elements are marked as not yet loaded. Main thread, with no loader running.
void prepareSongBanks(std::vector<std::vector<sf::Sound>>& waveSounds,
                      std::vector<std::vector<HeldBuffer>>& waveBuffers,
                      std::vector<sf::Sound>& touchSounds, std::vector<HeldBuffer>& touchBuffers,
                      int song);

// Loads one song's touch sounds and wave layers on a second thread, in a fixed order:
// the 4 touches, the first layer of each route, then the other layers route by route.
// Each element is published (songBankReady) as soon as its buffer is attached to its sound,
// so a play can use it at once; until then the main thread leaves that element alone.
// The decode pool's workers decode the files ahead of their turn; publication keeps the order,
// and at the first file that fails nothing after it is published (nor kept). The first sounds
// may have been decoded before the play started (firstSounds): the loader takes them from there.
// A stop (requestStop) ends the load between two elements: nothing after the stop is published.
class LoadWithThread {
public:
    LoadWithThread(std::vector<sf::Sound>* touchSounds, std::vector<HeldBuffer>* touchBuffers,
                   std::vector<std::vector<sf::Sound>>* waveSounds,
                   std::vector<std::vector<HeldBuffer>>* waveBuffers, int song);
    // Stops the load, waits for run to return, then frees the buffers (the sounds lose them).
    virtual ~LoadWithThread();
    LoadWithThread(const LoadWithThread&) = delete;
    LoadWithThread& operator=(const LoadWithThread&) = delete;

    // The loader thread's work.
    void run();
    // Main thread: starts run on the loader thread; waits for it to return.
    void launch() { thread.launch(); }
    void wait();
    // Any thread: run ends before the next element is published, and the files not decoded
    // yet are given up (one being decoded stops where it is). Does not wait.
    void requestStop();

    std::vector<sf::Sound>* touchSounds;
    std::vector<HeldBuffer>* touchBuffers;
    std::vector<std::vector<sf::Sound>>* waveSounds;
    std::vector<std::vector<HeldBuffer>>* waveBuffers;
    int song;
    // 0 while loading, 1 once every file is loaded, -1 after a failure, -2 once stopped before
    // the end.
    std::atomic<int> loadStatus;
    sf::Thread thread;
    // Optional, set before launch: the pool whose workers decode ahead (without one, the loader
    // thread decodes every file itself).
    DecodePool* pool = nullptr;
    // Optional, set before launch: the song's first sounds decoded ahead (it may hold other
    // songs' too). The loader thread takes them and frees it once they are published.
    std::unique_ptr<SoundDecoder> firstSounds;
    // How many of the first sounds came from firstSounds already decoded (set when they
    // are all published).
    std::atomic<int> firstSoundsReady{0};
    // Optional, set before launch (tests): called on the loader thread for each element between
    // the two steps of its publication, its buffer attached to its sound and its flag raised.
    std::function<void()> betweenAttachAndFlag;

    std::atomic<bool> stopRequested{false};
    // What a stop cancels: the jobs run has queued, on this pool, and firstSounds.
    std::mutex jobsMutex;
    std::vector<std::shared_ptr<DecodeJob>> jobs;
    DecodePool* jobsPool = nullptr;

private:
    // The steps of run, in their order.
    struct Element;
    struct Plan;
    void listElements(Plan& plan);
    void takeFirstSounds(Plan& plan);
    void queueFrom(Plan& plan, size_t from);
    bool loadElement(Plan& plan, size_t i);
    void publish(Element& e);
    void unpublishedFrom(Plan& plan, size_t from);
    void dropFirstSounds();
};
