#!/usr/bin/env bash
# Start-up of the desktop program: the time from starting the process with no
# file until its main window is mapped on an X display (Xvfb, no window
# manager, so the window is shown as soon as the program asks), median of
# RUNS starts with a fresh profile each time (the first start of a user),
# and again with the profile the first start left (every later start).
# The goal is 400 ms. Prints one line per kind of start.
# Usage: bench/startup.sh BUILD_DIR [RUNS]
set -euo pipefail

program=$(cd "${1:?usage: $0 BUILD_DIR [RUNS]}" && pwd)/src/application/vistorel
runs=${2:-7}
[ -x "$program" ] || { echo "missing: $program" >&2; exit 2; }
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || {
    echo "needs Xvfb and xdotool" >&2
    exit 2
}

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.05; done

# Milliseconds from the start of the program to its first visible window.
one_start() {
    local profile=$1 start pid now
    start=$(date +%s%N)
    XDG_CONFIG_HOME=$profile LANGUAGE=de_DE "$program" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { echo "the program ended before showing a window" >&2; exit 1; }
    done
    now=$(date +%s%N)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo $(((now - start) / 1000000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "$(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg), $runs runs"
first=$(for i in $(seq "$runs"); do one_start "$work/fresh$i"; done | median)
echo "first start (fresh profile): median $first ms to the main window"
one_start "$work/kept" >/dev/null
later=$(for _ in $(seq "$runs"); do one_start "$work/kept"; done | median)
echo "later start (kept profile):  median $later ms to the main window"
