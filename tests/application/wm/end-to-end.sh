#!/usr/bin/env bash
# The real program under a window manager, driven as a user drives it, with
# xdotool: "Schließen" closes the start-up document, the menu without a
# document, three restarts that keep the window rectangle, several files from
# the command line, the status bar with Caps Lock on; pictures of the cascade
# and of camera mode without its preview.
# Arguments: the program, the folder for the screenshots, the desktop entry.
# Run it through with-window-manager.sh.
set -euo pipefail
program=$1
shots=$2
desktop=$3
mkdir -p "$shots"
source "$(cd "$(dirname "$0")/../../support" && pwd)/xdo-session.sh"

rectangle() { xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width/{w=$2} /Height/{h=$2} END{print x","y" "w"x"h}'; }
# Without --clearmodifiers, which would toggle Caps Lock around the key.
lock_key() {
    xdotool key "$1"
    sleep 0.6
}

# First start on a fresh profile: the start-up document is active.
start
[ "$(title)" = "Vistorel SoftWare - Vistorel1" ] || fail "start-up title: $(title)"
# Somewhere else than the first placement, wholly on the 1280 x 800 screen.
xdotool windowsize --sync "$window" 960 640
xdotool windowmove --sync "$window" 150 70
sleep 0.5

# The status bar, Caps Lock on: the whole window and the bar's strip.
lock_key Caps_Lock
import -window "$window" "$shots/window-caps-lock.png"
width=$(/usr/bin/identify -format %w "$shots/window-caps-lock.png")
/usr/bin/convert "$shots/window-caps-lock.png" -gravity South -crop "${width}x26+0+0" +repage "$shots/status-bar.png"
lock_key Caps_Lock

# "Datei" > "Schließen" (third item): enabled, so it closes the document.
keys alt+d
keys Down Down Return
[ "$(title)" = "Vistorel SoftWare" ] || fail "Schließen did not close the start-up document: $(title)"
# No document: the frame's own menu, "Ansicht" first.
keys alt+a
import -window root "$shots/menu-without-document.png"
keys Escape
placed=$(rectangle)
stop

for run in 1 2 3; do
    start
    [ "$(rectangle)" = "$placed" ] || fail "restart $run: window at $(rectangle), was $placed"
    stop
done
echo "window rectangle $placed kept over three restarts"

# Several files on the command line, as the desktop entry passes them.
grep -q '^Exec=vistorel %F$' "$desktop" || fail "the desktop entry does not pass %F"
/usr/bin/convert -size 40x30 xc:red "$work/a.bmp"
/usr/bin/convert -size 30x20 xc:blue "$work/b.bmp"
start "$work/a.bmp" "$work/b.bmp"
[ "$(title)" = "Vistorel SoftWare - b.bmp" ] || fail "last file not active: $(title)"
keys F6
[ "$(title)" = "Vistorel SoftWare - a.bmp" ] || fail "first file not open: $(title)"
# "Fenster" > "Überlappend", then camera mode with "Kamera Vorschau" closed.
keys alt+f
keys Return
import -window "$window" "$shots/cascade.png"
keys alt+a
keys Return
keys alt+k
keys Return
import -window "$window" "$shots/camera-without-preview.png"
stop
echo "all end-to-end checks passed"
