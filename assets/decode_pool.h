#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// How many workers the game's decode pool runs: every core but one, which is left to the
// frame loop (and the graphics driver's threads), at most maxDecodeWorkers, at least one.
// Beyond three the few files a batch holds gain nothing, and each worker keeps a decoded
// file in memory.
const int maxDecodeWorkers = 3;
extern const int decodeWorkerCount;

// Where a job stands. pending: queued, nobody decodes it; claimed: a worker (or a caller
// that got to it first) decodes it; done / failed: decoded / not decoded; cancelled: given
// up before or while it was decoded (its result is not to be used).
enum class JobState : unsigned char { pending, claimed, done, failed, cancelled };

// One file to decode. The decoding writes only the job's own results, which may be read once
// the job is done, as the pool reports it (a job is kept alive by whoever holds it, the worker
// decoding it included, so a cancelled job is never waited for).
class DecodeJob {
public:
    virtual ~DecodeJob() = default;
    // Decodes; true when decoded. Prints nothing. Stops (false) when `cancel` becomes true.
    virtual bool decode(const std::atomic<bool>& cancel) = 0;

    std::atomic<bool> cancel{false};
    JobState state = JobState::pending;  // guarded by the pool
};

// Worker threads that decode jobs in the order they were submitted, for the whole run. The
// workers run below the frame loop's priority, so that no frame waits for their decoding. Every
// operation may be called from any thread.
class DecodePool {
public:
    explicit DecodePool(int workers = decodeWorkerCount);
    // Cancels every job left (one being decoded stops where it is) and stops the workers.
    ~DecodePool();
    DecodePool(const DecodePool&) = delete;
    DecodePool& operator=(const DecodePool&) = delete;

    // Queues the job (the pool keeps it alive until a worker is done with it).
    void submit(std::shared_ptr<DecodeJob> job);
    // The job's end, now: a pending job is decoded by the caller rather than waited for, a
    // claimed one is waited for until it ends or is cancelled. Returns done, failed or
    // cancelled.
    JobState finish(DecodeJob& job);
    // A pending job is not decoded; a claimed one is told to stop where it is. Does not wait.
    void cancel(DecodeJob& job);
    JobState state(const DecodeJob& job) const;
    int workers() const { return static_cast<int>(threads.size()); }

private:
    void work();

    mutable std::mutex mutex;
    std::condition_variable queued;
    std::condition_variable changed;
    std::deque<std::shared_ptr<DecodeJob>> queue;
    bool stopping = false;
    std::vector<std::thread> threads;
};

// The nice value of the decoding threads (the pool's workers and the song loader), Linux only.
// Measured on two cores with a software renderer (which draws on both), frames at the
// display's pace, over a play's first three seconds while its song loads: the slowest frames
// (99th percentile) are 2.0 to 2.5 times the steady median at the frame loop's priority, 1.4
// to 1.7 times under SCHED_IDLE, and 1.2 to 1.3 times with no loading at all. SCHED_IDLE
// brings the first sounds six to ten times later (0.2 to 0.55 s after the click instead of 30
// to 50 ms) and the whole bank up to twice as late, and on a machine busy with other programs
// an idle thread may not run for seconds; a nice value of 10 slows the loading as much for
// little gain in the frames. The decoding therefore runs at the frame loop's priority.
const int decodeThreadNice = 0;

// Gives the calling thread the decoding threads' priority (decodeThreadNice; elsewhere than
// Linux nothing).
void lowerThreadPriority();
