// Composes and renders the whole qo_audio/ tree of Mirevo and writes its manifest.
//
//   gen_audio <folder>/qo_audio <manifest> [--only TEXT]...
//
// The folder is emptied and rebuilt. With --only, just the files whose path contains one of
// the texts are made (the manifest then lists those). Same input, same bytes: every run gives
// the same files.

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/songs.h"
#include "tools/audio/music.h"
#include "tools/audio/pack.h"
#include "tools/audio/render.h"
#include "tools/audio/repertoire.h"
#include "tools/audio/sound_checks.h"

namespace fs = std::filesystem;
using namespace mirevo_audio;

namespace {

// Seconds rendered past the end of a loop, folded back onto its start.
constexpr double kTail = 4.0;
// Ceiling of the limiter, a little under the -1 dBFS the files must keep after encoding.
constexpr float kCeiling = 0.84f;
constexpr float kMaxPeak = 0.891f;  // -1 dBFS

float fromDb(double db) {
    return static_cast<float>(std::pow(10.0, db / 20.0));
}

// Loudness targets, RMS in dBFS of the file. The game plays layers at 50, the final music at
// 60, drones and touches at 100, the menu loop at 60 and its fuller version at 50: the targets
// put a play's full mix, the final music and the menu near -20 dBFS as heard, and the drone a
// little under them.
constexpr double kFullMixDb = -14.0;   // the four top layers of a song summed, played at 50
constexpr double kFinalDb = -15.6;     // loudest loop-long stretch of the final music, at 60
constexpr double kDroneDb = -25.0;     // at 100
constexpr double kMenuCalmDb = -15.6;  // at 60
constexpr double kMenuFullDb = -14.0;  // at 50
constexpr double kTouchPeakDb = -9.0;  // at 100
constexpr double kClickPeakDb = -4.0;  // at 50
constexpr double kErrorPeakDb = -3.0;  // at 50
constexpr double kBeatPeakDb = -3.0;   // at 100

std::size_t framesOf(double seconds) {
    return static_cast<std::size_t>(std::llround(seconds * kSampleRate));
}

double layerBeat(int song) {
    return songLoopLength[song] / songPhraseLength[song];
}

// The final music keeps the song's tempo, stretched a little so that its whole bars fill the
// final-stage length exactly.
double finalBeat(int song) {
    const Song& s = kSongs[song];
    return songLength[song] / (sectionBars(s) * s.beatsPerBar);
}

bool renderFolded(const Score& score, double seconds, Audio& out, std::string& error) {
    if (!renderScore(score, seconds + kTail, out, error)) return false;
    foldLoop(out, framesOf(seconds));
    return true;
}

bool renderLayer(int song, int route, int layer, Kind kind, Audio& out, std::string& error) {
    const Song& s = kSongs[song];
    const int regular = regularLayerCount(song, route);
    Score score;
    bool ok = false;
    if (kind == Kind::Special) {
        const int special = layer - regular - 1;
        ok = addPart(score, s, s.specials[special], s.specialStages[special], 0.0, layerBeat(song),
                     0, s.barsPerLoop);
    } else {
        ok = addPart(score, s, s.parts[route], stageOfLayer(layer, regular), 0.0, layerBeat(song),
                     0, s.barsPerLoop);
    }
    if (!ok) {
        error =
            "malformed part of song " + std::to_string(song) + " route " + std::to_string(route);
        return false;
    }
    return renderFolded(score, songLoopLength[song], out, error);
}

float loudestStretchRms(const Audio& audio, std::size_t window) {
    const std::size_t n = audio.frames();
    if (window == 0 || window >= n) return rmsOf(audio);
    std::vector<double> prefix(n + 1, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double l = audio.samples[2 * i], r = audio.samples[2 * i + 1];
        prefix[i + 1] = prefix[i] + 0.5 * (l * l + r * r);
    }
    double best = 0.0;
    for (std::size_t start = 0; start + window <= n; start += window / 4) {
        best = std::max(best, (prefix[start + window] - prefix[start]) / window);
    }
    return static_cast<float>(std::sqrt(best));
}

void normaliseRms(Audio& audio, double db) {
    const float rms = rmsOf(audio);
    if (rms > 0.0f) applyGain(audio, fromDb(db) / rms);
}

void normalisePeak(Audio& audio, double db) {
    const float peak = peakOf(audio);
    if (peak > 0.0f) applyGain(audio, fromDb(db) / peak);
}

struct Shared {
    // Gain of every layer of a route, by song and route.
    float layerGain[4][4] = {{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}};
    // Renders of each song's top layers, kept from the level calibration.
    Audio top[4][4];
    bool haveTop[4][4] = {};
};

// Levels of a song: each route's top layer is set to its balance, then the four together to the
// full-mix target; every layer of a route (and its part in the final music) takes its gain.
bool calibrateSong(int song, Shared& shared, std::string& error) {
    Audio mix;
    float routeGain[4];
    for (int r = 0; r < 4; ++r) {
        const float rms = shared.haveTop[song][r] ? rmsOf(shared.top[song][r]) : 0.0f;
        if (rms <= 0.0f) {
            error = "silent top layer of song " + std::to_string(song);
            return false;
        }
        routeGain[r] = fromDb(kSongs[song].balance[r]) / rms;
        if (r == 0) {
            mix = shared.top[song][r];
            applyGain(mix, routeGain[r]);
        } else {
            mixInto(mix, shared.top[song][r], routeGain[r]);
        }
    }
    const float songGain = fromDb(kFullMixDb) / rmsOf(mix);
    for (int r = 0; r < 4; ++r) shared.layerGain[song][r] = routeGain[r] * songGain;
    return true;
}

bool makeDrone(int song, Audio& out, std::string& error) {
    const Drone& d = kDrones[song];
    Score score;
    // The low pad alternates between two slots panned a little apart, so that each note can
    // fade out while the next one swells in.
    Instrument lowLeft = d.low, lowRight = d.low;
    lowLeft.pan -= 10;
    lowRight.pan += 10;
    const int lows[2] = {score.slot(lowLeft), score.slot(lowRight)};
    const int high = score.slot(d.high), bells = score.slot(d.bells);
    const double len = kDroneSeconds;
    for (int i = 0; i < 2; ++i) {
        const double t = i * len / 2;
        score.add(lows[i], t, len / 2 + 1.5, d.tonic - 24, 80);
        score.add(lows[i], t, len / 2 + 1.5, d.tonic - 17, 70);
    }
    const int minorUpper[4] = {3, 7, 10, 14};
    const int majorUpper[4] = {4, 7, 9, 14};
    const int* upper = d.minor ? minorUpper : majorUpper;
    for (int i = 0; i < 4; ++i) {
        score.add(high, i * len / 4, len / 4 + 1.8, d.tonic - 12 + upper[i], 66);
    }
    const int minorBells[4] = {7, 3, 10, 12};
    const int majorBells[4] = {4, 9, 7, 12};
    const int* bell = d.minor ? minorBells : majorBells;
    const double bellTimes[4] = {2.0, 8.5, 13.0, 19.5};
    for (int i = 0; i < 4; ++i) {
        score.add(bells, bellTimes[i] * len / 24.0, 1.6, d.tonic + bell[i], 58);
    }
    if (!renderFolded(score, len, out, error)) return false;
    normaliseRms(out, kDroneDb);
    limit(out, kCeiling, true);
    return true;
}

bool makeMenuLoop(const int* stages, double db, Audio& out, std::string& error) {
    const double seconds = menuLoopSeconds();
    out.resize(framesOf(seconds));
    for (int r = 0; r < 4; ++r) {
        if (stages[r] == 0) continue;
        Score score;
        if (!addPart(score, kMenuSong, kMenuSong.parts[r], stages[r], 0.0, kMenuBeat, 0,
                     kMenuSong.barsPerLoop)) {
            error = "malformed menu part";
            return false;
        }
        Audio part;
        if (!renderFolded(score, seconds, part, error)) return false;
        mixInto(out, part, 1.0f);
    }
    normaliseRms(out, db);
    limit(out, kCeiling, true);
    return true;
}

bool makeFinal(int song, const Shared& shared, Audio& out, std::string& error) {
    const double seconds = songLength[song];
    out.resize(framesOf(seconds));
    for (int r = 0; r < 4; ++r) {
        Score score;
        if (!addArrangement(score, kSongs[song], r, finalBeat(song))) {
            error = "malformed arrangement of song " + std::to_string(song);
            return false;
        }
        Audio part;
        if (!renderFolded(score, seconds, part, error)) return false;
        mixInto(out, part, shared.layerGain[song][r]);
    }
    const float loudest = loudestStretchRms(out, framesOf(songLoopLength[song]));
    if (loudest <= 0.0f) {
        error = "silent final music";
        return false;
    }
    applyGain(out, fromDb(kFinalDb) / loudest);
    limit(out, kCeiling, true);
    return true;
}

bool makeShort(const Score& score, double renderSeconds, double keepSeconds, double fadeSeconds,
               double peakDb, Audio& out, std::string& error) {
    if (!renderScore(score, renderSeconds, out, error)) return false;
    trimWithFade(out, framesOf(keepSeconds), framesOf(fadeSeconds));
    normalisePeak(out, peakDb);
    return true;
}

// Drops what comes before the sound first reaches `share` of its peak.
void trimLeadingSilence(Audio& audio, float share) {
    const float level = share * peakOf(audio);
    std::size_t first = 0;
    while (first < audio.frames() && std::fabs(audio.samples[first * kChannels]) < level &&
           std::fabs(audio.samples[first * kChannels + 1]) < level)
        ++first;
    audio.samples.erase(audio.samples.begin(), audio.samples.begin() + first * kChannels);
}

// The calibration's click: a wood block and claves, dry, cut to start with the sound itself,
// since the game starts it on the beat.
bool makeBeat(Audio& out, std::string& error) {
    Score score;
    const int kit = score.slot({128, 0, 127, 64, 0, 0});
    score.add(kit, 0.0, 0.05, 76, 127);
    score.add(kit, 0.0, 0.05, 75, 96);
    if (!renderScore(score, 0.3, out, error)) return false;
    if (peakOf(out) <= 0.0f) {
        error = "silent click";
        return false;
    }
    trimLeadingSilence(out, 0.02f);
    trimWithFade(out, framesOf(0.07), framesOf(0.04));
    normalisePeak(out, kBeatPeakDb);
    return true;
}

bool makeFile(const PackFile& f, Shared& shared, Audio& out, std::string& error) {
    switch (f.kind) {
        case Kind::Layer:
        case Kind::Special:
            if (f.kind == Kind::Layer && f.layer == regularLayerCount(f.song, f.route) &&
                shared.haveTop[f.song][f.route]) {
                out = shared.top[f.song][f.route];
            } else if (!renderLayer(f.song, f.route, f.layer, f.kind, out, error)) {
                return false;
            }
            applyGain(out, shared.layerGain[f.song][f.route]);
            limit(out, kCeiling, true);
            return true;
        case Kind::Final:
            return makeFinal(f.song, shared, out, error);
        case Kind::Drone:
            return makeDrone(f.song, out, error);
        case Kind::MenuLoop:
            return makeMenuLoop(kMenuCalmStages, kMenuCalmDb, out, error);
        case Kind::MenuFull:
            return makeMenuLoop(kMenuFullStages, kMenuFullDb, out, error);
        case Kind::Touch: {
            const Touch& t = kTouches[f.song];
            Score score;
            score.add(score.slot(t.instrument), 0.0, 0.25, t.keys[f.route], 100);
            return makeShort(score, 0.6, 0.45, 0.15, kTouchPeakDb, out, error);
        }
        case Kind::Click: {
            Score score;
            score.add(score.slot({128, 0, 110, 64, 20, 0}), 0.0, 0.1, 76, 110);
            score.add(score.slot({0, 115, 70, 64, 20, 0}), 0.0, 0.1, 84, 90);
            return makeShort(score, 0.3, 0.12, 0.05, kClickPeakDb, out, error);
        }
        case Kind::Error: {
            Score score;
            const int saw = score.slot({0, 81, 100, 64, 30, 0});
            const int brass = score.slot({0, 62, 90, 64, 30, 0});
            score.add(saw, 0.0, 0.15, 58, 100);
            score.add(brass, 0.0, 0.15, 52, 100);
            score.add(saw, 0.18, 0.26, 52, 100);
            score.add(brass, 0.18, 0.26, 46, 100);
            return makeShort(score, 0.8, 0.55, 0.1, kErrorPeakDb, out, error);
        }
        case Kind::Beat:
            return makeBeat(out, error);
    }
    return false;
}

// Writes the file, lowering it a little while the encoded peak would pass -1 dBFS.
bool writeChecked(const std::string& path, Audio& audio, std::string& error) {
    for (int attempt = 0; attempt < 6; ++attempt) {
        float peak = 0.0f;
        if (!writeOgg(path, audio, peak, error)) return false;
        if (peak <= kMaxPeak) return true;
        applyGain(audio, kMaxPeak / peak * 0.97f);
    }
    error = "peak stays above -1 dBFS: " + path;
    return false;
}

double costOf(const PackFile& f) {
    switch (f.kind) {
        case Kind::Final:
            return 4.0 * songLength[f.song];
        case Kind::Layer:
        case Kind::Special:
            return songLoopLength[f.song] + kTail;
        case Kind::Drone:
            return kDroneSeconds + kTail;
        case Kind::MenuLoop:
        case Kind::MenuFull:
            return 4.0 * menuLoopSeconds();
        default:
            return 0.5;
    }
}

// Runs task(i) for i in [0, count) on a few threads, in the given order.
template <typename Task>
void runParallel(std::size_t count, Task task) {
    const unsigned threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) {
        pool.emplace_back([&] {
            for (std::size_t i = next++; i < count; i = next++) task(i);
        });
    }
    for (std::thread& t : pool) t.join();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: gen_audio <folder>/qo_audio <manifest> [--only TEXT]...\n");
        return 2;
    }
    const fs::path outDir = fs::path(argv[1]).lexically_normal();
    const fs::path manifestPath = argv[2];
    std::vector<std::string> only;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--only" && i + 1 < argc) {
            only.push_back(argv[++i]);
        } else {
            std::fprintf(stderr, "gen_audio: unknown argument %s\n", arg.c_str());
            return 2;
        }
    }
    // The folder is emptied: refuse anything but a folder named qo_audio.
    const fs::path dirName =
        outDir.has_filename() ? outDir.filename() : outDir.parent_path().filename();
    if (dirName != "qo_audio") {
        std::fprintf(stderr, "gen_audio: the output folder must be named qo_audio\n");
        return 2;
    }
    const fs::path root = (outDir.has_filename() ? outDir : outDir.parent_path()).parent_path();

    std::error_code ec;
    fs::remove(manifestPath, ec);
    fs::remove_all(outDir, ec);
    if (ec) {
        std::fprintf(stderr, "gen_audio: cannot empty %s\n", outDir.string().c_str());
        return 1;
    }

    std::vector<PackFile> files;
    for (const PackFile& f : packFiles()) {
        bool wanted = only.empty();
        for (const std::string& text : only)
            wanted = wanted || f.path.find(text) != std::string::npos;
        if (wanted) files.push_back(f);
    }
    for (const PackFile& f : files) {
        fs::create_directories((root / f.path).parent_path(), ec);
        if (ec) {
            std::fprintf(stderr, "gen_audio: cannot create the folders of %s\n", f.path.c_str());
            return 1;
        }
    }

    std::string fontError;
    if (!holdSoundFont(fontError)) {
        std::fprintf(stderr, "gen_audio: %s\n", fontError.c_str());
        return 1;
    }
    struct FontRelease {
        ~FontRelease() { releaseSoundFont(); }
    } fontRelease;

    std::mutex errorLock;
    std::vector<std::string> errors;
    auto fail = [&](const std::string& message) {
        std::lock_guard<std::mutex> guard(errorLock);
        errors.push_back(message);
    };

    // Level calibration: the top layers of every song with layers or final music to make.
    Shared shared;
    bool needSong[4] = {};
    for (const PackFile& f : files) {
        if (f.kind == Kind::Layer || f.kind == Kind::Special || f.kind == Kind::Final) {
            needSong[f.song] = true;
        }
    }
    std::vector<std::pair<int, int>> tops;
    for (int s = 0; s < 4; ++s) {
        for (int r = 0; r < 4 && needSong[s]; ++r) tops.push_back({s, r});
    }
    runParallel(tops.size(), [&](std::size_t i) {
        const int s = tops[i].first, r = tops[i].second;
        std::string error;
        if (renderLayer(s, r, regularLayerCount(s, r), Kind::Layer, shared.top[s][r], error)) {
            shared.haveTop[s][r] = true;
        } else {
            fail(error);
        }
    });
    for (int s = 0; s < 4; ++s) {
        std::string error;
        if (needSong[s] && !calibrateSong(s, shared, error)) fail(error);
    }
    if (!errors.empty()) {
        for (const std::string& e : errors) std::fprintf(stderr, "gen_audio: %s\n", e.c_str());
        return 1;
    }

    std::vector<std::size_t> order(files.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return costOf(files[a]) > costOf(files[b]);
    });
    std::vector<std::string> lines(files.size());
    runParallel(order.size(), [&](std::size_t i) {
        const PackFile& f = files[order[i]];
        Audio audio;
        std::string error;
        const std::string path = (root / f.path).string();
        if (!makeFile(f, shared, audio, error) || !writeChecked(path, audio, error)) {
            fail(f.path + ": " + error);
            return;
        }
        std::uint64_t sum = 0;
        if (!fileChecksum(path, sum)) {
            fail("cannot read " + path);
            return;
        }
        char line[512];
        std::snprintf(line, sizeof line, "%s\t%.6f\t%016llx", f.path.c_str(),
                      static_cast<double>(audio.frames()) / kSampleRate,
                      static_cast<unsigned long long>(sum));
        lines[order[i]] = line;
    });
    if (!errors.empty()) {
        for (const std::string& e : errors) std::fprintf(stderr, "gen_audio: %s\n", e.c_str());
        return 1;
    }

    std::sort(lines.begin(), lines.end());
    const fs::path tmp = manifestPath.string() + ".part";
    {
        std::ofstream manifest(tmp);
        manifest << "# path\tseconds\tfnv1a64\n";
        for (const std::string& l : lines) manifest << l << '\n';
        if (!manifest) {
            std::fprintf(stderr, "gen_audio: cannot write %s\n", tmp.string().c_str());
            return 1;
        }
    }
    fs::rename(tmp, manifestPath, ec);
    if (ec) {
        std::fprintf(stderr, "gen_audio: cannot write %s\n", manifestPath.string().c_str());
        return 1;
    }
    std::printf("gen_audio: %zu files in %s\n", lines.size(), outDir.string().c_str());
    return 0;
}
