#!/usr/bin/env bash
# Whole-process timings of common commands against libvips and ImageMagick.
# Every tool runs as a command from file to file on the same input, with the
# same output format, so each time includes start-up, reading, the operation
# and writing. Each command runs five times in a row; the table shows the
# median wall time, the median CPU time (user + system, less sensitive to a
# loaded machine) and the largest peak resident memory of the five runs (after
# one untimed run), as the kernel counts them for the process (what
# /usr/bin/time -v reports).
# The table goes to standard output and to bench/results.md (or RESULTS),
# whose notes section, if any, is kept.
# Usage: bench/vs_peers.sh BUILD_DIR [RESULTS]
#   BUILD_DIR: a Release build (needs src/cli/vistorel-img)
#   VS_PEERS_ONLY=regex runs only the commands whose label matches.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [RESULTS]}
here=$(cd "$(dirname "$0")" && pwd)
results=${2:-$here/results.md}
ours=$(cd "$build" && pwd)/src/cli/vistorel-img
im=/usr/bin/convert # another convert may come first on PATH
vips=$(command -v vips || true)
for tool in "$ours" "$im" "$vips"; do
    [ -n "$tool" ] && [ -x "$tool" ] || { echo "missing: ${tool:-vips} (see scripts/deps)" >&2; exit 2; }
done
only=${VS_PEERS_ONLY:-.}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
echo "making the inputs in $work ..." >&2
"$im" -seed 1 -size 4000x3000 plasma: -depth 8 in.ppm
"$im" in.ppm -quality 90 in.jpg
"$im" -seed 2 -size 4000x3000 plasma: -depth 16 PNG48:in16.png
# Kernels for libvips: width height scale offset, then the weights.
printf '3 3 9 0\n1 1 1\n1 1 1\n1 1 1\n' > box3.mat
{
    echo "5 5 256 0"
    for a in 1 4 6 4 1; do
        echo "$((a * 1)) $((a * 4)) $((a * 6)) $((a * 4)) $((a * 1))"
    done
} > gauss5.mat
gauss5_list=$(tail -n +2 gauss5.mat | tr ' \n' ',,' | sed 's/,$//')
sync # the inputs' write-back must not land in the first timings

# Runs "$@" five times; prints "wall_ms cpu_ms maxrss_kb" (medians of wall and
# CPU time, largest peak memory), each run's figures from wait4 (microseconds).
measure() {
    python3 - "$@" <<'PY'
import os, subprocess, sys, time
walls, cpus, rss = [], [], 0
# One untimed run first: file cache and dynamic libraries warm for every tool alike.
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
for _ in range(5):
    start = time.monotonic()
    p = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    err = p.stderr.read()
    _, status, use = os.wait4(p.pid, 0)
    walls.append((time.monotonic() - start) * 1000)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.stderr.write("command failed: %s (%s)\n" % (" ".join(sys.argv[1:]), err[:300].decode(errors="replace")))
        print("- - -")
        sys.exit(0)
    cpus.append((use.ru_utime + use.ru_stime) * 1000)
    rss = max(rss, use.ru_maxrss)
print("%d %d %d" % (sorted(walls)[2], sorted(cpus)[2], rss))
PY
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b }'; }

decoded_mb=$(awk 'BEGIN { printf "%.1f", 4000 * 3000 * 3 / 1048576 }')
rows=()
# label | our arguments | libvips arguments | ImageMagick arguments (in the work folder)
row() {
    local label=$1 o=$2 v=$3 m=$4
    [[ $label =~ $only ]] || return 0
    echo "  $label" >&2
    local ro rv rm
    # shellcheck disable=SC2086 # the argument lists are meant to split
    ro=($(measure "$ours" $o))
    # shellcheck disable=SC2086
    rv=($(VIPS_CONCURRENCY=2 measure "$vips" $v))
    # shellcheck disable=SC2086
    rm=($(measure "$im" -limit thread 2 $m))
    rows+=("| $label | ${ro[0]} | ${rv[0]} | ${rm[0]} | $(ratio "${ro[0]}" "${rv[0]}") | $(ratio "${ro[0]}" "${rm[0]}") \
| ${ro[1]} | ${rv[1]} | ${rm[1]} | $(ratio "${ro[1]}" "${rv[1]}") \
| $((ro[2] / 1024)) | $((rv[2] / 1024)) | $((rm[2] / 1024)) | $(ratio "$((ro[2] / 1024))" "$decoded_mb") |")
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
row "convert PPM to PPM" "convert in.ppm out.ppm" "copy in.ppm out.ppm" "in.ppm out.ppm"
row "3 x 3 box filter" "process in.ppm out.ppm Filter:3,9,0,1,1,1,1,1,1,1,1,1" \
    "conv in.ppm out.ppm box3.mat --precision integer" \
    "in.ppm -define convolve:scale=! -morphology Convolve 3x3:1,1,1,1,1,1,1,1,1 out.ppm"
row "5 x 5 Gaussian" "process in.ppm out.ppm Filter:5,256,0,$gauss5_list" \
    "conv in.ppm out.ppm gauss5.mat --precision integer" \
    "in.ppm -define convolve:scale=! -morphology Convolve 5x5:$gauss5_list out.ppm"
row "Mirror" "process in.ppm out.ppm Mirror" "flip in.ppm out.ppm horizontal" "in.ppm -flop out.ppm"
row "Flip" "process in.ppm out.ppm Flip" "flip in.ppm out.ppm vertical" "in.ppm -flip out.ppm"
row "RotateRight" "process in.ppm out.ppm RotateRight" "rot in.ppm out.ppm d90" "in.ppm -rotate 90 out.ppm"
row "Resample2 half, bilinear" "process in.ppm out.ppm Resample2:2000,1500,2,5" \
    "resize in.ppm out.ppm 0.5 --kernel linear" "in.ppm -filter Triangle -resize 2000x1500! out.ppm"
row "Resample2 1/8, bicubic" "process in.ppm out.ppm Resample2:500,375,5,5" \
    "resize in.ppm out.ppm 0.125 --kernel cubic" "in.ppm -filter Catrom -resize 500x375! out.ppm"
row "Median 3 x 3" "process in.ppm out.ppm Median:3" "rank in.ppm out.ppm 3 3 4" \
    "in.ppm -statistic Median 3x3 out.ppm"
row "Gamma 2.2" "process in.ppm out.ppm Gamma:2.2" "gamma in.ppm out.ppm --exponent 2.2" \
    "in.ppm -gamma 2.2 out.ppm"
row "GrayScale (PGM out)" "process in.ppm out.pgm GrayScale" "colourspace in.ppm out.pgm b-w" \
    "in.ppm -colorspace Gray out.pgm"
row "JPEG q90, half size, JPEG q90" "process in.jpg out.jpg Resample2:2000,1500,2,5" \
    "resize in.jpg out.jpg[Q=90] 0.5" "in.jpg -resize 2000x1500! -quality 90 out.jpg"
row "16-bit PNG to 8-bit PPM" "convert in16.png out.ppm" "colourspace in16.png out.ppm srgb" \
    "in16.png -depth 8 out.ppm"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')
{
    echo "# Whole-process times: vistorel-img, libvips, ImageMagick"
    echo
    echo "Machine: $cpu, $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo);" \
        "$(. /etc/os-release && echo "$PRETTY_NAME"); libvips $("$vips" --version | cut -d- -f2)," \
        "ImageMagick $("$im" -version | head -1 | cut -d' ' -f3);" \
        "$(date -u '+%Y-%m-%d %H:%M UTC'); load average before $load_before, after $load_after."
    echo
    echo "Input: 4000 x 3000 24-bit PPM (plasma) unless named; the decoded picture is $decoded_mb MiB."
    echo "Each cell is the median of five runs (peak memory: the largest); libvips with"
    echo "VIPS_CONCURRENCY=2, ImageMagick with -limit thread 2. Times in ms, memory in MiB."
    echo
    echo "| command | ours wall | vips wall | IM wall | ours/vips | ours/IM | ours CPU | vips CPU | IM CPU" \
        "| ours/vips CPU | ours MiB | vips MiB | IM MiB | ours / decoded |"
    echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
} > "$work/table.md"
cat "$work/table.md"
# Hand-written notes below the table (from a "## Notes" line on) are kept.
if [ -f "$results" ] && grep -q '^## Notes' "$results"; then
    { echo; sed -n '/^## Notes/,$p' "$results"; } >> "$work/table.md"
fi
cp "$work/table.md" "$results"
