#!/usr/bin/env bash
# Runs every benchmark of the game and prints one table: figure, value, goal, floor and
# ratio. Floors are measured in the same run on the same machine, so ratios hold on a
# noisy machine. Goals are goals, not pass/fail: the script always exits 0 once the
# figures are measured.
#
# Usage: scripts/bench.sh [build folder, default build/ of the set-up] [--quick]
#   --quick  skips the loop seams, the seam errors and the per-song memory plays of songs 1..3.
# Uses the build of scripts/setup.sh (MIREVO_BUILD_DIR, default build/) and builds the
# benchmark targets there when they are missing or out of date. Needs the asset pack in
# <build>/run and an X display (an Xvfb is started when DISPLAY is unset). The raw results
# are kept in <build>/bench-results/.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${MIREVO_BUILD_DIR:-$ROOT/build}"
QUICK=0
for a in "$@"; do
    case "$a" in
        --quick) QUICK=1 ;;
        *) BUILD="$(cd "$a" && pwd)" ;;
    esac
done
RUN="$BUILD/run"
GAME="$RUN/mirevo"
BENCH="$BUILD/bench/mirevo_bench"
DRIVE="$BUILD/bench/mirevo_drive"
OUT="$BUILD/bench-results"
if [ -f "$BUILD/build.ninja" ] || [ -f "$BUILD/Makefile" ]; then
    # A build made without the benchmarks gets them switched on.
    if grep -q '^MIREVO_BENCH:BOOL=OFF' "$BUILD/CMakeCache.txt" 2>/dev/null; then
        cmake "$BUILD" -DMIREVO_BENCH=ON >/dev/null
    fi
    echo "building mirevo, mirevo_bench and mirevo_drive in $BUILD..."
    cmake --build "$BUILD" --target mirevo mirevo_bench mirevo_drive >"$BUILD/bench-build.log" 2>&1 ||
        { echo "building the benchmarks failed; see $BUILD/bench-build.log" >&2; exit 2; }
fi
[ -d "$RUN/graphs" ] && [ -d "$RUN/qo_audio" ] || { echo "no asset pack in $RUN (run scripts/setup.sh)" >&2; exit 2; }
[ -x "$BENCH" ] && [ -x "$DRIVE" ] && [ -x "$GAME" ] || { echo "no mirevo, mirevo_bench or mirevo_drive in $BUILD" >&2; exit 2; }
mkdir -p "$OUT"

XVFB=""
GAME_PID=""
WORK="$(mktemp -d /tmp/mirevo-bench-XXXXXX)"
cleanup() {
    [ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null
    [ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
mirevo_start_xvfb 120 1920x1080
XVFB="$MIREVO_XVFB_PID"
export ALSOFT_DRIVERS=null MIREVO_ASSETS="$RUN"
ln -s "$RUN/graphs" "$WORK/graphs"
ln -s "$RUN/qo_audio" "$WORK/qo_audio"

echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
FILTER='GameUpdate|PlayStartFrame|PlayStartParts|SongLoad|DecodeFirstSounds|DecodeSongFiles|LoadingFrames|LeaveWhileLoading'
[ "$QUICK" -eq 0 ] && FILTER="$FILTER|LoopSeams"
[ "$QUICK" -eq 0 ] && FILTER="$FILTER|SeamError"
echo "google benchmarks ($FILTER)..."
(cd "$WORK" && "$BENCH" --benchmark_filter="$FILTER" --benchmark_min_time=0.5 \
    --benchmark_out="$OUT/bench.json" --benchmark_out_format=json >"$OUT/bench.txt" 2>&1) ||
    echo "mirevo_bench failed; see $OUT/bench.txt"

# Whole-process figures, each taken 3 times (the median is kept), alternating with floors.
echo "start-up, 3 runs with their floors..."
: >"$OUT/drive.txt"
for _ in 1 2 3; do
    (cd "$WORK" && rm -f profile.zob && "$DRIVE" startup-floor 2>/dev/null | grep '^startup_floor_ms' >>"$OUT/drive.txt") || true
    (cd "$WORK" && rm -f profile.zob && "$DRIVE" startup 2>/dev/null | grep '^startup_ms' >>"$OUT/drive.txt") || true
done
echo "full play frames at the desktop size..."
(cd "$WORK" && "$DRIVE" frame 0 240 2>/dev/null | grep '^frame' >>"$OUT/drive.txt") || true
SONGS="0 1 2 3"
[ "$QUICK" -eq 1 ] && SONGS="0"
# Peak resident memory of the real game process (read from outside) during one play of a
# song, driven with xdotool: start, song list, the song's number key, the whole bank loaded,
# ten seconds of play. Prints "<peak kB> <loaded 0|1>", or nothing when the play did not run.
gamePlayPeak() {
    local key=$(($1 + 1)) loaded=0
    (cd "$WORK" && rm -f profile.zob && exec "$GAME" >game-out.txt 2>game-err.txt) &
    GAME_PID=$!
    for _ in $(seq 1 300); do
        grep -q '^done loading images' "$WORK/game-out.txt" 2>/dev/null && break
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    sleep 3
    xdotool keydown Right && sleep 0.25 && xdotool keyup Right
    sleep 3
    xdotool keydown "$key" && sleep 0.25 && xdotool keyup "$key"
    for _ in $(seq 1 1500); do
        grep -q '^success thread!' "$WORK/game-out.txt" 2>/dev/null && { loaded=1; break; }
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    sleep 10
    local peak
    peak="$(awk '/^VmHWM:/ {print $2}' "/proc/$GAME_PID/status" 2>/dev/null || true)"
    kill -9 "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null || true
    GAME_PID=""
    [ -n "$peak" ] && echo "$peak $loaded"
}
echo "memory of a play of the real game, songs $SONGS..."
bare="$(cd "$WORK" && "$DRIVE" bare 2>/dev/null | awk '/^bare_kb/ {print $2}')" || true
for s in $SONGS; do
    held="$(cd "$WORK" && "$DRIVE" memory "$s" 2>/dev/null | grep '^memory')" || true
    peak="$(gamePlayPeak "$s")" || true
    [ -n "$held" ] && [ -n "$peak" ] && [ -n "$bare" ] &&
        echo "$held game_peak_kb ${peak% *} game_loaded ${peak#* } bare_kb $bare" >>"$OUT/drive.txt"
done

python3 - "$OUT/bench.json" "$OUT/drive.txt" <<'PY'
import json, statistics, sys

rows = []
def row(figure, value, goal, floor=None, unit="ms"):
    ratio = (value / floor) if (floor and value is not None) else None
    rows.append((figure, value, unit, goal, floor, ratio))

bench = {}
try:
    for b in json.load(open(sys.argv[1]))["benchmarks"]:
        if b.get("error_occurred"):
            continue
        bench[b["name"].split("/iterations")[0].split("/manual_time")[0]] = b
except Exception as e:  # no results
    print("no google benchmark results:", e)

def ms(b):
    t = b["real_time"]
    return {"ns": t / 1e6, "us": t / 1e3, "ms": t, "s": t * 1e3}[b["time_unit"]]

for s in range(4):
    b, rec = bench.get(f"BM_GameUpdate/{s}/0"), bench.get(f"BM_GameUpdate/{s}/1")
    if b:
        row(f"game logic per frame, song {s} ({b.get('particles_per_frame', 0):.1f} creatures)",
            ms(b) * 1000, "<= 20 us", unit="us")
    if rec:
        row(f"  the same, recorded as a play is ({rec.get('growths_per_1000_frames', 0):.2f} "
            f"growths per 1000 frames)", ms(rec) * 1000, "<= floor + 100 us (frame noise)",
            ms(b) * 1000 if b else None, unit="us")
for m in range(4):
    b = bench.get(f"BM_PlayStartFrame/{m}")
    if b:
        row(f"play start frame, mode {m} (ordinary frame {b['list_frame_ms']:.1f} ms)",
            ms(b), "<= 33 ms")
    p = bench.get(f"BM_PlayStartParts/{m}")
    if p:
        row(f"  of which board, button and slime pictures, mode {m}", p["board_pictures_ms"], "-")
for s in range(4):
    mouse, keys, quick, f8, fall = (bench.get(n) for n in
                                    (f"BM_SongLoad/{s}/1", f"BM_SongLoad/{s}/2",
                                     f"BM_SongLoad/{s}/0", f"BM_DecodeFirstSounds/{s}",
                                     f"BM_DecodeSongFiles/{s}"))
    for b, how in ((mouse, "pointed at and clicked after 1 s on the list"),
                   (keys, "picked with the arrows and Return after 1 s on the list")):
        if b:
            row(f"first sounds ready, song {s} ({how})",
                b["first_sounds_ms"], "<= 1.2 x floor, <= 300 ms", ms(f8) if f8 else None)
    if quick:
        row(f"first sounds ready, song {s} (picked in the list's first frame)",
            quick["first_sounds_ms"], "<= 300 ms", ms(f8) if f8 else None)
    if mouse:
        row(f"whole song bank loaded, song {s}", ms(mouse), "<= 1.1 x floor",
            ms(fall) if fall else None)
for s in range(4):
    for gate, how in ((1, "decoding gives way"), (0, "without giving way")):
        b = bench.get(f"BM_LoadingFrames/{s}/{gate}")
        if b:
            # The floor: the steady frames' own 99th percentile against their median.
            row(f"play's first 3 s while song {s} loads, {how}: p99 / steady median "
                f"({b['loading_p99_ms']:.1f} / {b['steady_median_ms']:.1f} ms)", b["ratio"],
                "<= 1.25", b.get("steady_ratio"), unit="x")
    b = bench.get(f"BM_LeaveWhileLoading/{s}")
    if b:
        row(f"longest frame, Escape twice to the song list while song {s} loads "
            f"(loading at quit {b['loading_at_quit']:.2f})", b["longest_frame_ms"], "<= 33 ms")
for s in range(4):
    b = bench.get(f"BM_LoopSeams/{s}")
    if b:
        row(f"loop seams, song {s}: worst lateness ({int(b['restarts'])} restarts)",
            b["worst_late_frames"], "<= 1 frame", unit="frames")
        row(f"loop seams, song {s}: drift after 1 / 20 loops "
            f"{b['drift_after_1_loop_ms']:.3f} ms", b["drift_after_20_loops_ms"],
            "no growth", unit="ms")

# Where the music is at its seams, against the ideal loop grid.
for s in range(4):
    b = bench.get(f"BM_SeamError/{s}")
    if b:
        row(f"seam error, song {s}: worst of {int(b['seams'])} layer starts, jittery frames "
            f"(mean {b['mean_seam_error_ms']:.3f} ms)", b["worst_seam_error_ms"], "< 1 ms")
        row(f"seam error, song {s}: at the 20th loop", b["seam_error_after_20_loops_ms"],
            "< 1 ms")
        row(f"seam error, song {s}: worst at steady 60 Hz frames ({int(b['seams_60hz'])} starts)",
            b["worst_seam_error_60hz_ms"], "< 1 ms")
        row(f"seam error, song {s}: worst at steady 144 Hz frames ({int(b['seams_144hz'])} starts)",
            b["worst_seam_error_144hz_ms"], "< 1 ms")

startup, floor = [], []
for line in open(sys.argv[2]):
    w = line.split()
    if w[0] == "startup_ms":
        startup.append(float(w[1]))
    elif w[0] == "startup_floor_ms":
        floor.append(float(w[1]))
    elif w[0] == "frame":
        kv = dict(zip(w[1::2], w[2::2]))
        row(f"full play frame {kv['size']}, song {kv['song']} "
            f"({float(kv['particles_per_frame']):.1f} creatures)",
            float(kv["full_ms"]), "<= 1.1 x floor", float(kv["bare_ms"]))
    elif w[0] == "memory":
        kv = dict(zip(w[1::2], w[2::2]))
        held = (int(kv["picture_bytes"]) + int(kv["sound_bytes"])) / 2**20
        bare = int(kv["bare_kb"]) / 1024
        peak = int(kv["game_peak_kb"]) / 1024 - bare
        loaded = "" if kv["game_loaded"] == "1" else ", bank not loaded!"
        row(f"peak memory of the game in a play, song {kv['song']} (above bare {bare:.0f} MB"
            f"{loaded})", peak, "<= 1.25 x floor", held, unit="MB")
if startup:
    row("start-up to the first main-menu frame", statistics.median(startup), "<= 1.15 x floor",
        statistics.median(floor) if floor else None)

print()
print(f"{'figure':<78} {'value':>10} {'unit':<6} {'goal':<26} {'floor':>9} {'ratio':>6}")
print("-" * 140)
for figure, value, unit, goal, floor, ratio in rows:
    v = "-" if value is None else f"{value:.3f}" if value < 10 else f"{value:.1f}"
    f = "" if floor is None else f"{floor:.3f}" if floor < 10 else f"{floor:.1f}"
    r = "" if ratio is None else f"{ratio:.2f}"
    print(f"{figure:<78} {v:>10} {unit:<6} {goal:<26} {f:>9} {r:>6}")
PY
