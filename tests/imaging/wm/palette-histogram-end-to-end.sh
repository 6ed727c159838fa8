#!/usr/bin/env bash
# The palette dialog and the histogram bar driven as a user drives them, with
# xdotool: a 16-colour picture from the command line shows its histogram;
# the toolbar's "Palette" opens the dialog, a double click on entry 0 opens the
# colour chooser, red is typed in and OK paints the picture's entry-0 pixels
# red. Then camera mode with the simulated camera at 1280 x 960 and
# "Kamera" > "Histogram": the bar follows the live picture. Keeps pictures of
# the bar beside the document, of the dialog and of the camera histogram.
# Arguments: the program, the folder for the screenshots. Run it through
# tests/application/wm/with-window-manager.sh.
set -euo pipefail
program=$1
shots=$2
mkdir -p "$shots"
source "$(cd "$(dirname "$0")/../../support" && pwd)/xdo-session.sh"
export VISTOREL_SIM_CAMERA_TYPE=2
# The whole screen: the dialogs stand beside the main window.
screen_shot() {
    sleep 0.7
    import -window root "$1"
}
# Pixels of colour R,G,B inside the box X0,Y0-X1,Y1 of a screenshot.
count() {
    /usr/bin/python3 - "$@" <<'PY'
import sys
from PIL import Image
shot = Image.open(sys.argv[1]).convert("RGB")
r, g, b, x0, y0, x1, y1 = map(int, sys.argv[2:9])
print(sum(1 for y in range(y0, y1) for x in range(x0, x1) if shot.getpixel((x, y)) == (r, g, b)))
PY
}
same() { cmp -s <(convert "$1" -crop "$3" +repage rgb:-) <(convert "$2" -crop "$3" +repage rgb:-) && echo same || echo differ; }
wait_window() {
    for _ in $(seq 50); do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    return 1
}
origin() { # absolute upper-left corner of a window's own area: "x y"
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}'
}
click() {
    xdotool mousemove --sync "$1" "$2" click 1
    sleep "${3:-0.4}"
}

/usr/bin/convert -seed 4 -size 320x240 plasma:fractal -blur 0x2 -colors 16 -type Palette BMP3:"$work/p.bmp"
start "$work/p.bmp"
xdotool windowmove --sync "$window" 0 0
sleep 0.5
read -r wx wy < <(origin "$window")

# The histogram pane below the control pane: the red curve is there.
screen_shot "$shots/histogram-document.png"
[ "$(count "$shots/histogram-document.png" 222 0 0 $wx $((wy + 480)) $((wx + 260)) $((wy + 690)))" -ge 20 ] ||
    fail "no red histogram curve beside the document"
[ "$(count "$shots/histogram-document.png" 255 0 0 $((wx + 266)) $((wy + 90)) $((wx + 586)) $((wy + 330)))" = 0 ] ||
    fail "the test picture already holds pure red"

# "Palette" on the tool bar; double click entry 0; red through the chooser's HTML field.
click $((wx + 551)) $((wy + 37)) 1
dialog=$(wait_window '^Palette$') || fail "the palette dialog did not open"
read -r dx dy < <(origin "$dialog")
xdotool mousemove --sync $((dx + 19)) $((dy + 19)) click --repeat 2 --delay 80 1
chooser=$(wait_window '^(Select Colou?r|Farbauswahl)$') || fail "no colour chooser on the double click"
# In German "&Helligkeit" shares Alt+H with "&HTML": the second press moves on to the HTML field.
xdotool windowactivate --sync "$chooser" key --clearmodifiers alt+h alt+h ctrl+a
xdotool type --delay 20 '#ff0000'
xdotool key Return
sleep 0.7
screen_shot "$shots/palette-dialog.png"
[ "$(count "$shots/palette-dialog.png" 255 0 0 $((dx + 15)) $((dy + 15)) $((dx + 24)) $((dy + 24)))" -ge 40 ] ||
    fail "entry 0 is not red in the grid"
xdotool windowactivate --sync "$dialog" key --clearmodifiers Return
sleep 1
screen_shot "$work/applied.png"
[ "$(count "$work/applied.png" 255 0 0 $((wx + 266)) $((wy + 90)) $((wx + 586)) $((wy + 330)))" -ge 50 ] ||
    fail "OK did not give the picture the red entry"

# Camera mode, the simulated camera at 1280 x 960, then "Kamera" > "Histogram".
click $((wx + 43)) $((wy + 90)) 1
click $((wx + 205)) $((wy + 116)) 2.5
click $((wx + 83)) $((wy + 163)) 0.8
click $((wx + 60)) $((wy + 185)) 0.5
click $((wx + 205)) $((wy + 162)) 3
click $((wx + 33)) $((wy + 8)) 0.8
click $((wx + 65)) $((wy + 99)) 2
screen_shot "$shots/histogram-camera.png"
sleep 1
screen_shot "$work/camera-later.png"
# The histogram docks below the preview, where the picture leaves room.
[ "$(count "$shots/histogram-camera.png" 222 0 0 $((wx + 266)) $((wy + 390)) $((wx + 1024)) $((wy + 700)))" -ge 20 ] ||
    fail "no live histogram in camera mode"
[ "$(same "$shots/histogram-camera.png" "$work/camera-later.png" 740x150+$((wx + 270))+$((wy + 545)))" = differ ] ||
    fail "the live histogram did not follow the moving picture"

# The palette changed the picture: Alt+F4 asks to save it, and is told not to.
stop alt+n
echo "all palette and histogram checks passed"
