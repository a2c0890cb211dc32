// A play is made of its seed and its inputs: the same seed and the same player give the same
// play, frame by frame, whatever else happens around it.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "audio/bank_ready.h"
#include "audio/load_with_thread.h"
#include "board/route.h"
#include "flow/scripted_player.h"
#include "game/game.h"
#include "game/play_state.h"
#include "support/bounded_wait.h"
#include "support/game_folder.h"
#include "ui/interface.h"

namespace {

// What a play was: its seed, what its start drew, its fingerprint after every frame and its
// result.
struct PlayTrace {
    unsigned playSeed = 0;
    std::vector<int> startPhases;
    std::vector<int> routeOrder;
    std::vector<std::uint32_t> states;
    float score = 0.0f;
    int hits = 0;
    int misses = 0;
    std::array<CatchTally, 4> tallies;
    bool reachedResults = false;
};

// How the song's sounds reach the play.
enum class Sounds { asTheyLoad, allBeforeTheFirstFrame, never };

// A player who presses for each creature at a moment of its own (early, in time or late, by
// its first animation) and lets some go by, pausing once on the way.
bool pressMoment(const Particle& p) {
    static const int moments[6] = {0, 2, 3, 4, 7, -1};
    const int at = moments[p.anims[0] % 6];
    return at >= 0 && p.stage == 3 && p.frame >= at && p.frame <= at + 1;
}

// A scored play of the song at list position 1, `seconds` of game time, in a run started
// with `seed`.
PlayTrace play(unsigned seed, Sounds sounds, float seconds) {
    PlayTrace trace;
    GameFolder folder;
    EXPECT_TRUE(folder.hasAssets());
    if (!folder.hasAssets()) return trace;
    Session s(640, 360);
    s.app.options.seed = seed;
    if (sounds == Sounds::never) {
        s.app.beforeLoaderLaunch = [](LoadWithThread& loader) { loader.requestStop(); };
    }
    EXPECT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    Game& g = *s.app.game;
    s.player.wantsPress = pressMoment;
    if (!s.player.openSongList(false) || !s.player.startListPosition(1)) {
        ADD_FAILURE() << "the scored play did not start";
        return trace;
    }
    EXPECT_EQ(ui.Screen, Playing);
    if (sounds == Sounds::allBeforeTheFirstFrame) {
        waitUntil([&] { return s.app.backgroundLoader->loadStatus.load() == 1; }, stepBoundSeconds,
                  "the song's sounds, all loaded before the play's first frame");
    }
    trace.playSeed = s.app.playSeed;
    for (const Route& r : g.routes) trace.startPhases.push_back(r.phase);
    trace.routeOrder = g.routeOrder;
    int frames = 0;
    for (float t = 0.0f; t < seconds && ui.Screen == Playing; t += s.player.dt, ++frames) {
        if (frames == 300 || frames == 340) {
            s.platform.pushKey(sf::Keyboard::Space);  // pause, then resume
        }
        s.player.frame();
        trace.states.push_back(playStateChecksum(g));
    }
    if (sounds == Sounds::never) {
        EXPECT_FALSE(songBankReady.touchReady(0) || songBankReady.waveReady(0, 0))
            << "the loader was to hand nothing over";
    }
    trace.score = g.score;
    trace.hits = g.hitCount;
    trace.misses = g.missCount;
    for (int r = 0; r < 4 && g.routes.size() == 4; ++r) trace.tallies[r] = g.routes[r].tally;
    trace.reachedResults = ui.Screen == Results;
    return trace;
}

int caught(const PlayTrace& t, int route) {
    return t.tallies[route].good;
}
int spoilt(const PlayTrace& t, int route) {
    return t.tallies[route].early + t.tallies[route].late + t.tallies[route].missed;
}

// The first frame at which two plays differ, -1 when they are the same to the end.
int firstDifference(const PlayTrace& a, const PlayTrace& b) {
    for (size_t i = 0; i < a.states.size() && i < b.states.size(); ++i) {
        if (a.states[i] != b.states[i]) return static_cast<int>(i);
    }
    return a.states.size() == b.states.size() ? -1 : static_cast<int>(a.states.size());
}

void expectSamePlay(const PlayTrace& a, const PlayTrace& b, const std::string& what) {
    EXPECT_EQ(a.playSeed, b.playSeed) << what;
    EXPECT_EQ(a.startPhases, b.startPhases) << what;
    EXPECT_EQ(a.routeOrder, b.routeOrder) << what;
    EXPECT_EQ(firstDifference(a, b), -1) << what << ": the plays went apart at this frame";
    EXPECT_EQ(a.score, b.score) << what;
    EXPECT_EQ(a.hits, b.hits) << what;
    EXPECT_EQ(a.misses, b.misses) << what;
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(caught(a, r), caught(b, r)) << what << " route " << r;
        EXPECT_EQ(spoilt(a, r), spoilt(b, r)) << what << " route " << r;
    }
}

const float playSeconds = 75.0f;

}  // namespace

// --seed: two runs from the same seed, played the same way, give the same play; another seed
// another play.
TEST(SeededPlays, TheSameSeedGivesTheSamePlayAndAnotherSeedAnother) {
    const PlayTrace first = play(20261208u, Sounds::asTheyLoad, playSeconds);
    const PlayTrace again = play(20261208u, Sounds::asTheyLoad, playSeconds);
    const PlayTrace other = play(7u, Sounds::asTheyLoad, playSeconds);
    // The play had catches and failures on every route, to be compared.
    int good = 0;
    int bad = 0;
    for (int r = 0; r < 4; ++r) {
        good += caught(first, r);
        bad += spoilt(first, r);
    }
    EXPECT_GT(good, 10);
    EXPECT_GT(bad, 10);
    ASSERT_FALSE(first.states.empty());

    expectSamePlay(first, again, "same seed");
    EXPECT_NE(first.playSeed, other.playSeed);
    EXPECT_NE(firstDifference(first, other), -1);
    EXPECT_TRUE(first.startPhases != other.startPhases || first.routeOrder != other.routeOrder ||
                first.score != other.score || first.states.back() != other.states.back());
}

// What a play reads besides its clock, its inputs and the generator must not change it: here
// the moments the song's sounds are handed over by the loader, all before the first frame or
// none at all.
TEST(SeededPlays, ThePlayDoesNotDependOnWhenTheSongsSoundsArrive) {
    const PlayTrace loaded = play(4242u, Sounds::allBeforeTheFirstFrame, playSeconds);
    const PlayTrace silent = play(4242u, Sounds::never, playSeconds);
    ASSERT_FALSE(loaded.states.empty());
    EXPECT_GT(loaded.hits + loaded.misses + caught(loaded, 0) + caught(loaded, 1), 0);
    expectSamePlay(loaded, silent, "sounds loaded / never handed over");
}

namespace {
// A player who catches most creatures in time and some early, late or not at all.
bool mostlyInTime(const Particle& p) {
    static const int moments[8] = {2, 3, 4, 3, 2, 0, 7, -1};
    const int at = moments[(p.anims[0] + p.anims[1]) % 8];
    return at >= 0 && p.stage == 3 && p.frame >= at && p.frame <= at + 1;
}

// A recording played again in a new run, as --replay plays it: its exit status and what it
// wrote, and the offsets it played with.
struct Replayed {
    int status = -1;
    std::string out;
    std::string err;
    float audioOffset = 0.0f;
    float inputOffset = 0.0f;
};
Replayed replay(const PlayRecording& rec, const Options& options = Options()) {
    Replayed r;
    Session s(800, 450);
    s.app.options = options;
    s.app.replaySource = std::make_unique<PlayRecording>(rec);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    r.status = s.app.run();
    r.audioOffset = s.app.lastRecording.audioOffset;
    r.inputOffset = s.app.lastRecording.inputOffset;
    r.out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    // The display profile's and the sounds' diagnostics aside, the lines of the replay.
    size_t at = 0;
    while ((at = err.find("mirevo: ", at)) != std::string::npos) {
        const size_t end = err.find('\n', at);
        r.err += err.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
        at = end == std::string::npos ? err.size() : end + 1;
    }
    return r;
}

int countOf(const std::string& text, const std::string& word) {
    int n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
}
}  // namespace

// The app records a scored play as it runs: every frame's time, the inputs that took effect
// and the play's fingerprint after it, and, once the results show, what they show.
// Played again from its file (--replay) in another run, on another window, the recording goes
// the same way to the same results; with one input of one frame changed, the replay names that
// frame and ends with status 3. Neither run changes the player's records or log.
TEST(SeededPlays, AScoredPlayIsRecordedAndPlaysAgainToTheSameResults) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    PlayRecording recorded;
    PlayRecording restarted;
    {
        Session s(640, 360);
        s.app.options.seed = 99u;
        ASSERT_EQ(s.start(), -1);
        Interface& ui = *s.app.iface;
        Game& g = *s.app.game;
        s.player.wantsPress = mostlyInTime;
        ASSERT_TRUE(s.player.openSongList(false));
        ASSERT_TRUE(s.player.startListPosition(0));
        const PlayRecording& rec = s.app.lastRecording;
        EXPECT_TRUE(s.app.recordingOpen);
        EXPECT_EQ(rec.mode, g.mode);
        EXPECT_FALSE(rec.explore);
        EXPECT_EQ(rec.seed, s.app.playSeed);
        EXPECT_EQ(rec.routeKeys[0], static_cast<int>(sf::Keyboard::E));
        EXPECT_EQ(rec.routeKeys[3], static_cast<int>(sf::Keyboard::D));
        EXPECT_EQ(rec.frames.size(), 0u);

        std::vector<std::uint32_t> seen;
        std::vector<float> times;
        int frame = 0;
        int pausesAsked = 0;
        const bool finished = s.player.runUntil(
            [&] {
                if (frame > 0) {
                    seen.push_back(playStateChecksum(g));
                    times.push_back(s.app.frameDelta);
                }
                // Paused twice, the second time during the final stage.
                const bool pauseNow = frame == 200 || frame == 260 ||
                                      (g.finalStageStarted && pausesAsked == 2) ||
                                      (pausesAsked == 3 && frame > 0 && ui.pauseShown);
                if (pauseNow && !ui.pauseOpening && !ui.pauseClosing) {
                    s.platform.pushKey(sf::Keyboard::Space);
                    ++pausesAsked;
                }
                ++frame;
                return ui.Screen == Results;
            },
            900.0f);
        ASSERT_TRUE(finished) << "the scored play did not reach its results";
        EXPECT_FALSE(s.app.recordingOpen);
        ASSERT_TRUE(s.app.recordingFinished);

        // Every frame of the play, as it was.
        ASSERT_EQ(rec.frames.size(), seen.size());
        int pauseFrames = 0;
        int routeFrames[4] = {0, 0, 0, 0};
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(rec.frames[i].state, seen[i]) << "frame " << i;
            EXPECT_EQ(rec.frames[i].frameTime, times[i]) << "frame " << i;
            pauseFrames += (rec.frames[i].inputs & ReplayInput::pauseKey) != 0;
            for (int r = 0; r < 4; ++r) routeFrames[r] += (rec.frames[i].inputs >> r) & 1u;
            EXPECT_EQ(rec.frames[i].inputs & ~(ReplayInput::pauseKey | 15u), 0u) << "frame " << i;
        }
        EXPECT_EQ(pauseFrames, 4);
        for (int r = 0; r < 4; ++r) EXPECT_GT(routeFrames[r], 10) << "route " << r;

        // The results, as the panel shows them.
        EXPECT_TRUE(rec.results.ended);
        EXPECT_EQ(std::to_string(rec.results.shownScore), ui.resultText.getString().toAnsiString());
        EXPECT_EQ(rec.results.score, g.score);
        EXPECT_EQ(rec.results.hits, g.hitCount);
        EXPECT_EQ(rec.results.misses, g.missCount);
        EXPECT_EQ(rec.results.completion, 1.0f);
        EXPECT_EQ(rec.results.playTime, g.totalTime);
        int spoiltCatches = 0;
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(rec.results.routes[r].good, g.routes[r].tally.good);
            EXPECT_EQ(rec.results.routes[r].missed, g.routes[r].tally.missed);
            spoiltCatches += rec.results.routes[r].early + rec.results.routes[r].late;
        }
        EXPECT_GT(spoiltCatches, 5);

        const PlayRecording recordedPlay = rec;
        // A restart records the next play from its start.
        s.player.wait(1.5f);
        s.player.tap(sf::Keyboard::Space);
        EXPECT_EQ(ui.Screen, Playing);
        EXPECT_TRUE(s.app.recordingOpen);
        EXPECT_EQ(rec.frames.size(), 1u);
        EXPECT_EQ(rec.seed, s.app.playSeed);
        // Left from the pause panel after a while, it is recorded to that frame, with the
        // results the quit showed.
        s.player.runUntil([] { return false; }, 40.0f);
        s.player.tap(sf::Keyboard::Escape);
        ASSERT_TRUE(s.player.runUntil([&] { return ui.pauseShown && !ui.pauseOpening; }, 5.0f));
        s.player.tap(sf::Keyboard::Escape);
        EXPECT_EQ(ui.Screen, LevelSelect);
        ASSERT_TRUE(s.app.recordingFinished);
        EXPECT_FALSE(rec.results.ended);
        EXPECT_EQ(rec.frames.back().inputs & ReplayInput::quit, ReplayInput::quit);
        recorded = recordedPlay;
        restarted = rec;
    }

    const std::string path = folder.file("play.mrvplay");
    ASSERT_TRUE(writeReplayFile(path, recorded));
    PlayRecording fromFile;
    ASSERT_EQ(readReplayFile(path, fromFile), ReplayRefusal::none);
    const std::string records = folder.read("profile.zob");
    const std::string logText = folder.read("log.txt");

    const Replayed same = replay(fromFile);
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_NE(same.out.find("replay: the same play, frame by frame, to the same results\n"),
              std::string::npos);

    // One route key let go in one frame where it was held or pressed.
    PlayRecording edited = fromFile;
    int changed = -1;
    for (int i = 0, held = 0; i < static_cast<int>(edited.frames.size()); ++i) {
        if ((edited.frames[i].inputs & ReplayInput::route0) && ++held == 40) {
            edited.frames[i].inputs &= ~ReplayInput::route0;
            changed = i;
            break;
        }
    }
    ASSERT_GE(changed, 0);
    const Replayed other = replay(edited);
    EXPECT_EQ(other.status, 3);
    EXPECT_EQ(other.err, "mirevo: replay: the play went another way from frame " +
                             std::to_string(changed) + " of " +
                             std::to_string(edited.frames.size()) + "\n");

    // The play begun by a restart and left from the pause panel plays again the same way.
    const Replayed left = replay(restarted);
    EXPECT_EQ(left.status, 0) << left.err;

    EXPECT_EQ(folder.read("profile.zob"), records);
    EXPECT_EQ(countOf(folder.read("log.txt"), "Explore end"), countOf(logText, "Explore end"));
}

// A play is recorded with the offsets it was played with (the options' at its start), and
// played again with them, whatever the offsets of the run that plays it again. The input
// offset made that play: played again without it, it goes another way.
TEST(SeededPlays, APlayKeepsItsOffsetsAndPlaysAgainWithThem) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    PlayRecording rec;
    {
        Session s(640, 360);
        s.app.options.seed = 4711u;
        s.app.options.audioOffsetMs = -40;
        s.app.options.inputOffsetMs = 60;
        ASSERT_EQ(s.start(), -1);
        Interface& ui = *s.app.iface;
        s.player.wantsPress = mostlyInTime;
        ASSERT_TRUE(s.player.openSongList(false));
        ASSERT_TRUE(s.player.startListPosition(2));
        s.player.runUntil([] { return false; }, 40.0f);
        s.player.tap(sf::Keyboard::Escape);
        ASSERT_TRUE(s.player.runUntil([&] { return ui.pauseShown && !ui.pauseOpening; }, 5.0f));
        s.player.tap(sf::Keyboard::Escape);
        ASSERT_TRUE(s.app.recordingFinished);
        rec = s.app.lastRecording;
    }
    EXPECT_EQ(rec.audioOffset, -0.04f);
    EXPECT_EQ(rec.inputOffset, 0.06f);
    Options others;
    others.audioOffsetMs = 100;
    others.inputOffsetMs = -100;
    const Replayed again = replay(rec, others);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.audioOffset, -0.04f);
    EXPECT_EQ(again.inputOffset, 0.06f);
    PlayRecording without = rec;
    without.inputOffset = 0.0f;
    EXPECT_EQ(replay(without).status, 3);
}

namespace {
// The recorded plays kept with the tests: a scored play of the first song with early, late and
// missed catches and a pause, and an explore play of the second song caught for a while, then
// let go until a route fails. A change of the game's rules that changes a play's course or
// result fails their replay; a deliberate one records them again with
// scripts/record_replay_fixtures.sh.
const std::string fixtureFolder = std::string(MIREVO_SOURCE_DIR) + "/tests/fixtures/replays";
const char* const fixtureNames[2] = {"scored-song1.replay", "explore-song2.replay"};

// Plays fixture k with the scripted player and returns its recording (empty when the play did
// not reach its results).
PlayRecording recordFixture(int k) {
    Session s(640, 360);
    s.app.options.seed = 2026u + static_cast<unsigned>(k);
    if (s.start() != -1) return {};
    Interface& ui = *s.app.iface;
    s.player.wantsPress = mostlyInTime;
    const bool explore = k == 1;
    if (!s.player.openSongList(explore) || !s.player.startListPosition(explore ? 1 : 0)) return {};
    int frame = 0;
    const bool ended = s.player.runUntil(
        [&] {
            if (!explore && (frame == 300 || frame == 340)) s.platform.pushKey(sf::Keyboard::Space);
            if (explore && frame == 600) s.player.catching = false;
            ++frame;
            return ui.Screen == Results;
        },
        900.0f);
    return ended && s.app.recordingFinished ? s.app.lastRecording : PlayRecording();
}
}  // namespace

// Every kept recording plays again, headless and faster than its real time, to its results.
TEST(ReplayFixtures, EveryKeptPlayGoesTheSameWayToTheSameResults) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    for (const char* name : fixtureNames) {
        SCOPED_TRACE(name);
        PlayRecording kept;
        ASSERT_EQ(readReplayFile(fixtureFolder + "/" + name, kept), ReplayRefusal::none);
        ASSERT_TRUE(kept.results.ended);
        ASSERT_GT(kept.frames.size(), 100u);
        const Replayed again = replay(kept);
        EXPECT_EQ(again.status, 0) << again.err;
    }
}

// Records the fixtures again (run by scripts/record_replay_fixtures.sh only).
TEST(ReplayFixtures, DISABLED_RecordThemAgain) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    // Every song completed, so that the explore plays are open.
    const float completed[12] = {1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    std::ofstream(folder.file("profile.zob"), std::ios::binary)
        .write(reinterpret_cast<const char*>(completed), sizeof completed);
    for (int k = 0; k < 2; ++k) {
        const PlayRecording rec = recordFixture(k);
        ASSERT_FALSE(rec.frames.empty())
            << fixtureNames[k] << ": the play did not reach its results";
        ASSERT_TRUE(writeReplayFile(fixtureFolder + "/" + fixtureNames[k], rec));
    }
}
