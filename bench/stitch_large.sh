#!/usr/bin/env bash
# Memory and time of `vistorel-img stitch` on a 10 x 10 grid of 5-megapixel
# tiles (2592 x 1944, 10 % overlap, shuffled, vignetting and noise; corners on
# whole pixels so the set can be cut from an 8-bit specimen). Peers are not run
# here: at this size Hugin's all-pairs matching alone takes far longer.
#   bash bench/stitch_large.sh BUILD_DIR [extra stitch options]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${1:-build-bench}"
shift || true
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
/usr/bin/python3 bench/stitch_make_set.py specimen:23800x17900 "$WORK/set" --grid 10x10 --tile 2592x1944 \
  --overlap 10 --whole-pixels --seed 5
/usr/bin/time -f "wall %e s, CPU %U s user + %S s system, peak %M KiB" \
  "$BUILD_DIR/src/cli/vistorel-img" stitch "$WORK/mosaic.bmp" "$WORK"/set/[0-9]*.png \
  --positions "$WORK/found.csv" "$@" 2>&1 | grep -v '^vistorel-img: stitch: '
echo "placed, mean and largest error (px): $(/usr/bin/python3 bench/stitch_score.py "$WORK/set/truth.csv" "$WORK/found.csv")"
ls -l "$WORK/mosaic.bmp" | awk '{print "mosaic file bytes:", $5}'
