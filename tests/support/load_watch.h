#pragma once

// Stamps, from a thread of its own, the moments a song loader publishes its first sounds and
// reports its end, to the half millisecond, while the main thread runs the frames (the
// benchmarks' watcher). Everything it shares with the main thread is atomic.

#include <atomic>
#include <chrono>
#include <thread>

class LoadWithThread;

class LoadWatch {
public:
    // Starts the clock and the watching thread; nothing is stamped until watch() names the
    // loader.
    LoadWatch();
    // Stops the thread.
    ~LoadWatch();
    LoadWatch(const LoadWatch&) = delete;
    LoadWatch& operator=(const LoadWatch&) = delete;

    // Main thread: the loader to watch, once it is launched. It must outlive the watch (or
    // stop() must come first).
    void watch(LoadWithThread* loader) { watched.store(loader); }
    void stop();
    // Milliseconds from the start to each moment, -1 until it came.
    double firstSoundsMs() const { return firstMs.load(); }
    double endMs() const { return wholeMs.load(); }

private:
    void run();

    const std::chrono::steady_clock::time_point t0;
    std::atomic<LoadWithThread*> watched{nullptr};
    std::atomic<bool> stopping{false};
    std::atomic<double> firstMs{-1.0};
    std::atomic<double> wholeMs{-1.0};
    std::thread thread;
};
