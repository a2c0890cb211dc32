#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// The frame loop's turn on the processor. Where the drawing itself runs on the processor (a
// software renderer draws on every core), a decoding thread that runs beside a frame slows that
// frame down, whatever its priority. During a play, where every frame counts, the decoding
// threads therefore decode while the frame loop rests (waiting for the display's next
// refresh) and give way while it makes a frame; in the menus the loading goes first. So that
// decoding always goes on, a thread that waited is granted a short slice before it gives way
// again, and it never waits longer than `longestWait` (a frame loop that never rests, or one
// that waits for a decoding inside its frame, still gets its files).
class FrameGate {
public:
    static constexpr std::chrono::microseconds slice{1000};

    // Whether the decoding gives way at all (off: it runs beside the frames).
    void enable(bool on) { enabled.store(on, std::memory_order_relaxed); }
    // The frame loop: a frame begins (one the decoding gives way to, or not) / is shown.
    void frameStarts(bool givenWay);
    void frameEnds();
    // The frame loop is about to wait for a decoding thread, inside its frame: the rest of the
    // frame is not given way to. Elsewhere than on the frame loop's thread, nothing.
    void frameLoopWaits();
    // A decoding thread, between two short steps of its work: returns at once while the frame
    // loop rests, or within its slice; otherwise waits until the frame is shown (at most
    // longestWait).
    void giveWay();

    std::chrono::milliseconds longestWait{20};
    std::atomic<bool> enabled{false};
    std::atomic<bool> busy{false};
    std::mutex mutex;
    std::condition_variable shown;
};

// The one gate of the program, between its frame loop and its decoding threads.
extern FrameGate frameGate;
