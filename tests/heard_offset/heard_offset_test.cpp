// What the player hears against the board, with an audio offset: the same seeded play, driven
// by the scripted player on the scripted clock, is played with the offset at 0, +100 ms and
// -100 ms, each in a process of its own whose sound OpenAL Soft writes to a file (its wave
// driver, read when the library starts). Where the song's layer is heard at its first loop
// boundary is measured in that file.
//
// The anchor: when the route restarts its layer at the boundary (or ahead of it, or after it),
// a touch sound is played at once. Both start at the mixer's next update (of 64 samples, so
// that even when an update falls between the two calls they stand 1.5 ms apart at most). In
// the recording the touch's first sample is the moment the layer started; which part of the
// layer follows it tells how far into its loop the layer was heard then. Against the route's
// own loop timer at that frame, that gives how far ahead of the board's loop grid the music
// is heard. Wall-clock time plays no part: the frames run on the scripted clock.
#include <gtest/gtest.h>

#include <SFML/Audio/InputSoundFile.hpp>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "assets/asset_files.h"
#include "audio/load_with_thread.h"
#include "audio/sound_banks.h"
#include "board/route.h"
#include "flow/scripted_player.h"
#include "game/game.h"
#include "support/child_run.h"
#include "support/game_folder.h"
#include "ui/interface.h"

namespace {

const unsigned playSeed = 8080u;
const int sampleRate = 44100;

// What a recorded run reports of its anchor.
struct Anchor {
    bool armed = false;
    bool fired = false;
    int route = -1;
    int layer = -1;
    float startedAt = 0.0f;   // the playing offset the route started the layer at
    float boundaryIn = 0.0f;  // the board's loop boundary, seconds after that frame
    std::vector<sf::Sound>* touchSounds = nullptr;
};
Anchor anchor;

void onLayerStart(const Route& route, int layer, float offset) {
    if (!anchor.armed || anchor.fired || route.index != anchor.route || layer != route.currentLayer)
        return;
    playTouchSound(*anchor.touchSounds, (route.index + 1) % 4, 1.0f);
    anchor.fired = true;
    anchor.layer = layer;
    anchor.startedAt = offset;
    // The frame lies just before the boundary (the layer started ahead of it) or just after.
    anchor.boundaryIn = route.loopTimer > route.loopLength / 2 ? route.loopLength - route.loopTimer
                                                               : -route.loopTimer;
}

int say(const std::string& problem) {
    std::cout << "heard: " << problem << std::endl;
    return 1;
}

// The child: one play with the offset, its sound written to `wav`, what it did to `report`.
int recordPlay(int offsetMs, const std::string& wav, const std::string& report) {
    const std::string conf = wav + ".conf";
    std::ofstream(conf) << "[general]\nfrequency = " << sampleRate
                        << "\nperiod_size = 64\nsample-type = float32\n[wave]\nfile = " << wav
                        << "\n";
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    int grabFrame = -1;
    {
        Session s(640, 360);
        s.app.options.seed = playSeed;
        s.app.options.audioOffsetMs = offsetMs;
        if (s.start() != -1) return say("the game did not start");
        Game& g = *s.app.game;
        if (!s.player.openSongList(false) || !s.player.startListPosition(0) || g.song() != 0)
            return say("the scored play of the first song did not start");
        // Silence until the music: the drone goes.
        g.stopDrones();
        const auto loading = std::chrono::steady_clock::now();
        while (s.app.backgroundLoader->loadStatus.load() != 1) {
            if (std::chrono::steady_clock::now() - loading > std::chrono::seconds(60))
                return say("the song's sounds did not load within 60 s");
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        // The music runs once a catch started it; heard behind the board, it sounds a little
        // later.
        auto running = [&g](bool sounding) {
            for (const Route& r : g.routes)
                if (r.musicRunning && !(sounding && r.layersDue)) return true;
            return false;
        };
        int frames = 0;
        if (!s.player.runUntil(
                [&] {
                    ++frames;
                    return running(false);
                },
                120.0f))
            return say("no catch started the music within 120 s of play");
        grabFrame = frames;
        if (!s.player.runUntil([&] { return running(true); }, 1.0f))
            return say("the music did not sound within a second of its start");
        // The route whose catch started the music is heard; the others start silent.
        for (const Route& r : g.routes)
            if (r.currentLayer >= 0) anchor.route = r.index;
        if (anchor.route < 0) return say("no route's layer is heard");
        // Silent until the anchor, for a clean start of it in the recording.
        for (Route& r : g.routes) r.pauseLayers(false);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        anchor.touchSounds = &s.app.touchSounds;
        anchor.armed = true;
        Route::onLayerStart = onLayerStart;
        const Route& heard = g.routes[anchor.route];
        if (!s.player.runUntil([] { return anchor.fired; }, heard.loopLength + 2.0f))
            return say("the layer did not start again at the loop boundary");
        // On past the board's boundary (a layer started ahead of it plays on through it).
        s.player.catching = false;
        if (!s.player.runUntil([&] { return heard.loopTimer < heard.loopLength / 2; }, 1.0f) ||
            !s.player.frame())
            return say("the board did not pass its loop boundary");
        Route::onLayerStart = nullptr;
        if (heard.currentLayer != anchor.layer || heard.errorMusicOn)
            return say("the heard layer changed after the anchor");
        // The recording goes on in real time while nothing else happens.
        std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    }  // the sounds go with the game, and the library closes the file
    std::ofstream(report) << grabFrame << " " << anchor.route << " " << anchor.layer << " "
                          << anchor.startedAt << " " << anchor.boundaryIn << "\n";
    return 0;
}

// A recording as the wave driver writes it (RIFF, 32-bit float or 16-bit samples), both
// channels summed. Its sizes may be left unwritten: the data runs to the end of the file.
bool readRecording(const std::string& path, std::vector<float>& mono) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return false;
    auto u32 = [&bytes](size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    auto u16 = [&bytes](size_t at) {
        std::uint16_t v = 0;
        std::memcpy(&v, bytes.data() + at, 2);
        return v;
    };
    int channels = 0;
    int bits = 0;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const std::uint32_t size = u32(at + 4);
        if (id == "fmt " && at + 24 <= bytes.size()) {
            channels = u16(at + 10);
            bits = u16(at + 22);
            if (u32(at + 12) != static_cast<std::uint32_t>(sampleRate)) return false;
        } else if (id == "data") {
            const int frameBytes = channels * bits / 8;
            if (frameBytes <= 0 || (bits != 32 && bits != 16)) return false;
            const size_t first = at + 8;
            const size_t count = (bytes.size() - first) / static_cast<size_t>(frameBytes);
            mono.assign(count, 0.0f);
            for (size_t i = 0; i < count; ++i) {
                for (int c = 0; c < channels; ++c) {
                    const size_t p = first + i * frameBytes + static_cast<size_t>(c) * bits / 8;
                    if (bits == 32) {
                        float v = 0.0f;
                        std::memcpy(&v, bytes.data() + p, 4);
                        mono[i] += v;
                    } else {
                        mono[i] += static_cast<std::int16_t>(u16(p)) / 32768.0f;
                    }
                }
            }
            return count > 0;
        }
        at += 8 + size + (size & 1u);
    }
    return false;
}

// The sound file of a layer, both channels summed. Read without the audio library's device:
// the test's own process never starts OpenAL, so that each recorded play starts it anew.
bool readLayer(int route, int layer, std::vector<float>& mono) {
    sf::InputSoundFile file;
    if (!file.openFromFile(waveFile(0, route + 1, layer + 1)) ||
        file.getSampleRate() != static_cast<unsigned>(sampleRate))
        return false;
    const unsigned channels = file.getChannelCount();
    std::vector<sf::Int16> samples(static_cast<size_t>(file.getSampleCount()));
    samples.resize(static_cast<size_t>(file.read(samples.data(), samples.size())));
    mono.assign(samples.size() / channels, 0.0f);
    for (size_t i = 0; i < mono.size(); ++i)
        for (unsigned c = 0; c < channels; ++c) mono[i] += samples[i * channels + c] / 32768.0f;
    return !mono.empty();
}

// The first sample of the last sound that follows a quarter of a second of silence.
long anchorSample(const std::vector<float>& rec) {
    const long quiet = sampleRate / 4;
    long silent = 0;
    long found = -1;
    for (long i = 0; i < static_cast<long>(rec.size()); ++i) {
        if (std::fabs(rec[static_cast<size_t>(i)]) < 1e-5f) {
            ++silent;
            continue;
        }
        if (silent >= quiet) found = i;
        silent = 0;
    }
    return found;
}

// How far into the layer the recording is at `start`: the playing offset (seconds, within
// -0.05..0.2) whose part of the layer best matches the recording from half a second after it
// (when the touch is over) for 0.7 s. Also the correlation of the two there.
double positionAt(const std::vector<float>& rec, long start, const std::vector<float>& layer,
                  double& correlation) {
    const long from = sampleRate / 2;
    const long length = sampleRate * 7 / 10;
    double best = -1e30;
    long bestLag = 0;
    double recEnergy = 0.0;
    for (long s = from; s < from + length; ++s) {
        const double r = rec[static_cast<size_t>(start + s)];
        recEnergy += r * r;
    }
    for (long lag = -sampleRate / 20; lag <= sampleRate / 5; ++lag) {
        double dot = 0.0;
        double energy = 0.0;
        for (long s = from; s < from + length; ++s) {
            const double l = layer[static_cast<size_t>(lag + s)];
            dot += rec[static_cast<size_t>(start + s)] * l;
            energy += l * l;
        }
        const double score = energy > 0.0 ? dot / std::sqrt(energy) : 0.0;
        if (score > best) {
            best = score;
            bestLag = lag;
        }
    }
    correlation = recEnergy > 0.0 ? best / std::sqrt(recEnergy) : 0.0;
    return static_cast<double>(bestLag) / sampleRate;
}

struct Heard {
    bool made = false;
    int grabFrame = -1;
    int route = -1;
    int layer = -1;
    double startedAt = 0.0;
    double boundaryIn = 0.0;
    double positionHeard = 0.0;  // measured in the recording
    double correlation = 0.0;
    double ahead() const { return boundaryIn + positionHeard; }
};

Heard measure(int offsetMs, const std::string& folder) {
    Heard h;
    const std::string wav = folder + "/heard" + std::to_string(offsetMs) + ".wav";
    const std::string report = folder + "/heard" + std::to_string(offsetMs) + ".txt";
    std::filesystem::remove(wav);
    const ChildRun run = runInChild([&] { return recordPlay(offsetMs, wav, report); }, 240.0);
    if (!run.ended) {
        ADD_FAILURE() << "offset " << offsetMs << " ms: the recorded play did not end within 240 s";
        return h;
    }
    if (run.status != 0) {
        const size_t at = run.output.find("heard: ");
        ADD_FAILURE() << "offset " << offsetMs << " ms: the recorded play failed (status "
                      << run.status << ") "
                      << (at == std::string::npos
                              ? std::string()
                              : run.output.substr(at, run.output.find('\n', at) - at));
        return h;
    }
    std::istringstream said([&report] {
        std::ifstream in(report);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }());
    said >> h.grabFrame >> h.route >> h.layer >> h.startedAt >> h.boundaryIn;
    std::vector<float> rec;
    std::vector<float> layer;
    if (!said || !readRecording(wav, rec) || !readLayer(h.route, h.layer, layer)) {
        ADD_FAILURE() << "offset " << offsetMs << " ms: no recording in " << wav
                      << " (OpenAL started before the wave driver was chosen?)";
        return h;
    }
    const long start = anchorSample(rec);
    if (start < 0 || start + sampleRate * 6 / 5 > static_cast<long>(rec.size())) {
        ADD_FAILURE() << "offset " << offsetMs << " ms: the anchor is not in the recording " << wav;
        return h;
    }
    h.positionHeard = positionAt(rec, start, layer, h.correlation);
    h.made = true;
    return h;
}

}  // namespace

TEST(HeardOffset, TheMusicIsHeardAheadOfTheBoardByTheAudioOffset) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    const char* env = std::getenv("MIREVO_ARTEFACTS");
    const std::filesystem::path kept =
        std::filesystem::path(env && *env ? env : MIREVO_BINARY_DIR "/artefacts") / "heard_offset";
    std::error_code error;
    std::filesystem::create_directories(kept, error);

    const Heard none = measure(0, kept.string());
    const Heard ahead = measure(100, kept.string());
    const Heard behind = measure(-100, kept.string());
    ASSERT_TRUE(none.made && ahead.made && behind.made);
    for (const Heard* h : {&none, &ahead, &behind}) {
        SCOPED_TRACE(testing::Message()
                     << "layer " << h->layer << " of route " << h->route << " started at "
                     << h->startedAt << " s, heard at " << h->positionHeard
                     << " s, the board's boundary " << h->boundaryIn << " s after");
        // The same play: the same catch starts the music on the same route.
        EXPECT_EQ(h->grabFrame, none.grabFrame);
        EXPECT_EQ(h->route, none.route);
        // The layer is in the recording (with the layers of the other routes' catches, on
        // the same grid), and where the route started it.
        EXPECT_GT(h->correlation, 0.6);
        EXPECT_NEAR(h->positionHeard, h->startedAt, 0.002);
    }
    EXPECT_NEAR(none.ahead(), 0.0, 0.002);
    EXPECT_NEAR(ahead.ahead() - none.ahead(), 0.100, 0.002);
    EXPECT_NEAR(behind.ahead() - none.ahead(), -0.100, 0.002);
}
