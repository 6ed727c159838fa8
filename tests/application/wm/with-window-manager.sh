#!/usr/bin/env bash
# Runs a command on a private X display managed by openbox, as on a desktop:
# Xvfb on a free display number, openbox on it, the command with
# DISPLAY set and Qt on X11. Exits 77 (test skipped) when Xvfb, openbox,
# xdotool or the X utilities are not installed.
set -u
for tool in Xvfb openbox xdotool xwininfo xprop; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

xvfb_pid=""
wm_pid=""
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

# A display number far from the usual ones, owned by our server: Xvfb writes
# its process id into the display's lock file, so a number another run took
# at the same moment is noticed and the next one tried.
display=""
for _ in $(seq 30); do
    n=$((RANDOM % 600 + 300))
    if [ -e "/tmp/.X$n-lock" ]; then continue; fi
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        if [ -e "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb_pid" ]; then
            display=":$n"
            break
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$display" ] && break
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
done
if [ -z "$display" ]; then
    echo "Xvfb did not start"
    exit 1
fi
export DISPLAY="$display"

# openbox announces itself on the root window once it manages windows. Under a
# heavily loaded machine it has been seen to give up at start, so it gets three
# tries; what it said is shown when all fail.
wm_log=$(mktemp)
managed=""
for _ in 1 2 3; do
    openbox >"$wm_log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 150); do
        if ! kill -0 "$wm_pid" 2>/dev/null; then break; fi
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
            managed=yes
            break
        fi
        sleep 0.1
    done
    [ -n "$managed" ] && break
    kill "$wm_pid" 2>/dev/null
    wait "$wm_pid" 2>/dev/null
    wm_pid=""
    sleep 0.5
done
if [ -z "$managed" ]; then
    echo "openbox did not take display $display: $(cat "$wm_log")"
    rm -f "$wm_log"
    exit 1
fi
rm -f "$wm_log"

QT_QPA_PLATFORM=xcb "$@"
