#!/usr/bin/env bash
# The desktop entry and the AppStream file pass their validators, the man
# pages format without warnings. Exits 77 (skipped) naming the tool when one
# is not installed (scripts/deps installs them).
# Argument: the source folder.
set -euo pipefail
src=$1
for tool in desktop-file-validate appstreamcli man; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (scripts/deps installs it)"
        exit 77
    fi
done
desktop-file-validate "$src/src/resources/vistorel.desktop"
appstreamcli validate --no-net "$src/src/resources/org.vistorel.Vistorel.metainfo.xml"
for page in "$src/man/vistorel.1" "$src/man/vistorel-img.1"; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done
echo "desktop entry, AppStream file and man pages are valid"
