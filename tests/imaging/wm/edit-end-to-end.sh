#!/usr/bin/env bash
# The image editor driven as a user drives it, with xdotool: a file from the
# command line, zoom in with the keyboard, a Shift rectangle selected with the
# mouse, copy, paste as a new document, text written and undone, close.
# Keeps pictures of 100 %, of 400 % with smoothing and of the selection outline.
# Arguments: the program, the folder for the screenshots. Run it through
# tests/application/wm/with-window-manager.sh.
set -euo pipefail
program=$1
shots=$2
here=$(cd "$(dirname "$0")" && pwd)
measure() { /usr/bin/python3 "$here/measure.py" "$@"; }
mkdir -p "$shots"
source "$here/../../support/xdo-session.sh"
# A 200 x 150 picture: red left half, blue right half, a white square in the red.
/usr/bin/convert -size 200x150 xc:red -fill blue -draw "rectangle 100,0 199,149" \
    -fill white -draw "rectangle 20,100 40,120" "$work/p.bmp"
start "$work/p.bmp"
xdotool windowmove --sync "$window" 0 0
sleep 0.5
[ "$(title)" = "Vistorel SoftWare - p.bmp" ] || fail "title after start: $(title)"
# Where the window's own area starts on the screen (below the window manager's title bar).
wx=$(xwininfo -id "$window" | awk '/Absolute upper-left X/{print $4}')
wy=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/{print $4}')
click_tool() { # toolbar button by its place in the bar: select 380, text 478
    xdotool mousemove --sync $((wx + $1)) $((wy + 37)) click 1
    sleep 0.3
}

shot "$shots/edit-100.png"
origin=$(measure origin "$shots/edit-100.png") || fail "no picture on the screen"
ox=${origin%,*}
oy=${origin#*,}
[ "$(measure run "$shots/edit-100.png" "$ox" $((oy + 5)))" = 100 ] || fail "the red half is not 100 pixels wide at 100 %"

# Zoom in with the keyboard: + makes 150 %.
keys plus
shot "$work/150.png"
[ "$(measure run "$work/150.png" "$ox" $((oy + 5)))" = 150 ] || fail "+ did not zoom to 150 %"

# Select tool, then a Shift rectangle dragged with the mouse.
click_tool 380
sx=$((wx + ox + 30))
sy=$((wy + oy + 30))
xdotool mousemove --sync "$sx" "$sy" keydown shift mousedown 1
for step in 1 2 3 4 5 6; do
    xdotool mousemove --sync $((sx + step * 25)) $((sy + step * 15))
    sleep 0.05
done
xdotool mouseup 1 keyup shift
shot "$shots/edit-selection.png"
# The rectangle starts where the first move with Shift held was: 25, 15 further on.
read -r white black < <(measure ants "$shots/edit-selection.png" $((ox + 60)) $((ox + 170)) $((oy + 45)))
[ "$white" -ge 40 ] && [ "$black" -ge 40 ] || fail "no marching outline on the selection's top edge ($white white, $black black)"

# Copy, and paste as a new document.
keys ctrl+c
keys ctrl+v
[ "$(title)" = "Vistorel SoftWare - Clipboard Image 1" ] || fail "paste did not open the clipboard document: $(title)"
shot "$work/pasted.png"
[ "$(measure run "$work/pasted.png" "$ox" $((oy + 5)))" = 100 ] || fail "the pasted picture is not the copied one"

# Text into the pasted picture through "Place text to image", then undo.
click_tool 478
dialog=""
for _ in $(seq 30); do
    dialog=$(xdotool search --onlyvisible --name '^Place text to image$' 2>/dev/null | head -1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
done
[ -n "$dialog" ] || fail "the text tool did not open its dialog"
xdotool type --delay 30 "Vistorel"
import -window "$dialog" "$shots/edit-text-dialog.png"
# Return is a new line in the text; Ctrl+Return is OK.
xdotool key ctrl+Return
sleep 0.5
xdotool mousemove --sync $((wx + ox + 60)) $((wy + oy + 40)) click 1
shot "$work/text.png"
[ "$(measure same "$work/pasted.png" "$work/text.png" "$ox" "$oy" $((ox + 200)) $((oy + 150)))" = differ ] ||
    fail "the text was not written"
keys ctrl+z
shot "$work/undone.png"
[ "$(measure same "$work/pasted.png" "$work/undone.png" "$ox" "$oy" $((ox + 200)) $((oy + 150)))" = same ] ||
    fail "undo did not bring the picture back"

# Close the pasted document ("Datei" > "Schließen"), which was never saved: it asks, and is told
# not to save. The file's document is active again.
keys alt+d
keys Down Down Return
answer_question alt+n
[ "$(title)" = "Vistorel SoftWare - p.bmp" ] || fail "closing left: $(title)"

# 400 % with smoothing: + + from 150 %, smoothing from "Ansicht": the menu opens with nothing
# chosen, the first Up chooses its last item ("Zeige skala"), six more reach "Smooth".
keys plus plus
keys alt+a
keys Up Up Up Up Up Up Up Return
shot "$shots/edit-400-smooth.png"
# The border between red and blue is blended, not a step.
[ "$(measure blend "$shots/edit-400-smooth.png" "$ox" $((oy + 200)) 900)" -ge 2 ] || fail "no smoothing at 400 %"

stop
echo "all editing checks passed"
