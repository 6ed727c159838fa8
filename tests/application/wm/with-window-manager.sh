#!/usr/bin/env bash
# Runs a command on a private X display managed by openbox, as on a desktop:
# Xvfb on the first free display number, openbox on it, the command with
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

display=""
for n in $(seq 91 190); do
    if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then continue; fi
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        if [ -e "/tmp/.X11-unix/X$n" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
        sleep 0.1
    done
    # Another run may have taken the number meanwhile: its server stays, ours ends.
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
        display=":$n"
        break
    fi
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
done
if [ -z "$display" ]; then
    echo "no free X display number"
    exit 1
fi
export DISPLAY="$display"

openbox >/dev/null 2>&1 &
wm_pid=$!
# openbox announces itself on the root window once it manages windows.
for _ in $(seq 50); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then break; fi
    sleep 0.1
done

QT_QPA_PLATFORM=xcb "$@"
