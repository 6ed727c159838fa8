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
#   BUILD_DIR: the default build (scripts/test's `build`, or scripts/bench's
#   `build-bench`; needs src/cli/vistorel-img). Its build type and flags head the table.
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
# shellcheck source=peer_commands.sh
. "$here/peer_commands.sh"
build_described=$(describe_build "$build")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
echo "making the inputs in $work ..." >&2
make_peer_inputs "$im"
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
    [ "$label" = "convert PPM to PPM" ] && convert_ms=("${ro[0]}" "${ro[1]}")
    rows+=("| $label | ${ro[0]} | ${rv[0]} | ${rm[0]} | $(ratio "${ro[0]}" "${rv[0]}") | $(ratio "${ro[0]}" "${rm[0]}") \
| ${ro[1]} | ${rv[1]} | ${rm[1]} | $(ratio "${ro[1]}" "${rv[1]}") \
| $((ro[2] / 1024)) | $((rv[2] / 1024)) | $((rm[2] / 1024)) | $(ratio "$((ro[2] / 1024))" "$decoded_mb") |")
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
convert_ms=(- -)
each_peer_command
# The floor of the plain conversion: copying the same file (cp does not fsync; we do).
copy_ms=($(measure cp in.ppm copy.ppm))
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
    echo "Build: $build_described."
    echo
    echo "Input: 4000 x 3000 24-bit PPM (plasma) unless named; the decoded picture is $decoded_mb MiB."
    echo "Each cell is the median of five runs (peak memory: the largest); libvips with"
    echo "VIPS_CONCURRENCY=2, ImageMagick with -limit thread 2. Times in ms, memory in MiB."
    echo
    echo "| command | ours wall | vips wall | IM wall | ours/vips | ours/IM | ours CPU | vips CPU | IM CPU" \
        "| ours/vips CPU | ours MiB | vips MiB | IM MiB | ours / decoded |"
    echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|"
    printf '%s\n' "${rows[@]}"
    echo
    echo "Plain copy of the input (\`cp in.ppm copy.ppm\`): ${copy_ms[0]} ms wall, ${copy_ms[1]} ms CPU;" \
        "convert PPM to PPM / cp: $(ratio "${convert_ms[0]}" "${copy_ms[0]}") wall," \
        "$(ratio "${convert_ms[1]}" "${copy_ms[1]}") CPU."
} > "$work/table.md"
cat "$work/table.md"
# Hand-written notes below the table (from a "## Notes" line on) are kept.
if [ -f "$results" ] && grep -q '^## Notes' "$results"; then
    { echo; sed -n '/^## Notes/,$p' "$results"; } >> "$work/table.md"
fi
cp "$work/table.md" "$results"
