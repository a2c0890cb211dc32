#include "game/play_state.h"

#include <cstring>

#include "game/game.h"

namespace {
// FNV-1a over the values' bytes, 32 bits.
class Fingerprint {
public:
    void add(std::uint32_t v) {
        for (int k = 0; k < 4; ++k) {
            hash ^= (v >> (8 * k)) & 0xFFu;
            hash *= 16777619u;
        }
    }
    void add(int v) { add(static_cast<std::uint32_t>(v)); }
    void add(bool v) { add(v ? 1u : 0u); }
    void add(float v) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        add(bits);
    }
    std::uint32_t hash = 2166136261u;
};

void addParticle(Fingerprint& f, const Particle& p) {
    f.add(p.frameTimer);
    f.add(p.finished);
    f.add(p.judgement);
    f.add(p.rewindPending);
    f.add(p.blinkPending);
    f.add(p.rewindFrame);
    f.add(p.blinkFrame);
    f.add(p.rewindStage);
    f.add(p.blinkStage);
    f.add(p.blinkLength);
    f.add(p.blinkDepth);
    f.add(p.judged);
    f.add(p.rewindCounter);
    f.add(p.blinkCounter);
    f.add(p.frame);
    f.add(p.frameCount);
    f.add(p.stage);
    f.add(p.anim);
    for (int a : p.anims) f.add(a);
}

void addRoute(Fingerprint& f, const Route& r) {
    f.add(r.missStreak);
    f.add(r.hits);
    f.add(r.misses);
    f.add(static_cast<int>(r.particles.size()));
    for (const Particle& p : r.particles) addParticle(f, p);
    f.add(r.speedFactor);
    f.add(r.fillCount);
    f.add(r.grabStarted);
    f.add(r.musicRunning);
    f.add(r.firstGrabEvent);
    f.add(r.finalSignal);
    f.add(r.fullSignal);
    f.add(r.gaugeBounceUp);
    f.add(r.stopEvent);
    f.add(r.missedPress);
    f.add(r.specialPlaying);
    f.add(r.errorMusicOn);
    f.add(r.gaugeRising);
    f.add(r.rampA);
    f.add(r.rampB);
    f.add(r.buttonState);
    f.add(r.gaugeLevel);
    f.add(r.phase);
    f.add(r.gaugePhase);
    f.add(r.exploreMode);
    f.add(r.exploreQuota);
    f.add(r.loopToggle);
    f.add(r.missEvent);
    f.add(r.hitEvent);
    f.add(r.beatCount);
    f.add(r.waitCounter);
    f.add(r.minWait);
    f.add(r.layerCount);
    f.add(r.exploreLayer);
    f.add(r.specialCheck);
    f.add(r.specialLaunches);
    f.add(r.currentLayer);
    f.add(r.nextLayer);
    f.add(r.specialKind);
    f.add(r.errorKind);
    f.add(r.errorStep);
    f.add(r.exploreRepeats);
    f.add(r.slimeTimer);
    f.add(r.slimeFrame);
    f.add(r.gaugeTimer);
    f.add(r.loopTimer);
    f.add(r.beatTimer);
    f.add(r.buttonTimer);
    f.add(r.errorTime);
    f.add(r.errorLength);
    f.add(r.baseVolume);
    f.add(r.tally.good);
    f.add(r.tally.early);
    f.add(r.tally.late);
    f.add(r.tally.missed);
}
}  // namespace

std::uint32_t playStateChecksum(const Game& game) {
    Fingerprint f;
    f.add(game.mode);
    f.add(game.explorePlay);
    f.add(game.fullRouteCount);
    f.add(game.idleRouteCount);
    f.add(game.hitCount);
    f.add(game.missCount);
    f.add(game.score);
    f.add(game.stopRequested);
    f.add(game.finalStageStarted);
    f.add(game.paused);
    f.add(game.totalTime);
    // The countdown (exploreTimer) is left out: it is set when the final stage begins and counts
    // down with stageTime, and before that it keeps what the previous play left.
    f.add(game.stageTime);
    f.add(game.musicLoops);
    for (int o : game.routeOrder) f.add(o);
    f.add(static_cast<int>(game.routes.size()));
    for (const Route& r : game.routes) addRoute(f, r);
    return f.hash;
}
