#include "assets/decode_pool.h"

#include <algorithm>

#include "assets/frame_gate.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

const int decodeWorkerCount =
    std::clamp(static_cast<int>(std::thread::hardware_concurrency()) - 1, 1, maxDecodeWorkers);

void lowerThreadPriority() {
#if defined(__linux__)
    if (decodeThreadNice == 0) return;
    // On Linux the nice value belongs to the thread named by its id, not to the process.
    const id_t self = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, self, decodeThreadNice);
#endif
}

DecodePool::DecodePool(int workers) {
    for (int t = 0; t < workers; ++t) threads.emplace_back(&DecodePool::work, this);
}

DecodePool::~DecodePool() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        for (const std::shared_ptr<DecodeJob>& job : queue) {
            job->cancel.store(true);
            if (job->state == JobState::pending) job->state = JobState::cancelled;
        }
        queue.clear();
    }
    queued.notify_all();
    for (std::thread& worker : threads) worker.join();
}

void DecodePool::submit(std::shared_ptr<DecodeJob> job) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (stopping) {
            job->state = JobState::cancelled;
            return;
        }
        queue.push_back(std::move(job));
    }
    queued.notify_one();
}

namespace {
JobState ended(const DecodeJob& job, bool ok) {
    if (job.cancel.load()) return JobState::cancelled;
    return ok ? JobState::done : JobState::failed;
}
}  // namespace

void DecodePool::work() {
    lowerThreadPriority();
    for (;;) {
        std::shared_ptr<DecodeJob> job;
        {
            std::unique_lock<std::mutex> lock(mutex);
            queued.wait(lock, [&] { return stopping || !queue.empty(); });
            if (stopping) return;
            job = std::move(queue.front());
            queue.pop_front();
            // Cancelled, or taken by a caller that got to it first.
            if (job->state != JobState::pending) continue;
            job->state = JobState::claimed;
        }
        const bool ok = job->decode(job->cancel);
        std::lock_guard<std::mutex> lock(mutex);
        job->state = ended(*job, ok);
        changed.notify_all();
    }
}

JobState DecodePool::finish(DecodeJob& job) {
    std::unique_lock<std::mutex> lock(mutex);
    if (job.state == JobState::pending) {
        // No worker has come to it yet: decoded here rather than waited for.
        job.state = JobState::claimed;
        lock.unlock();
        const bool ok = job.decode(job.cancel);
        lock.lock();
        job.state = ended(job, ok);
        changed.notify_all();
        return job.state;
    }
    // A cancelled job is not waited for: its worker finishes it alone.
    frameGate.frameLoopWaits();
    changed.wait(lock, [&] { return job.state != JobState::claimed || job.cancel.load(); });
    return job.state == JobState::claimed ? JobState::cancelled : job.state;
}

void DecodePool::cancel(DecodeJob& job) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        job.cancel.store(true);
        if (job.state == JobState::pending) job.state = JobState::cancelled;
    }
    changed.notify_all();
}

JobState DecodePool::state(const DecodeJob& job) const {
    std::lock_guard<std::mutex> lock(mutex);
    return job.state;
}
