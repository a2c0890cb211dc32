#pragma once

#include <atomic>

// Which elements of the current song's touch and wave banks the loader thread has
// finished: a sound may be played, stopped, paused or have its volume or offset set by
// the main thread only once its flag is up. The loader raises a flag (release) after the
// element's buffer is attached; the main thread reads it (acquire). All flags are lowered
// when the banks are rebuilt for a new play, before the loader starts.
struct SongBankReady {
    static const int maxLayers = 8;
    std::atomic<bool> touch[4];
    std::atomic<bool> wave[4][maxLayers];

    SongBankReady() { clear(); }
    void clear() {
        for (auto& t : touch) t.store(false, std::memory_order_relaxed);
        for (auto& row : wave)
            for (auto& w : row) w.store(false, std::memory_order_relaxed);
    }
    bool touchReady(int i) const {
        return i >= 0 && i < 4 && touch[i].load(std::memory_order_acquire);
    }
    bool waveReady(int route, int layer) const {
        return route >= 0 && route < 4 && layer >= 0 && layer < maxLayers &&
               wave[route][layer].load(std::memory_order_acquire);
    }
    // What a play needs first: the four touches and each route's first layer.
    bool firstSoundsReady() const {
        for (int i = 0; i < 4; ++i) {
            if (!touchReady(i) || !waveReady(i, 0)) return false;
        }
        return true;
    }
};

// The one set of flags of the program's song banks.
extern SongBankReady songBankReady;
