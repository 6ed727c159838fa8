#!/usr/bin/env bash
# Runs our side of bench/vs_peers.sh's commands with two builds of
# vistorel-img on the same inputs and compares every file written with cmp,
# e.g. a build of the previous commit against the current one, or two build
# types. Prints one line per command and exits non-zero when any output
# differs or any command fails.
# Usage: bench/same_outputs.sh BUILD_DIR_A BUILD_DIR_B
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
tool_a=$(cd "${1:?usage: $0 BUILD_DIR_A BUILD_DIR_B}" && pwd)/src/cli/vistorel-img
tool_b=$(cd "${2:?usage: $0 BUILD_DIR_A BUILD_DIR_B}" && pwd)/src/cli/vistorel-img
for tool in "$tool_a" "$tool_b"; do
    [ -x "$tool" ] || { echo "missing: $tool" >&2; exit 2; }
done
# shellcheck source=peer_commands.sh
. "$here/peer_commands.sh"
echo "A: $1, $(describe_build "$1")"
echo "B: $2, $(describe_build "$2")"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
make_peer_inputs /usr/bin/convert
mkdir a b
for f in *; do
    [ -f "$f" ] && ln -s "../$f" "a/$f" && ln -s "../$f" "b/$f"
done

failed=0
# Runs our arguments with each build in its own folder, then compares the out.* files.
row() {
    local label=$1 args=$2 side tool
    for side in a b; do
        tool=$tool_a
        [ $side = b ] && tool=$tool_b
        rm -f "$side"/out*
        # shellcheck disable=SC2086 # the argument list is meant to split
        if ! (cd "$side" && "$tool" $args > /dev/null); then
            echo "FAILED ($side): $label"
            failed=1
            return
        fi
    done
    local files
    files=$(cd a && ls out*)
    if [ "$files" != "$(cd b && ls out*)" ]; then
        echo "DIFFERENT FILES: $label: $files / $(cd b && ls out* | tr '\n' ' ')"
        failed=1
        return
    fi
    for f in $files; do
        if ! cmp -s "a/$f" "b/$f"; then
            echo "DIFFERENT: $label ($f)"
            failed=1
            return
        fi
    done
    echo "same: $label ($(echo "$files" | tr '\n' ' ')$(stat -c %s "a/${files%%$'\n'*}") bytes)"
}
each_peer_command
exit $failed
