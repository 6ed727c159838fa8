#!/usr/bin/env bash
# Capture to file driven as a user drives it, with xdotool: the simulated
# camera's preview, the configuration dialog set to series of three JPEG
# stills, "Speichern", the second still picked in the image browser and opened
# as a document, sharpened ("Filters" > "Schärfen", command 32815), undone and
# saved. Arguments: the program, the folder for the screenshots. Run it
# through tests/application/wm/with-window-manager.sh.
set -euo pipefail
program=$1
shots=$2
here=$(cd "$(dirname "$0")" && pwd)
measure() { /usr/bin/python3 "$here/../../imaging/wm/measure.py" "$@"; }
mkdir -p "$shots"
source "$here/../../support/xdo-session.sh"
# The default capture folder is the pictures folder's Vistorel folder.
export XDG_CONFIG_HOME="$work/config" HOME="$work" XDG_PICTURES_DIR="$work/Pictures" VISTOREL_SIM_CAMERA_TYPE=2
captures="$work/Pictures/Vistorel"
# The whole screen: the panes and dialogs around the preview show too.
shot() {
    sleep 0.7
    import -window root "$1"
}
click() { # a point of the main window's own area
    xdotool mousemove --sync $((wx + $1)) $((wy + $2)) click 1
    sleep 0.5
}
# True when the pixel is the blue of a highlighted menu entry.
highlighted() {
    /usr/bin/python3 -c 'import sys
from PIL import Image
r, g, b = Image.open(sys.argv[1]).convert("RGB").getpixel((int(sys.argv[2]), int(sys.argv[3])))
sys.exit(0 if b > r + 60 else 1)' "$@"
}
stills() { find "$captures" -name 'KX_*.JPG' 2>/dev/null | sort; }

start --preview
sleep 2
xdotool windowmove --sync "$window" 0 0
sleep 0.5
wx=$(xwininfo -id "$window" | awk '/Absolute upper-left X/{print $4}')
wy=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/{print $4}')
shot "$shots/capture-preview.png"
# Title bars of the control pane, the save panel and the image browser.
read -r _ panel browser _ < <(/usr/bin/python3 "$here/panes.py" "$shots/capture-preview.png" $((wx + 252)))
[ -n "${browser:-}" ] || fail "the save panel and the image browser are not both shown"
panel=$((panel - wy))
browser=$((browser - wy))

# "Konfiguration": ".jpg" (one up from ".bmp"), three stills, then OK (four tabs on).
click 68 $((panel + 80))
dialog=""
for _ in $(seq 30); do
    dialog=$(xdotool search --onlyvisible --name '^Capture Config$' 2>/dev/null | head -1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
done
[ -n "$dialog" ] || fail "no configuration dialog"
xdotool windowactivate --sync "$dialog"
xdotool key --clearmodifiers Up Tab Tab ctrl+a 3
sleep 0.3
shot "$shots/capture-config.png"
xdotool key Tab Tab Tab Tab space
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^Capture Config$' 2>/dev/null)" ] || fail "the dialog stayed open"

# "Speichern": three stills a second apart, the window answering all the while.
click 68 $((panel + 48))
for _ in $(seq 80); do
    [ "$(stills | wc -l)" -ge 3 ] && break
    sleep 0.1
done
[ "$(stills | wc -l)" -eq 3 ] || fail "not three stills: $(stills)"
sleep 1.5
[ "$(stills | wc -l)" -eq 3 ] || fail "more than three stills: $(stills)"
for f in $(stills); do
    [ "$(/usr/bin/identify -format '%m %wx%h' "$f")" = "JPEG 640x480" ] || fail "$f is not a 640 x 480 JPEG"
done
second=$(stills | sed -n 2p)
shot "$shots/capture-browser.png"

# The browser shows the newest; "<<" goes to the second, "Bild öffnen" (two tabs
# on from "<<", and maybe below the screen's edge) opens it.
click 97 $((browser + 23))
xdotool key --clearmodifiers Tab Tab space
titled() { [ "$(title)" = "Vistorel SoftWare - $(basename "$second")" ]; }
eventually titled || fail "the second still did not open: $(title)"
shot "$work/opened.png"
box="300 100 1000 700"

# "Filters" > "Schärfen" (the fifth entry), then undo.
before=$(stat -c %Y.%s "$second")
keys alt+l
keys Down Down Down Down
shot "$work/menu.png"
# The keys land on "Schärfen" only when it is enabled (disabled entries are passed over).
highlighted "$work/menu.png" $((wx + 300)) $((wy + 117)) || fail "Schärfen is not enabled for the opened still"
keys Return
sharpened() {
    shot "$shots/capture-sharpened.png"
    [ "$(measure same "$work/opened.png" "$shots/capture-sharpened.png" $box)" = differ ]
}
eventually sharpened || fail "sharpen changed nothing"
keys ctrl+z
undone() {
    shot "$work/undone.png"
    [ "$(measure same "$work/opened.png" "$work/undone.png" $box)" = same ]
}
eventually undone || fail "undo did not bring the still back"

# Save: the still is written again, as a JPEG of the same size.
sleep 1
keys ctrl+s
saved() { [ "$(stat -c %Y.%s "$second")" != "$before" ]; }
eventually saved || fail "the still was not saved again"
[ "$(/usr/bin/identify -format '%m %wx%h' "$second")" = "JPEG 640x480" ] || fail "the saved still is no 640 x 480 JPEG"
[ "$(title)" = "Vistorel SoftWare - $(basename "$second")" ] || fail "title after saving: $(title)"
[ "$(stills | wc -l)" -eq 3 ] || fail "saving changed the stills: $(stills)"

stop
echo "all capture checks passed"
