#!/usr/bin/env bash
# Side-by-side timings of the geometry operations on a 4000 x 3000 24-bit
# picture. Each tool runs as a command on its own fast file format (ours: BMP;
# ImageMagick: MPC; libvips: .v), best of three wall times, so every column
# includes start-up, reading and writing; the "plain copy" row shows that
# share. The in-process time of each of our operations (GeometryBench) is
# listed beside it.
# Usage: bench/geometry_vs_peers.sh BUILD_DIR   (configured with -DVISTOREL_BUILD_BENCH=ON)
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR}
bench="$build/bench/GeometryBench"
[ -x "$bench" ] || { echo "build GeometryBench first (ninja -C $build GeometryBench)" >&2; exit 2; }
im=/usr/bin/convert
have_vips=0
command -v vips > /dev/null && have_vips=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$im" -seed 1 -size 4000x3000 plasma: -depth 8 "$work/in.mpc"
"$im" "$work/in.mpc" -type truecolor BMP3:"$work/in.bmp"
if [ $have_vips = 1 ]; then vips copy "$work/in.bmp" "$work/in.v"; fi

best_of_3() { # prints the best wall time of three runs, in milliseconds
    local best=""
    for _ in 1 2 3; do
        local s e t
        s=$(date +%s%N)
        "$@" > /dev/null 2>&1
        e=$(date +%s%N)
        t=$(( (e - s) / 1000000 ))
        if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
    done
    echo "$best"
}

cli="$build/src/cli/vistorel-img"
ours_cmd() { best_of_3 "$cli" process "$work/in.bmp" "$work/out.bmp" "$1"; }
im_cmd() { best_of_3 "$im" -limit thread 2 "$work/in.mpc" "$@" "$work/out.mpc"; }
vips_cmd() {
    if [ $have_vips = 1 ]; then
        local op=$1
        shift
        VIPS_CONCURRENCY=2 best_of_3 vips "$op" "$work/in.v" "$work/out.v" "$@"
    else
        echo "-"
    fi
}

declare -A inproc
while IFS=, read -r name _ real _; do
    name=${name//\"/}
    [[ $name == BM_* ]] && inproc[${name#BM_}]=$(printf '%.0f' "$real")
done < <("$bench" --benchmark_format=csv --benchmark_min_time=0.5 2>/dev/null)

printf '| operation | ours in-process ms | ours command ms | ImageMagick ms | vips ms | ours / faster peer (commands) |\n'
printf '|---|---|---|---|---|---|\n'
row() { # label, in-process key, ours, IM, vips
    local peer=$4
    [ "$5" != "-" ] && [ "$5" -lt "$peer" ] && peer=$5
    printf '| %s | %s | %s | %s | %s | %s |\n' "$1" "${inproc[$2]:-}" "$3" "$4" "$5" \
        "$(awk -v a="$3" -v b="$peer" 'BEGIN { printf "%.2f", a / b }')"
}
row "plain copy (load and write)" Memcpy "$(best_of_3 "$cli" convert "$work/in.bmp" "$work/out.bmp")" \
    "$(best_of_3 "$im" "$work/in.mpc" "$work/out.mpc")" "$(vips_cmd copy)"
row "Resample mode 0 to 1600x1200" ResampleMode0 "$(ours_cmd Resample:1600,1200,0)" "$(im_cmd -resize '1600x1200!')" "$(vips_cmd resize 0.4)"
row "Resample2 bilinear" Resample2Bilinear "$(ours_cmd Resample2:1600,1200,2,5)" "$(im_cmd -filter Triangle -resize '1600x1200!')" "$(vips_cmd resize 0.4 --kernel linear)"
row "Resample2 bicubic" Resample2Bicubic "$(ours_cmd Resample2:1600,1200,5,5)" "$(im_cmd -filter Catrom -resize '1600x1200!')" "$(vips_cmd resize 0.4 --kernel cubic)"
row "Rotate2 12.345 bilinear" Rotate2Bilinear "$(ours_cmd Rotate2:12.345,2,2)" "$(im_cmd -rotate 12.345)" "$(vips_cmd similarity --angle 12.345)"
row "Mirror" Mirror "$(ours_cmd Mirror)" "$(im_cmd -flop)" "$(vips_cmd flip horizontal)"
row "Flip" Flip "$(ours_cmd Flip)" "$(im_cmd -flip)" "$(vips_cmd flip vertical)"
row "RotateLeft" RotateLeft "$(ours_cmd RotateLeft)" "$(im_cmd -rotate -90)" "$(vips_cmd rot d270)"
row "Crop 3000x2000" Crop "$(ours_cmd Crop:500,500,3500,2500)" "$(im_cmd -crop 3000x2000+500+500)" "$(vips_cmd crop 500 500 3000 2000)"
