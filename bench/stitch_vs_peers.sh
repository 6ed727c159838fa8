#!/usr/bin/env bash
# Stitching side by side: our `vistorel-img stitch`, OpenCV's scan-mode stitcher
# (python3-opencv) and Hugin's command-line tools (hugin-tools) on the same tile
# sets with known offsets, in one run. Prints a Markdown table: tiles placed,
# mean and largest placement error against the truth (pixels), seconds.
#   bash bench/stitch_vs_peers.sh BUILD_DIR
# The real-picture sets need Debian's ukui-wallpapers (3840 x 2400 pictures);
# they are skipped when it is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${1:-build-bench}"
CLI="$BUILD_DIR/src/cli/vistorel-img"
PY=/usr/bin/python3
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
[ -x "$CLI" ] || { echo "build vistorel-img in $BUILD_DIR first" >&2; exit 1; }

# name | source | grid | tile | overlap %
SETS=(
  "cells 3x3 30%|specimen:3200x2400|3x3|1000x750|30"
  "cells 4x3 20%|specimen:3600x2600|4x3|800x600|20"
  "cells 6x5 10%|specimen:3400x2300|6x5|560x420|10"
  "string 4x3 20%|/usr/share/backgrounds/string.jpg|4x3|800x600|20"
  "ribbon 3x3 30%|/usr/share/backgrounds/2004default.jpg|3x3|1280x960|30"
  "dragon 5x4 15%|/usr/share/backgrounds/firstgeneration.jpg|5x4|640x480|15"
)

echo "| set | tiles | ours placed | ours mean | ours max | ours s | ours MiB | OpenCV placed | OpenCV mean | OpenCV max | OpenCV s | Hugin placed | Hugin mean | Hugin max | Hugin s |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|"
seed=1
for entry in "${SETS[@]}"; do
  IFS='|' read -r name source grid tile overlap <<<"$entry"
  seed=$((seed + 1))
  if [[ "$source" != specimen:* && ! -f "$source" ]]; then
    echo "skipping $name: $source is missing (apt-get install ukui-wallpapers)" >&2
    continue
  fi
  dir="$WORK/$seed"
  $PY bench/stitch_make_set.py "$source" "$dir" --grid "$grid" --tile "$tile" --overlap "$overlap" --seed "$seed"
  tiles=("$dir"/[0-9]*.png)

  /usr/bin/time -f "%e %M" -o "$dir/ours.time" "$CLI" stitch "$dir/mosaic.bmp" "${tiles[@]}" \
    --positions "$dir/ours.csv" 2>/dev/null || true
  read -r ours_s ours_kb < <(tail -n 1 "$dir/ours.time")
  read -r ours_n ours_mean ours_max < <($PY bench/stitch_score.py "$dir/truth.csv" "$dir/ours.csv")

  read -r cv_s < <($PY bench/stitch_opencv.py "${tiles[@]}" "$dir/cv.csv")
  read -r cv_n cv_mean cv_max < <($PY bench/stitch_score.py "$dir/truth.csv" "$dir/cv.csv")

  read -r hg_s < <($PY bench/stitch_hugin.py "${tiles[@]}" "$dir/hugin.csv")
  read -r hg_n hg_mean hg_max < <($PY bench/stitch_score.py "$dir/truth.csv" "$dir/hugin.csv")

  echo "| $name | ${#tiles[@]} | $ours_n | $ours_mean | $ours_max | $ours_s | $((ours_kb / 1024)) | $cv_n | $cv_mean | $cv_max | $cv_s | $hg_n | $hg_mean | $hg_max | $hg_s |"
done
