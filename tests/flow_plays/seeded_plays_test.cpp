// A play is made of its seed and its inputs: the same seed and the same player give the same
// play, frame by frame, whatever else happens around it.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
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
