#!/usr/bin/env bash
# Sourced by the scripts that need a screen: when no DISPLAY is given, starts an Xvfb of
# its own on the first free display from FIRST on, waits until it answers, exports
# DISPLAY and leaves its process id in MIREVO_XVFB_PID (empty when none was started).
# The server is not a job of the calling shell, so the caller's `wait` never waits for it;
# the caller kills it by its id. Returns 1, with a message on standard error, when no
# server answers within 10 seconds.
# Usage: mirevo_start_xvfb FIRST [WIDTHxHEIGHT] [extra Xvfb options...]
# True while the process runs (a zombie does not count).
mirevo_xvfb_alive() {
    [ -r "/proc/$1/stat" ] && ! grep -q ') Z ' "/proc/$1/stat" 2>/dev/null
}
mirevo_start_xvfb() {
    MIREVO_XVFB_PID=""
    [ -n "${DISPLAY:-}" ] && return 0
    local n="$1" size="${2:-1920x1080}" ready pid attempt
    shift $(($# < 2 ? $# : 2))
    ready="$(mktemp /tmp/mirevo-xvfb-XXXXXX)"
    for attempt in 1 2 3 4 5; do
        while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
        : >"$ready"
        # -displayfd: the server writes its display number to fd 3 once it accepts clients.
        # -noreset: a server whose last client leaves would otherwise reset itself and refuse
        # the next client (a game or test started right after another) for a moment.
        pid=$( (exec Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset -displayfd 3 "$@" \
            3>"$ready" >/dev/null 2>&1 &
            echo $!))
        for _ in $(seq 1 100); do
            [ -s "$ready" ] && break
            mirevo_xvfb_alive "$pid" || break
            sleep 0.1
        done
        if [ -s "$ready" ] && mirevo_xvfb_alive "$pid"; then
            rm -f "$ready"
            MIREVO_XVFB_PID="$pid"
            export DISPLAY=":$n"
            return 0
        fi
        # Taken by another server in the meantime, or too slow: try the next display.
        kill "$pid" 2>/dev/null || true
        n=$((n + 1))
    done
    rm -f "$ready"
    echo "xvfb.sh: no Xvfb answered (tried up to display :$((n - 1)))" >&2
    return 1
}
