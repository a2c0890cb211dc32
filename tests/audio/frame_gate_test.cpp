#include "assets/frame_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/bounded_wait.h"

namespace {
// A decoding thread's step: gives way once, then records the order in which it came back.
struct Decoder {
    explicit Decoder(FrameGate& gate) : gate(gate) {}
    void run() {
        thread = std::thread([this] {
            started.store(true);
            gate.giveWay();
            back.store(order.fetch_add(1));
        });
    }
    FrameGate& gate;
    std::thread thread;
    std::atomic<bool> started{false};
    std::atomic<int> back{-1};
    static std::atomic<int> order;
};
std::atomic<int> Decoder::order{0};
}  // namespace

// A decoding thread comes back from giving way only when the play's frame is shown; the
// frame loop's own thread, a menu's frame and a game whose drawing is not on the processor
// never hold it; and when the frame loop does not rest (or waits for the decoding inside its
// frame), the decoding still goes on.
TEST(FrameGate, DecodingWaitsForThePlaysFrameAndNothingElse) {
    {
        FrameGate gate;
        gate.enable(true);
        gate.longestWait = std::chrono::milliseconds(60000);
        gate.frameStarts(true);
        Decoder d(gate);
        d.run();
        ASSERT_TRUE(waitUntil([&] { return d.started.load(); }, stepBoundSeconds, "start"));
        // Long enough for a thread that does not wait to have come back.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const int shown = Decoder::order.fetch_add(1);
        gate.frameEnds();
        ASSERT_TRUE(waitUntil([&] { return d.back.load() >= 0; }, stepBoundSeconds, "the frame"));
        EXPECT_GT(d.back.load(), shown) << "came back before the frame was shown";
        d.thread.join();
        // The frame loop's own thread never waits for itself (were it to, only the watch
        // would end its wait).
        gate.frameStarts(true);
        std::atomic<bool> rescued{false}, done{false};
        std::thread watch([&] {
            if (!waitUntil([&] { return done.load(); }, stepBoundSeconds, "the frame loop")) {
                rescued.store(true);
                gate.frameEnds();
            }
        });
        gate.giveWay();
        done.store(true);
        watch.join();
        EXPECT_FALSE(rescued.load());
        gate.frameEnds();
    }
    struct Case {
        const char* what;
        bool enabled;
        bool playFrame;
        bool loopWaits;
        int longestWaitMs;
    };
    const Case cases[] = {
        {"a menu's frame", true, false, false, 60000},
        {"drawing off the processor", false, true, false, 60000},
        {"the frame loop waiting for the decoding", true, true, true, 60000},
        {"a frame loop that never rests", true, true, false, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FrameGate gate;
        gate.enable(c.enabled);
        gate.longestWait = std::chrono::milliseconds(c.longestWaitMs);
        gate.frameStarts(c.playFrame);
        if (c.loopWaits) gate.frameLoopWaits();
        Decoder d(gate);
        d.run();
        EXPECT_TRUE(waitUntil([&] { return d.back.load() >= 0; }, stepBoundSeconds, c.what));
        gate.frameEnds();
        d.thread.join();
    }
}
