#include "tools/audio/pack.h"

#include <cmath>

#include "core/songs.h"
#include "tools/audio/render.h"
#include "tools/audio/repertoire.h"

namespace mirevo_audio {

namespace {

std::size_t framesOf(double seconds) {
    return static_cast<std::size_t>(std::llround(seconds * kSampleRate));
}

std::string waves(int n) {
    return "qo_audio/mirevo_qo" + std::to_string(n) + "_waves/mirevo_qo" + std::to_string(n);
}

}  // namespace

int regularLayerCount(int song, int route) {
    const int count = touchCounts[song][route];
    return (song == 2 && route == 0) ? count - 2 : count;
}

std::vector<PackFile> packFiles() {
    std::vector<PackFile> files;
    for (int s = 0; s < 4; ++s) {
        const int n = s + 1;
        const std::string ns = std::to_string(n);
        for (int r = 0; r < 4; ++r) {
            files.push_back({"qo_audio/mirevo_touches/mirevo_qo" + ns + "/mirevo_qo" + ns +
                                 "_touche" + std::to_string(r + 1) + ".ogg",
                             Kind::Touch, s, r, 0});
        }
        for (int r = 0; r < 4; ++r) {
            const int regular = regularLayerCount(s, r);
            for (int k = 1; k <= touchCounts[s][r]; ++k) {
                files.push_back(
                    {waves(n) + "_t" + std::to_string(r + 1) + "_" + std::to_string(k) + ".ogg",
                     k <= regular ? Kind::Layer : Kind::Special, s, r, k});
            }
        }
        files.push_back({waves(n) + "_break_scoring.ogg", Kind::Final, s, -1, 0});
    }
    for (int m = 0; m < 4; ++m) {
        files.push_back({"qo_audio/mirevo_drones/mirevo_drone" + std::to_string(m + 1) + ".ogg",
                         Kind::Drone, songOfMode[m], m, 0});
    }
    files.push_back({"qo_audio/mirevo_menu/mirevo_menu_click1.ogg", Kind::Click, -1, -1, 0});
    files.push_back({"qo_audio/mirevo_menu/mirevo_menu_loop3.ogg", Kind::MenuLoop, -1, -1, 0});
    files.push_back(
        {"qo_audio/mirevo_menu/mirevo_menu_maxVol_loop2.ogg", Kind::MenuFull, -1, -1, 0});
    files.push_back({"qo_audio/mirevo_error/mirevo_sound_error6.ogg", Kind::Error, -1, -1, 0});
    files.push_back({"qo_audio/mirevo_menu/mirevo_calibration_click.ogg", Kind::Beat, -1, -1, 0});
    return files;
}

std::size_t exactFrames(const PackFile& file) {
    switch (file.kind) {
        case Kind::Layer:
        case Kind::Special:
            return framesOf(songLoopLength[file.song]);
        case Kind::Final:
            return framesOf(songLength[file.song]);
        case Kind::Drone:
            return framesOf(kDroneSeconds);
        case Kind::MenuLoop:
        case Kind::MenuFull:
            return framesOf(menuLoopSeconds());
        default:
            return 0;
    }
}

std::size_t maxFrames(const PackFile& file) {
    switch (file.kind) {
        case Kind::Touch:
            return framesOf(0.5) - 1;
        case Kind::Click:
            return framesOf(0.15) - 1;
        case Kind::Error:
            return framesOf(0.8);
        case Kind::Beat:
            return framesOf(0.1) - 1;
        default:
            return 0;
    }
}

std::size_t maxOnsetFrames(const PackFile& file) {
    return file.kind == Kind::Beat ? framesOf(0.002) : 0;
}

bool isLoop(Kind kind) {
    return kind == Kind::Layer || kind == Kind::Special || kind == Kind::Final ||
           kind == Kind::Drone || kind == Kind::MenuLoop || kind == Kind::MenuFull;
}

double menuLoopSeconds() {
    return kMenuBeat * kMenuSong.beatsPerBar * kMenuSong.barsPerLoop;
}

std::size_t songBankBytes(int song) {
    std::size_t frames = 0;
    for (const PackFile& f : packFiles()) {
        if (f.song != song) continue;
        if (f.kind == Kind::Layer || f.kind == Kind::Special) frames += exactFrames(f);
        if (f.kind == Kind::Touch) frames += maxFrames(f);
    }
    return frames * kChannels * 2;
}

}  // namespace mirevo_audio
