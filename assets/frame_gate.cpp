#include "assets/frame_gate.h"

FrameGate frameGate;

constexpr std::chrono::microseconds FrameGate::slice;

namespace {
// The end of the slice granted to this thread after its last wait.
thread_local std::chrono::steady_clock::time_point sliceEnd;
// Set on the frame loop's thread, which never gives way to itself.
thread_local bool frameLoopThread = false;
}  // namespace

void FrameGate::frameStarts(bool givenWay) {
    frameLoopThread = true;
    busy.store(givenWay, std::memory_order_relaxed);
}

void FrameGate::frameEnds() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        busy.store(false, std::memory_order_relaxed);
    }
    shown.notify_all();
}

void FrameGate::frameLoopWaits() {
    if (frameLoopThread && busy.load(std::memory_order_relaxed)) frameEnds();
}

void FrameGate::giveWay() {
    if (!enabled.load(std::memory_order_relaxed) || !busy.load(std::memory_order_relaxed)) return;
    if (frameLoopThread) return;
    if (std::chrono::steady_clock::now() < sliceEnd) return;
    {
        std::unique_lock<std::mutex> lock(mutex);
        shown.wait_for(lock, longestWait, [&] { return !busy.load(std::memory_order_relaxed); });
    }
    sliceEnd = std::chrono::steady_clock::now() + slice;
}
