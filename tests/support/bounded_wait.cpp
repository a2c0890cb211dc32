#include "support/bounded_wait.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;

Clock::time_point after(double seconds) {
    return Clock::now() +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}
}  // namespace

bool waitUntil(const std::function<bool()>& done, double seconds, const std::string& what) {
    const Clock::time_point limit = after(seconds);
    for (;;) {
        if (done()) return true;
        if (Clock::now() > limit) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ADD_FAILURE() << "gave up after " << seconds << " s waiting for " << what;
    return false;
}

bool returnsWithin(const std::function<void()>& step, double seconds, const std::string& what,
                   const std::function<void()>& release) {
    std::atomic<bool> returned{false};
    std::thread runner([&] {
        step();
        returned.store(true);
    });
    if (waitUntil([&] { return returned.load(); }, seconds, what + " to return")) {
        runner.join();
        return true;
    }
    const Clock::time_point limit = after(seconds);
    while (release && !returned.load() && Clock::now() < limit) {
        release();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!returned.load()) {
        std::fprintf(stderr, "%s has not returned and cannot be stopped: the test program ends\n",
                     what.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    runner.join();
    return false;
}

bool makeFifo(const std::string& path) {
    return mkfifo(path.c_str(), 0644) == 0;
}

void releaseFifoReaders(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) close(fd);
}
