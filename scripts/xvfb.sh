#!/usr/bin/env bash
# Sourced by the scripts that need a screen: when no DISPLAY is given, starts an Xvfb of
# its own on the first free display from FIRST on, waits until it answers, exports
# DISPLAY and leaves its process id in MIREVO_XVFB_PID (empty when none was started).
# Usage: mirevo_start_xvfb FIRST [WIDTHxHEIGHT] [extra Xvfb options...]
mirevo_start_xvfb() {
    MIREVO_XVFB_PID=""
    [ -n "${DISPLAY:-}" ] && return 0
    local n="$1" size="${2:-1920x1080}"
    shift $(($# < 2 ? $# : 2))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp "$@" >/dev/null 2>&1 &
    MIREVO_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
}
