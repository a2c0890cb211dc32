#include "support/load_watch.h"

#include "audio/bank_ready.h"
#include "audio/load_with_thread.h"

LoadWatch::LoadWatch() : t0(std::chrono::steady_clock::now()), thread(&LoadWatch::run, this) {}

LoadWatch::~LoadWatch() {
    stop();
}

void LoadWatch::stop() {
    stopping.store(true);
    if (thread.joinable()) thread.join();
}

void LoadWatch::run() {
    auto since = [&] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
            .count();
    };
    while (!stopping.load()) {
        LoadWithThread* loader = watched.load();
        if (loader) {
            if (firstMs.load() < 0 && songBankReady.firstSoundsReady()) firstMs.store(since());
            if (loader->loadStatus.load() != 0) {
                wholeMs.store(since());
                return;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}
