// The game's per-frame logic, the frame that starts a play, the song sounds' loading
// against plain decoding, and the seams of the music loops.
#include <benchmark/benchmark.h>

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/OpenGL.hpp>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/play_screen.h"
#include "assets/asset_files.h"
#include "assets/frame_gate.h"
#include "audio/bank_ready.h"
#include "audio/load_with_thread.h"
#include "bench_support.h"
#include "board/route.h"
#include "core/songs.h"
#include "game/game.h"
#include "support/load_watch.h"
#include "support/window_events.h"
#include "ui/interface.h"
#include "ui/picture_decoder.h"

namespace {
GameRun& sharedRun() {
    static std::unique_ptr<GameRun> run = std::make_unique<GameRun>();
    return *run;
}

// Presses the key of every route whose creature is in its good window, as a player would.
void pressLanding(Game& game) {
    for (Route& route : game.routes) {
        if (route.buttonState != 0) continue;
        for (const Particle& p : route.particles) {
            if (!p.judged && p.stage == 3 && p.frame >= 2 && p.frame <= 4) {
                route.buttonState = 1;
                break;
            }
        }
    }
}

// Waits until the drawing context has carried out every command given so far (the GL
// driver otherwise defers the drawing of many frames to the next moment it must sync).
void finishDrawing(GameRun& run) {
    if (run.platform.canvas && run.platform.canvas->setActive(true)) glFinish();
}

// A player's game shows one frame per refresh of the display (vertical sync, 60 Hz here): a
// frame starts on the refresh grid, or at once when the one before it ran past its refresh.
// The time left over is the frame loop's wait for the display, when the decoding threads run.
BenchClock::time_point nextRefresh;
void waitForRefresh() {
    const auto period = std::chrono::microseconds(16667);
    const auto now = BenchClock::now();
    if (nextRefresh > now) std::this_thread::sleep_until(nextRefresh);
    nextRefresh = std::max(nextRefresh, now) + period;
}

// One frame of the player at the display's pace, timed from its start until its drawing is
// done (ms).
double timedFrame(GameRun& run) {
    waitForRefresh();
    const auto t = BenchClock::now();
    run.player.frame();
    finishDrawing(run);
    return msBetween(t, BenchClock::now());
}

// Moves the mouse onto the song list's row of the song (its event is handled next frame);
// the point is kept in `at` for a click. False when no point of the window shows the song.
bool pointAt(GameRun& run, int song, sf::Vector2i& at) {
    const sf::Vector2u size = run.platform.size;
    for (unsigned y = 0; y < size.y; y += 4) {
        for (unsigned x = 0; x < size.x; x += 4) {
            const int hit =
                run.app.iface->hitTestSongList(static_cast<float>(x), static_cast<float>(y));
            if (songOf(hit) != song) continue;
            at = sf::Vector2i(static_cast<int>(x), static_cast<int>(y));
            run.platform.mouse = at;
            run.platform.push(mouseMoved(at.x, at.y));
            return true;
        }
    }
    return false;
}

// The game every benchmark drives; null (the benchmark skipped) when it did not start.
GameRun* startedRun(benchmark::State& state) {
    GameRun& run = sharedRun();
    if (run.started) return &run;
    state.SkipWithError("no game");
    return nullptr;
}

bool startSong(GameRun& run, int song) {
    if (!run.toSongList()) return false;
    run.player.tap(songKey(song));
    return run.app.iface->Screen == Playing;
}

// Game logic of one frame: Game::update with the four routes busy (a scored play some
// seconds in, a player catching on every route). No drawing. Second argument 1: the frame is
// also recorded, as every scored play's frames are (its time, inputs and fingerprint); against
// 0, the recording's cost in the same run, and how often its list grew (growths per thousand
// frames: the list is reserved at the play's start and grows by doubling).
void BM_GameUpdate(benchmark::State& state) {
    const int song = static_cast<int>(state.range(0));
    const bool recording = state.range(1) != 0;
    GameRun& run = sharedRun();
    Quiet quiet;
    if (!run.started || !startSong(run, song)) {
        state.SkipWithError("the play did not start");
        return;
    }
    Game& game = *run.app.game;
    // Let the launchers get going and the music layers come in.
    run.player.runUntil([] { return false; }, 25.0f);
    const float dt = 1.0f / 60.0f;
    double particles = 0;
    long frames = 0;
    long growths = 0;
    std::vector<ReplayFrame>& recorded = run.app.lastRecording.frames;
    size_t capacity = recorded.capacity();
    for (auto _ : state) {
        pressLanding(game);
        showPlayEvents(*run.app.iface, game, game.update(dt, playViewOf(*run.app.iface)),
                       &run.app.log);
        if (recording) {
            run.app.recordFrame();
            if (recorded.capacity() != capacity) {
                ++growths;
                capacity = recorded.capacity();
            }
        }
        for (const Route& route : game.routes) particles += route.particles.size();
        ++frames;
    }
    state.counters["particles_per_frame"] = frames ? particles / frames : 0.0;
    if (recording)
        state.counters["growths_per_1000_frames"] = frames ? 1000.0 * growths / frames : 0.0;
    run.leavePlay();
}
BENCHMARK(BM_GameUpdate)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Unit(benchmark::kMicrosecond);

// The frame that runs startPlay (board pictures, final music, banks sized, loader launched,
// routes built, drone started), by mode.
void BM_PlayStartFrame(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const int song = songOfMode[mode];
    GameRun* started = startedRun(state);
    if (!started) return;
    GameRun& run = *started;
    Quiet quiet;
    double before = 0, after = 0;
    int n = 0;
    for (auto _ : state) {
        if (!run.toSongList()) {
            state.SkipWithError("no song list");
            return;
        }
        // The list stays open for a moment, as it does before a player picks a song (its
        // opening alone takes longer): half a second of its frames.
        const auto open = BenchClock::now();
        while (msBetween(open, BenchClock::now()) < 500.0) {
            run.platform.advance(1.0f / 60.0f);
            run.app.frame();
            finishDrawing(run);
        }
        // For comparison: an ordinary frame of the song list, and the play's second frame.
        // Each frame is timed until its drawing is done, with nothing pending before it.
        finishDrawing(run);
        run.platform.advance(1.0f / 60.0f);
        auto t = BenchClock::now();
        run.app.frame();
        finishDrawing(run);
        before += msBetween(t, BenchClock::now());
        run.platform.pushKey(songKey(song));
        run.platform.advance(1.0f / 60.0f);
        const auto t0 = BenchClock::now();
        run.app.frame();
        finishDrawing(run);
        const auto t1 = BenchClock::now();
        state.SetIterationTime(msBetween(t0, t1) / 1000.0);
        run.platform.advance(1.0f / 60.0f);
        t = BenchClock::now();
        run.app.frame();
        finishDrawing(run);
        after += msBetween(t, BenchClock::now());
        ++n;
        if (run.app.game->mode != mode || run.app.iface->Screen != Playing) {
            state.SkipWithError("the play did not start");
            return;
        }
        run.leavePlay();
    }
    state.counters["list_frame_ms"] = n ? before / n : 0.0;
    state.counters["next_frame_ms"] = n ? after / n : 0.0;
}
BENCHMARK(BM_PlayStartFrame)
    ->DenseRange(0, 3)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// From the start of the play's first frame: the 4 touches and 4 first layers published,
// and the whole bank loaded, while the game keeps running its frames. Manual time: the
// whole bank; the counter first_sounds_ms: the first eight. The song is picked as players
// pick it (second argument): 1 points at its row with the mouse, reads the list for a
// second and clicks the row; 2 walks down to its row with the arrow keys, reads for a
// second and presses Return; 0 presses its number key in the list's first frame.
void BM_SongLoad(benchmark::State& state) {
    const int song = static_cast<int>(state.range(0));
    const int how = static_cast<int>(state.range(1));
    GameRun* started = startedRun(state);
    if (!started) return;
    GameRun& run = *started;
    Quiet quiet;
    double firstSum = 0;
    int n = 0;
    for (auto _ : state) {
        if (!run.toSongList()) {
            state.SkipWithError("no song list");
            return;
        }
        sf::Vector2i row;
        if (how == 1 && !pointAt(run, song, row)) {
            state.SkipWithError("no point of the list shows the song");
            return;
        }
        if (how == 2) {
            // From nothing highlighted, Down goes to the top row: the song's row is song + 1
            // presses down (list position k holds song k).
            for (int k = 0; k <= song; ++k) {
                run.platform.pushKey(sf::Keyboard::Down);
                run.platform.advance(1.0f / 60.0f);
                run.app.frame();
            }
        }
        const auto open = BenchClock::now();
        run.player.dt = 1.0f / 60.0f;
        while (how != 0 && msBetween(open, BenchClock::now()) < 1000.0) timedFrame(run);
        if (how == 1) {
            run.platform.pushClick(row.x, row.y);
        } else if (how == 2) {
            run.platform.pushKey(sf::Keyboard::Return);
        } else {
            run.platform.pushKey(songKey(song));
        }
        // A watcher thread stamps the moments the flags rise, to the half millisecond.
        LoadWatch watch;
        // Frames are finished one by one, as a window's buffer swap makes them, at the
        // display's pace.
        timedFrame(run);
        watch.watch(run.app.backgroundLoader.get());
        const auto limit = BenchClock::now() + std::chrono::seconds(60);
        while (watch.endMs() < 0 && BenchClock::now() < limit) timedFrame(run);
        watch.stop();
        const double firstMs = watch.firstSoundsMs(), wholeMs = watch.endMs();
        state.SetIterationTime(std::max(wholeMs, 0.0) / 1000.0);
        firstSum += firstMs;
        ++n;
        if (run.app.backgroundLoader && run.app.backgroundLoader->loadStatus.load() != 1) {
            state.SkipWithError("the song's sounds did not load");
            return;
        }
        if (songOf(run.app.game->mode) != song) {
            state.SkipWithError("another song started");
            return;
        }
        run.player.dt = 1.0f / 24.0f;
        run.leavePlay();
    }
    state.counters["first_sounds_ms"] = n ? firstSum / n : 0.0;
}
BENCHMARK(BM_SongLoad)
    ->ArgsProduct({{0, 1, 2, 3}, {1, 2, 0}})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

std::vector<std::string> songFiles(int song, bool firstEightOnly) {
    return firstEightOnly ? firstSoundFiles(song) : songSoundFiles(song);
}

// The floors: the same files decoded one after the other in one thread, nothing else.
void decodeFloor(benchmark::State& state, bool firstEight) {
    const int song = static_cast<int>(state.range(0));
    const std::vector<std::string> files = songFiles(song, firstEight);
    Quiet quiet;
    for (auto _ : state) {
        std::vector<sf::SoundBuffer> buffers(files.size());
        const auto t0 = BenchClock::now();
        for (size_t i = 0; i < files.size(); ++i) {
            if (!buffers[i].loadFromFile(files[i])) {
                state.SkipWithError("a file did not decode");
                return;
            }
        }
        state.SetIterationTime(msBetween(t0, BenchClock::now()) / 1000.0);
    }
}
void BM_DecodeFirstSounds(benchmark::State& state) {
    decodeFloor(state, true);
}
void BM_DecodeSongFiles(benchmark::State& state) {
    decodeFloor(state, false);
}
BENCHMARK(BM_DecodeFirstSounds)
    ->DenseRange(0, 3)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeSongFiles)
    ->DenseRange(0, 3)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Loop seams: a scored play's logic runs with jittery frame times (8 to 50 ms) until every route's
// music has restarted 20 times. Each restart comes after its loop boundary by the part of
// the frame past it: lateness in frames (of that frame) and milliseconds, and the drift of
// the boundaries against k whole loops from the first.
void BM_LoopSeams(benchmark::State& state) {
    const int song = static_cast<int>(state.range(0));
    GameRun* started = startedRun(state);
    if (!started) return;
    GameRun& run = *started;
    Quiet quiet;
    double worstFrames = 0, worstMs = 0, meanMs = 0, firstDriftMs = 0, lastDriftMs = 0;
    int restarts = 0;
    for (auto _ : state) {
        if (!startSong(run, song)) {
            state.SkipWithError("the play did not start");
            return;
        }
        Game& game = *run.app.game;
        std::mt19937 rng(5);
        std::uniform_real_distribution<float> jitter(0.008f, 0.05f);
        std::vector<std::vector<double>> boundaries(4);
        double now = 0;
        const float loop = songLoopLength[song];
        for (int frame = 0; frame < 200000; ++frame) {
            const float dt = jitter(rng);
            float before[4];
            bool running[4];
            for (int r = 0; r < 4; ++r) {
                before[r] = game.routes[r].loopTimer;
                running[r] = game.routes[r].musicRunning && !game.routes[r].grabStarted;
            }
            // The game logic alone (no drawing), with a player catching on every route.
            pressLanding(game);
            showPlayEvents(*run.app.iface, game, game.update(dt, playViewOf(*run.app.iface)),
                           &run.app.log);
            now += dt;
            if (run.app.iface->Screen != Playing || game.routes.size() != 4) break;
            bool done = true;
            for (int r = 0; r < 4; ++r) {
                const Route& route = game.routes[r];
                if (running[r] && route.loopTimer < before[r]) {
                    // This frame crossed the boundary; what is left on the timer is how
                    // far past it the restart came.
                    const double late = route.loopTimer;
                    boundaries[r].push_back(now - late);
                    worstMs = std::max(worstMs, late * 1000.0);
                    worstFrames = std::max(worstFrames, late / dt);
                    meanMs += late * 1000.0;
                    ++restarts;
                }
                done = done && boundaries[r].size() >= 21;
            }
            if (done) break;
        }
        for (const auto& b : boundaries) {
            if (b.size() < 2) continue;
            firstDriftMs = std::max(firstDriftMs, std::fabs(b[1] - b[0] - loop) * 1000.0);
            const size_t k = b.size() - 1;
            lastDriftMs = std::max(lastDriftMs,
                                   std::fabs(b[k] - b[0] - static_cast<double>(k) * loop) * 1000.0);
        }
        run.player.dt = 1.0f / 24.0f;
        run.leavePlay();
    }
    state.counters["restarts"] = restarts;
    state.counters["worst_late_frames"] = worstFrames;
    state.counters["worst_late_ms"] = worstMs;
    state.counters["mean_late_ms"] = restarts ? meanMs / restarts : 0.0;
    state.counters["drift_after_1_loop_ms"] = firstDriftMs;
    state.counters["drift_after_20_loops_ms"] = lastDriftMs;
}
BENCHMARK(BM_LoopSeams)->DenseRange(0, 3)->Iterations(1)->Unit(benchmark::kMillisecond);

// Where the music is at its seams: a scored play's logic runs until every route has started
// its layers again at 20 loop boundaries, with jittery frame times (8 to 50 ms, as above),
// then with steady frames at 60 and at 144 Hz. Each start is read where the route sets it
// (the playing offset of the layer at the end of that frame); the sound's beginning then
// lies at frame end - offset, against the ideal grid of whole loops from the route's first
// catch. The song's sounds are loaded first; the player catches on routes below gauge
// level 5 only, so the play never reaches its final stage.
struct LayerStart {
    int route;
    float offset;
};
std::vector<LayerStart> layerStarts;
void recordLayerStart(const Route& route, int, float offset) {
    layerStarts.push_back({route.index, offset});
}

struct SeamErrors {
    int seams = 0;
    double worstMs = 0, sumMs = 0, loop20Ms = 0;
};

// One play of the song with the given frame length (0: jittery frames). False when the
// play could not start.
bool measureSeams(GameRun& run, int song, float frameLength, SeamErrors& out) {
    if (!startSong(run, song)) return false;
    LoadWithThread* loader = run.app.backgroundLoader.get();
    const auto limit = BenchClock::now() + std::chrono::seconds(60);
    while (loader && loader->loadStatus.load() == 0 && BenchClock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Game& game = *run.app.game;
    layerStarts.clear();
    Route::onLayerStart = recordLayerStart;
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> jitter(0.008f, 0.05f);
    const double loop = songLoopLength[song];
    double origin[4] = {-1, -1, -1, -1};
    int loops[4] = {0, 0, 0, 0};
    double now = 0;
    for (int frame = 0; frame < 400000; ++frame) {
        const float dt = frameLength > 0 ? frameLength : jitter(rng);
        bool running[4];
        for (int r = 0; r < 4; ++r) {
            Route& route = game.routes[r];
            running[r] = route.musicRunning;
            if (route.gaugeLevel < 5 && route.buttonState == 0) {
                for (const Particle& p : route.particles) {
                    if (!p.judged && p.stage == 3 && p.frame >= 2 && p.frame <= 4) {
                        route.buttonState = 1;
                        break;
                    }
                }
            }
        }
        showPlayEvents(*run.app.iface, game, game.update(dt, playViewOf(*run.app.iface)),
                       &run.app.log);
        now += dt;
        if (run.app.iface->Screen != Playing || game.routes.size() != 4) break;
        // The grid of each route starts where its music started, at its first catch.
        for (int r = 0; r < 4; ++r) {
            if (!running[r] && game.routes[r].musicRunning) origin[r] = now;
        }
        for (const LayerStart& start : layerStarts) {
            const int r = start.route;
            if (origin[r] < 0) continue;
            const double begins = now - start.offset;
            const double k = std::round((begins - origin[r]) / loop);
            if (k < 1) continue;  // the first start of the music
            const double errorMs = std::fabs(begins - origin[r] - k * loop) * 1000.0;
            out.worstMs = std::max(out.worstMs, errorMs);
            out.sumMs += errorMs;
            ++out.seams;
            loops[r] = std::max(loops[r], static_cast<int>(k));
            if (k == 20) out.loop20Ms = std::max(out.loop20Ms, errorMs);
        }
        layerStarts.clear();
        bool done = true;
        for (int r = 0; r < 4; ++r) done = done && loops[r] >= 20;
        if (done) break;
    }
    Route::onLayerStart = nullptr;
    run.player.dt = 1.0f / 24.0f;
    run.leavePlay();
    return true;
}

void BM_SeamError(benchmark::State& state) {
    const int song = static_cast<int>(state.range(0));
    GameRun* started = startedRun(state);
    if (!started) return;
    GameRun& run = *started;
    Quiet quiet;
    SeamErrors jittery, at60, at144;
    for (auto _ : state) {
        if (!measureSeams(run, song, 0.0f, jittery) ||
            !measureSeams(run, song, 1.0f / 60.0f, at60) ||
            !measureSeams(run, song, 1.0f / 144.0f, at144)) {
            state.SkipWithError("the play did not start");
            return;
        }
    }
    state.counters["seams"] = jittery.seams;
    state.counters["worst_seam_error_ms"] = jittery.worstMs;
    state.counters["mean_seam_error_ms"] = jittery.seams ? jittery.sumMs / jittery.seams : 0.0;
    state.counters["seam_error_after_20_loops_ms"] = jittery.loop20Ms;
    state.counters["seams_60hz"] = at60.seams;
    state.counters["worst_seam_error_60hz_ms"] = at60.worstMs;
    state.counters["seams_144hz"] = at144.seams;
    state.counters["worst_seam_error_144hz_ms"] = at144.worstMs;
}
BENCHMARK(BM_SeamError)->DenseRange(0, 3)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace

namespace {
// Where the play start frame's time goes: its steps one by one, in the game's order, on the
// shared game's objects (counters in milliseconds, means over the iterations).
void BM_PlayStartParts(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const int song = songOfMode[mode];
    GameRun& run = sharedRun();
    Quiet quiet;
    if (!run.started || !run.toSongList()) {
        state.SkipWithError("no game");
        return;
    }
    App& app = run.app;
    Interface& ui = *app.iface;
    Game& g = *app.game;
    double parts[7] = {0, 0, 0, 0, 0, 0, 0};
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // The pictures decoded while the song list is open, as the game does.
        PictureDecoder ahead(app.pool(), ui.playPictureFiles(mode));
        while (!ahead.finished()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        finishDrawing(run);  // nothing of the menus' drawing left pending
        state.ResumeTiming();
        auto t = BenchClock::now();
        auto lap = [&](int k) {
            const auto now = BenchClock::now();
            parts[k] += msBetween(t, now);
            t = now;
        };
        ui.loadPlayImages(mode, app.buttonTexture, app.slimeTextures, &ahead);
        lap(0);
        g.loadBreakMusic(song);
        lap(1);
        app.endLoader();
        prepareSongBanks(app.waveSounds, app.waveBuffers, app.touchSounds, app.touchBuffers, song);
        lap(2);
        app.backgroundLoader = std::make_unique<LoadWithThread>(
            &app.touchSounds, &app.touchBuffers, &app.waveSounds, &app.waveBuffers, song);
        app.backgroundLoader->pool = &app.pool();
        app.backgroundLoader->launch();
        lap(3);
        setupRouteResources(app.slimeTextures, app.buttonTexture, app.gaugeTextures,
                            &app.waveSounds, static_cast<float>(app.windowWidth),
                            app.keptMenuTopOffset, mode);
        lap(4);
        g.mode = mode;
        startRoutes(ui, g);
        lap(5);
        g.startDrone();
        lap(6);
        ++n;
        state.PauseTiming();
        g.stopDrones();
        g.clearRoutes();
        app.endLoader();
        state.ResumeTiming();
    }
    const char* names[7] = {"board_pictures_ms", "final_music_ms", "banks_ms", "loader_launch_ms",
                            "route_setup_ms",    "routes_ms",      "drone_ms"};
    for (int k = 0; k < 7; ++k) state.counters[names[k]] = n ? parts[k] / n : 0.0;
}
BENCHMARK(BM_PlayStartParts)->DenseRange(0, 3)->Iterations(3)->Unit(benchmark::kMillisecond);
}  // namespace

namespace {
// Percentile p (0..1) of the frame times, nearest rank.
double percentile(std::vector<double> times, double p) {
    if (times.empty()) return 0.0;
    std::sort(times.begin(), times.end());
    const size_t rank = static_cast<size_t>(std::ceil(p * static_cast<double>(times.size())));
    return times[std::min(times.size() - 1, rank > 0 ? rank - 1 : 0)];
}

// The song list open for half a second, as a player reads it (its work ahead runs), then the
// song's number key: the play-start frame. False when the play did not start.
bool pickSong(GameRun& run, int song) {
    if (!run.toSongList()) return false;
    run.player.dt = 1.0f / 60.0f;
    const auto open = BenchClock::now();
    while (msBetween(open, BenchClock::now()) < 500.0) timedFrame(run);
    run.platform.pushKey(songKey(song));
    timedFrame(run);
    return run.app.iface->Screen == Playing && songOf(run.app.game->mode) == song;
}

bool stillLoading(GameRun& run) {
    LoadWithThread* loader = run.app.backgroundLoader.get();
    return loader && loader->loadStatus.load() == 0;
}

// The frames of a play's first three seconds, while its song loads, against the steady frames
// of the same play once its bank is loaded (one second of them): the 99th percentile of the
// first (counter loading_p99_ms, also the manual time) against the median of the second
// (steady_median_ms), and the floor: the 99th percentile of the steady frames themselves
// (steady_p99_ms; on a machine whose frames vary, the loading frames cannot do better). The
// play-start frame itself is BM_PlayStartFrame's. Frames are played as by a player catching,
// at the display's pace, each timed until its drawing is done.
void BM_LoadingFrames(benchmark::State& state) {
    const int song = static_cast<int>(state.range(0));
    GameRun* started = startedRun(state);
    if (!started) return;
    GameRun& run = *started;
    Quiet quiet;
    // Second argument 0: for comparison, the decoding does not give way to the frames.
    frameGate.enable(state.range(1) != 0 && run.platform.softwareRenderer);
    std::vector<double> loading, steady;
    int loadedWithin = 0, n = 0;
    for (auto _ : state) {
        if (!pickSong(run, song)) {
            state.SkipWithError("the play did not start");
            return;
        }
        std::vector<double> mine;
        const auto t0 = BenchClock::now();
        while (msBetween(t0, BenchClock::now()) < 3000.0) mine.push_back(timedFrame(run));
        loadedWithin += !stillLoading(run);
        const auto limit = BenchClock::now() + std::chrono::seconds(60);
        while (stillLoading(run) && BenchClock::now() < limit) timedFrame(run);
        const auto t1 = BenchClock::now();
        while (msBetween(t1, BenchClock::now()) < 1000.0) steady.push_back(timedFrame(run));
        state.SetIterationTime(percentile(mine, 0.99) / 1000.0);
        loading.insert(loading.end(), mine.begin(), mine.end());
        ++n;
        run.player.dt = 1.0f / 24.0f;
        run.leavePlay();
    }
    const double p99 = percentile(loading, 0.99), median = percentile(steady, 0.5);
    state.counters["loading_p99_ms"] = p99;
    state.counters["loading_max_ms"] = percentile(loading, 1.0);
    state.counters["steady_median_ms"] = median;
    state.counters["ratio"] = median > 0 ? p99 / median : 0.0;
    // The floor: the same percentile of the steady frames, against their median.
    state.counters["steady_p99_ms"] = percentile(steady, 0.99);
    state.counters["steady_ratio"] = median > 0 ? percentile(steady, 0.99) / median : 0.0;
    state.counters["loading_frames"] = static_cast<double>(loading.size());
    state.counters["bank_loaded_within_3s"] = n ? static_cast<double>(loadedWithin) / n : 0.0;
    frameGate.enable(run.platform.softwareRenderer);
}
BENCHMARK(BM_LoadingFrames)
    ->ArgsProduct({{0, 1, 2, 3}, {1, 0}})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Leaving a play while its song loads, as a player does who picked the wrong song: in the frame
// after the play-start frame, Escape (the pause panel opens), then Escape again once it is open
// (quit to the song list).
// The longest frame from the first Escape until the song list shows (manual time), and how
// often the bank was still loading at the second Escape (counter loading_at_quit).
void BM_LeaveWhileLoading(benchmark::State& state) {
    const int song = static_cast<int>(state.range(0));
    GameRun* started = startedRun(state);
    if (!started) return;
    GameRun& run = *started;
    Quiet quiet;
    Interface& ui = *run.app.iface;
    double worstSum = 0;
    int loadingAtQuit = 0, n = 0;
    for (auto _ : state) {
        if (!pickSong(run, song)) {
            state.SkipWithError("the play did not start");
            return;
        }
        run.platform.pushKey(sf::Keyboard::Escape);
        double worst = timedFrame(run);
        for (int k = 0; k < 600 && (ui.pauseOpening || !ui.pauseShown); ++k)
            worst = std::max(worst, timedFrame(run));
        loadingAtQuit += stillLoading(run);
        run.platform.pushKey(sf::Keyboard::Escape);
        for (int k = 0; k < 600 && ui.Screen != LevelSelect; ++k)
            worst = std::max(worst, timedFrame(run));
        if (ui.Screen != LevelSelect) {
            state.SkipWithError("the song list did not show");
            return;
        }
        worst = std::max(worst, timedFrame(run));
        state.SetIterationTime(worst / 1000.0);
        worstSum += worst;
        ++n;
        run.player.dt = 1.0f / 24.0f;
    }
    state.counters["longest_frame_ms"] = n ? worstSum / n : 0.0;
    state.counters["loading_at_quit"] = n ? static_cast<double>(loadingAtQuit) / n : 0.0;
}
BENCHMARK(BM_LeaveWhileLoading)
    ->DenseRange(0, 3)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
}  // namespace
