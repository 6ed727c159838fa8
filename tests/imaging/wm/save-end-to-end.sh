#!/usr/bin/env bash
# Saving as a user saves, with xdotool: a calibrated TIFF still and a JPEG with
# EXIF are opened, zoomed to 25 %, measured with a line and a rectangle and
# saved with Ctrl+S. The files must keep their pixels and metadata (the view,
# the overlay and the scale bar stay out of them), the measurements go into
# their data file and come back when the picture is opened again, and
# "Ansicht exportieren..." writes the zoomed view with the overlay.
# Arguments: the program, the folder for the screenshots. Run it through
# tests/application/wm/with-window-manager.sh.
set -euo pipefail
program=$1
shots=$2
here=$(cd "$(dirname "$0")" && pwd)
measure() { /usr/bin/python3 "$here/measure.py" "$@"; }
mkdir -p "$shots"
source "$here/../../support/xdo-session.sh"
command -v exiftool >/dev/null || exit 77

# A 400 x 300 still, red with a grey ramp inside, 2.5 µm a pixel as ImageJ writes it, from a camera.
/usr/bin/python3 - "$work/still.tif" <<'PY'
import sys
from PIL import Image
im = Image.new("RGB", (400, 300), (255, 0, 0))
for y in range(60, 240):
    for x in range(60, 340):
        im.putpixel((x, y), (x % 256, y % 256, (x + y) % 256))
im.save(sys.argv[1], tiffinfo={270: "ImageJ=1.53t\nunit=um\n", 282: 4000.0, 283: 4000.0, 296: 3,
                               272: "Testkamera"})
PY
/usr/bin/convert -size 400x300 xc:red -fill '#3060a0' -draw "rectangle 60,60 340,240" -quality 92 "$work/photo.jpg"
exiftool -q -overwrite_original -Make=Mikro -Model=Scope-9 -DateTimeOriginal='2026:01:02 03:04:05' \
    -XResolution=300 -YResolution=300 -ResolutionUnit=inches "$work/photo.jpg"
cp "$work/still.tif" "$work/still-before.tif"
cp "$work/photo.jpg" "$work/photo-before.jpg"

# Origin of the picture on the screen: pure red for the TIFF, nearly red for the JPEG.
origin_of() { measure "$1" "$2"; }
drag() { # from x,y to x,y on the screen
    xdotool mousemove --sync "$1" "$2" mousedown 1
    for step in 1 2 3 4; do
        xdotool mousemove --sync $(($1 + ($3 - $1) * step / 4)) $(($2 + ($4 - $2) * step / 4))
        sleep 0.05
    done
    xdotool mouseup 1
    sleep 0.3
}
measure_and_save() { # file, origin finder
    local file=$1 finder=$2 name
    name=$(basename "$file")
    start "$file"
    xdotool windowmove --sync "$window" 0 0
    sleep 0.5
    [ "$(title)" = "Vistorel SoftWare - $name" ] || fail "title after start: $(title)"
    wx=$(xwininfo -id "$window" | awk '/Absolute upper-left X/{print $4}')
    wy=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/{print $4}')
    keys minus minus minus # 75, 50, 25 %
    shot "$work/zoomed.png"
    local o
    o=$(origin_of "$finder" "$work/zoomed.png") || fail "$name: no picture on the screen"
    ox=$((wx + ${o%,*}))
    oy=$((wy + ${o#*,}))
    keys alt+m Down Return # "Linie"
    drag $((ox + 15)) $((oy + 15)) $((ox + 70)) $((oy + 50))
    keys alt+m Down Down Return # "Rechteck"
    drag $((ox + 20)) $((oy + 55)) $((ox + 85)) $((oy + 70))
    shot "$shots/save-$name-measured.png"
    keys ctrl+s
    eventually test -f "$file.measure.json" || fail "$name: no measurement data beside the picture"
}
same_metadata() { # before after
    local fields="-ImageWidth -ImageHeight -BitsPerSample -XResolution -YResolution -ResolutionUnit
                  -ImageDescription -Model -Make -DateTimeOriginal"
    # shellcheck disable=SC2086
    [ "$(exiftool -s -s $fields "$1")" = "$(exiftool -s -s $fields "$2")" ]
}
objects() {
    /usr/bin/python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["objects"]))' "$1"
}

# The TIFF still.
measure_and_save "$work/still.tif" origin
cmp -s "$work/still.tif" "$work/still-before.tif" || fail "Ctrl+S changed the TIFF file"
[ "$(/usr/bin/compare -metric AE "$work/still.tif" "$work/still-before.tif" null: 2>&1)" = 0 ] ||
    fail "the TIFF's pixels changed"
same_metadata "$work/still.tif" "$work/still-before.tif" || fail "the TIFF's metadata changed"
[ "$(objects "$work/still.tif.measure.json")" = 2 ] || fail "the data file does not hold the two objects"

# "Ansicht exportieren...": five down in "Datei" ("Neues Dokument" is disabled); the file dialog
# suggests still-view.png beside the picture.
keys alt+d Down Down Down Down Down Return
for _ in $(seq 30); do
    [ -n "$(xdotool search --onlyvisible --class 'vistorel' --name 'Speichern|Save' 2>/dev/null | head -1)" ] && break
    sleep 0.2
done
sleep 0.5
xdotool key Return
eventually test -f "$work/still-view.png" || fail "Ansicht exportieren wrote nothing"
[ "$(/usr/bin/identify -format '%w x %h' "$work/still-view.png")" = "100 x 75" ] ||
    fail "the exported view is not the 25 % view: $(/usr/bin/identify -format '%w x %h' "$work/still-view.png")"
[ "$(measure yellow "$work/still-view.png" 0 0 100 75)" -ge 20 ] || fail "the exported view has no overlay"
stop

# Opened again, the objects are back on the picture.
start "$work/still.tif"
xdotool windowmove --sync "$window" 0 0
sleep 0.5
shot "$shots/save-reopened.png"
o=$(measure origin "$shots/save-reopened.png") || fail "no picture after reopening"
[ "$(measure yellow "$shots/save-reopened.png" "${o%,*}" "${o#*,}" $((${o%,*} + 400)) $((${o#*,} + 300)))" -ge 100 ] ||
    fail "the measurements did not come back with the picture"
stop

# The JPEG with EXIF.
measure_and_save "$work/photo.jpg" reddish
stop
cmp -s "$work/photo.jpg" "$work/photo-before.jpg" || fail "Ctrl+S changed the JPEG file"
same_metadata "$work/photo.jpg" "$work/photo-before.jpg" || fail "the JPEG's metadata changed"
[ "$(objects "$work/photo.jpg.measure.json")" = 2 ] || fail "the JPEG's data file does not hold the two objects"
echo "all saving checks passed"
