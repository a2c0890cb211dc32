#!/usr/bin/env bash
# Missing and damaged files beside the game: for each file of graphs/ and qo_audio/, the
# game is started once with the file removed and once with it replaced by garbage bytes,
# in a temporary folder holding a copy of the trees, and driven (mirevo_drive) through the
# screen that reads the file: start-up, a play of the file's song, the tutorial or the
# making-of. Each run must end as the game promises -- exit 1 at start-up or at the start
# of a play (0 when the loading picture itself is missing), or the play goes on with the
# failure reported -- and never with a crash, a hang or a sanitizer report.
#
# Usage: damaged_files.sh [--full] [--kinds "missing garbage truncated"] [--drive BIN]
#                         [--assets DIR] [--timeout SECONDS] [--keep DIR] [--files "f1 f2"]
#   default: a fixed sample of 42 files (CI); --full: every file of both trees.
set -euo pipefail

HERE="$(cd "$(dirname "$0")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
FULL=0
KINDS="missing garbage"
DRIVE="$ROOT/build-bench/bench/mirevo_drive"
ASSETS="$ROOT/build-bench/run"
TIMEOUT=120
KEEP=""
ONLY=""
while [ $# -gt 0 ]; do
    case "$1" in
        --full) FULL=1 ;;
        --kinds) KINDS="$2"; shift ;;
        --drive) DRIVE="$2"; shift ;;
        --assets) ASSETS="$2"; shift ;;
        --timeout) TIMEOUT="$2"; shift ;;
        --keep) KEEP="$2"; shift ;;
        --files) ONLY="$2"; shift ;;
        *) echo "unknown option $1" >&2; exit 64 ;;
    esac
    shift
done
[ -x "$DRIVE" ] || { echo "no driver at $DRIVE (build the mirevo_drive target)" >&2; exit 2; }
DRIVE="$(cd "$(dirname "$DRIVE")" && pwd)/$(basename "$DRIVE")"
[ -d "$ASSETS/graphs" ] && [ -d "$ASSETS/qo_audio" ] || { echo "no asset pack in $ASSETS" >&2; exit 2; }
ASSETS="$(cd "$ASSETS" && pwd)"
# The real trees, links followed: each run copies them as trees of links, and a copy of a
# link to a tree would be that link itself, so that the damage would land in the pack.
GRAPHS_TREE="$(readlink -f "$ASSETS/graphs")"
AUDIO_TREE="$(readlink -f "$ASSETS/qo_audio")"

WORK="$(mktemp -d /tmp/mirevo-damaged-XXXXXX)"
XVFB=""
cleanup() {
    [ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"
mirevo_start_xvfb 200 1280x1024
XVFB="$MIREVO_XVFB_PID"
export ALSOFT_DRIVERS=null
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# Mode of each song (song s is started by number key s + 1 of the song list).
song_of_mode=(3 0 2 1)
atlas_counts=(25 26 26 24)

# classify <file> -> "<tour> <width> <height> <expected status> <expected stderr line>"
classify() {
    local f="$1" m p i j
    case "$f" in
        graphs/Menu/fondsNus/loading.jpg) echo "startup 320 180 0 -" ;;
        graphs/Menu/fondsNus/centre.jpg | graphs/Menu/fondsNus/pause.png | \
            graphs/Menu/fondsNus/score.png | graphs/Menu/fondsNus/side1.jpg | \
            graphs/Menu/fondsNus/side3.jpg | graphs/Menu/texts/dots.png | graphs/Tuto/tut7.png | \
            graphs/SATELLITE.OTF | graphs/Jauges/J[0-3].png | \
            qo_audio/mirevo_menu/mirevo_menu_click1.ogg | qo_audio/mirevo_menu/mirevo_menu_loop3.ogg | \
            qo_audio/mirevo_menu/mirevo_menu_maxVol_loop2.ogg | \
            qo_audio/mirevo_error/mirevo_sound_error6.ogg | qo_audio/mirevo_drones/mirevo_drone[1-4].ogg)
            echo "startup 320 180 1 -" ;;
        graphs/Menu/texts/*.png)
            i="${f#graphs/Menu/texts/}"; i="${i%.png}"
            if [[ "$i" =~ ^[0-9]+$ ]] && [ "$i" -le 16 ]; then echo "startup 320 180 1 -"; else echo "startup 320 180 0 -"; fi ;;
        graphs/Atlas/*_*.png)
            i="${f#graphs/Atlas/}"; j="${i#*_}"; i="${i%%_*}"; j="${j%.png}"
            if [ "$i" -le 3 ] && [ "$j" -lt $((atlas_counts[i] + 7)) ]; then echo "startup 320 180 1 -"; else echo "startup 320 180 0 -"; fi ;;
        graphs/Board/plateau_*_*.jpg)
            m="${f#graphs/Board/plateau_}"; p="${m#*_}"; m="${m%%_*}"; p="${p%.jpg}"
            case "$p" in
                1600_900) echo "play${song_of_mode[$m]} 320 180 0 -" ;;
                1600_1000) echo "play${song_of_mode[$m]} 320 200 0 -" ;;
                *) echo "play${song_of_mode[$m]} 320 240 0 -" ;;
            esac ;;
        graphs/Button/b[0-3].png) m="${f#graphs/Button/b}"; m="${m%.png}"; echo "play${song_of_mode[$m]} 320 180 0 -" ;;
        graphs/Slime/p[0-3][0-3].png) m="${f#graphs/Slime/p}"; m="${m:0:1}"; echo "play${song_of_mode[$m]} 320 180 0 -" ;;
        graphs/Tuto/tut[0-6].png) echo "tutorial 320 180 1 -" ;;
        graphs/Menu/makingof/* | graphs/Menu/animVolume.png) echo "makingof 320 180 0 -" ;;
        qo_audio/mirevo_qo[1-4]_waves/*_break_scoring.ogg)
            i="${f#qo_audio/mirevo_qo}"; i="${i:0:1}"; echo "play$((i - 1)) 320 180 1 -" ;;
        qo_audio/mirevo_qo[1-4]_waves/*)
            i="${f#qo_audio/mirevo_qo}"; i="${i:0:1}"; echo "play$((i - 1)) 320 180 0 error music!" ;;
        qo_audio/mirevo_touches/mirevo_qo[1-4]/*)
            i="${f#qo_audio/mirevo_touches/mirevo_qo}"; i="${i:0:1}"; echo "play$((i - 1)) 320 180 0 error loading touch!" ;;
        *) echo "startup 320 180 0 -" ;;  # a file the game never reads
    esac
}

# The fixed CI sample: every kind of file, first and last of each list, every song.
SAMPLE=(
    graphs/Menu/fondsNus/loading.jpg graphs/Jauges/J0.png graphs/Jauges/J3.png
    graphs/Atlas/0_0.png graphs/Atlas/2_32.png graphs/Atlas/3_30.png
    graphs/Menu/fondsNus/centre.jpg graphs/Menu/fondsNus/side3.jpg graphs/Menu/texts/0.png
    graphs/Menu/texts/16.png graphs/Menu/texts/dots.png graphs/Tuto/tut7.png graphs/SATELLITE.OTF
    qo_audio/mirevo_menu/mirevo_menu_click1.ogg qo_audio/mirevo_menu/mirevo_menu_maxVol_loop2.ogg
    qo_audio/mirevo_error/mirevo_sound_error6.ogg qo_audio/mirevo_drones/mirevo_drone4.ogg
    graphs/Board/plateau_0_1600_900.jpg graphs/Board/plateau_1_1600_1000.jpg
    graphs/Board/plateau_2_2048_1536.jpg graphs/Button/b3.png graphs/Slime/p12.png
    graphs/Tuto/tut0.png graphs/Tuto/tut6.png graphs/Menu/makingof/mof0.jpg
    graphs/Menu/makingof/mof18.jpg graphs/Menu/animVolume.png
    qo_audio/mirevo_qo1_waves/mirevo_qo1_break_scoring.ogg
    qo_audio/mirevo_qo3_waves/mirevo_qo3_break_scoring.ogg
    qo_audio/mirevo_touches/mirevo_qo1/mirevo_qo1_touche1.ogg
    qo_audio/mirevo_touches/mirevo_qo2/mirevo_qo2_touche4.ogg
    qo_audio/mirevo_touches/mirevo_qo4/mirevo_qo4_touche3.ogg
    qo_audio/mirevo_qo1_waves/mirevo_qo1_t1_1.ogg qo_audio/mirevo_qo1_waves/mirevo_qo1_t4_7.ogg
    qo_audio/mirevo_qo2_waves/mirevo_qo2_t3_1.ogg qo_audio/mirevo_qo2_waves/mirevo_qo2_t2_5.ogg
    qo_audio/mirevo_qo3_waves/mirevo_qo3_t2_7.ogg qo_audio/mirevo_qo3_waves/mirevo_qo3_t4_1.ogg
    qo_audio/mirevo_qo4_waves/mirevo_qo4_t4_6.ogg qo_audio/mirevo_qo4_waves/mirevo_qo4_t1_2.ogg
    qo_audio/mirevo_qo4_waves/mirevo_qo4_break_scoring.ogg graphs/Jauges/J2.png
)
if [ -n "$ONLY" ]; then
    read -r -a FILES <<<"$ONLY"
elif [ "$FULL" -eq 1 ]; then
    mapfile -t FILES < <(cd "$ASSETS" && find graphs qo_audio -type f | LC_ALL=C sort)
else
    FILES=()
    for f in "${SAMPLE[@]}"; do [ -f "$ASSETS/$f" ] && FILES+=("$f") || echo "note: $f is not in the pack"; done
fi

START=$(date +%s)
JOBS="${MIREVO_DAMAGED_JOBS:-2}"

# One run: the game with one file missing or damaged. Writes "ok: ..." or "FAIL: ..." to
# the result file of the run.
run_one() {
    local file="$1" kind="$2" result="$3"
    local tour width height expected message dir size status what verdict
    read -r tour width height expected message <<<"$(classify "$file")"
    dir="$(dirname "$result")/$(basename "$result" .txt)"
    mkdir -p "$dir"
    # A copy of the trees made of links; the damaged file becomes a real file or goes.
    cp -rs "$GRAPHS_TREE" "$dir/graphs"
    cp -rs "$AUDIO_TREE" "$dir/qo_audio"
    # Never damage anything outside the copy (the file's folder must be a real one in it).
    local parent
    parent="$(cd -P "$(dirname "$dir/$file")" && pwd)"
    case "$parent/" in
        "$(cd -P "$dir" && pwd)/"*) ;;
        *) echo "FAIL: $file: its folder $parent lies outside the run's copy" >"$result"; return ;;
    esac
    # Every song completed, so that the explore lists open as well.
    printf '\x00\x00\x80\x3f%.0s' 1 2 3 4 >"$dir/profile.zob"
    head -c 32 /dev/zero >>"$dir/profile.zob"
    size=$(stat -L -c %s "$ASSETS/$file")
    rm -f "$dir/$file"
    case "$kind" in
        missing) ;;
        garbage) head -c "$size" /dev/urandom >"$dir/$file" ;;
        truncated) head -c $((size / 2)) "$ASSETS/$file" >"$dir/$file" ;;
        *) echo "FAIL: unknown kind $kind" >"$result"; return ;;
    esac
    status=0
    (cd "$dir" && exec timeout -k 5 "$TIMEOUT" "$DRIVE" tour "$tour" "$width" "$height" \
        >stdout.txt 2>stderr.txt) || status=$?
    what="$kind $file ($tour)"
    verdict=""
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
        verdict="hang (no end within $TIMEOUT s)"
    elif [ "$status" -gt 128 ]; then
        verdict="crash (signal $((status - 128)))"
    elif grep -qE "AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|ThreadSanitizer|runtime error:" "$dir/stderr.txt"; then
        verdict="sanitizer report: $(grep -m1 -E "Sanitizer|runtime error:" "$dir/stderr.txt")"
    elif [ "$kind" = truncated ] && [ "$status" -le 1 ]; then
        :  # a cut file may still decode; either end is right
    elif [ "$status" -ne "$expected" ]; then
        verdict="exit status $status, expected $expected ($(tail -1 "$dir/stdout.txt"))"
    elif [ "$message" != "-" ] && ! grep -qF "$message" "$dir/stderr.txt"; then
        verdict="the play went on but \"$message\" was not reported"
    elif [ "$expected" -eq 0 ] && [ "$file" != graphs/Menu/fondsNus/loading.jpg ] &&
        ! grep -qx "Exiting !" "$dir/stdout.txt"; then
        verdict="no \"Exiting !\" at the end"
    elif [ "$file" = graphs/Menu/fondsNus/loading.jpg ] && [ -s "$dir/stdout.txt" ] &&
        grep -qv "^tour" "$dir/stdout.txt"; then
        verdict="the game wrote output before ending without its loading picture"
    fi
    if [ -n "$verdict" ]; then
        echo "FAIL: $what: $verdict" >"$result"
        if [ -n "$KEEP" ]; then
            local to="$KEEP/$(echo "$kind-$file" | tr '/' '_')"
            mkdir -p "$to"
            cp "$dir"/stdout.txt "$dir"/stderr.txt "$to/" 2>/dev/null || true
        fi
    else
        echo "ok: $what -> $status" >"$result"
    fi
    rm -rf "$dir"
}

# Runs go JOBS at a time; their verdicts are printed in order at the end. Only the runs
# are waited for (never a screen server this shell may have started).
n=0
RUN_PIDS=()
for file in "${FILES[@]}"; do
    for kind in $KINDS; do
        n=$((n + 1))
        run_one "$file" "$kind" "$WORK/$(printf '%04d' "$n").txt" &
        RUN_PIDS+=($!)
        while [ "$(jobs -rp | wc -l)" -ge "$JOBS" ]; do wait -n || true; done
    done
done
for pid in "${RUN_PIDS[@]}"; do wait "$pid" || true; done
RUNS=0
FAILURES=0
for result in "$WORK"/*.txt; do
    [ -e "$result" ] || continue
    RUNS=$((RUNS + 1))
    cat "$result"
    grep -q '^FAIL' "$result" && FAILURES=$((FAILURES + 1))
done
if [ "$RUNS" -ne "$n" ]; then
    echo "FAIL: only $RUNS of $n runs reported"
    FAILURES=$((FAILURES + 1))
fi
echo "damaged files: ${#FILES[@]} files, $RUNS runs, $FAILURES failures, $JOBS at a time, $(($(date +%s) - START)) s"
[ "$FAILURES" -eq 0 ]
