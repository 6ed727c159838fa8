#!/usr/bin/env bash
# `vistorel --help` and `--version` print and end without a display, in the
# language of the locale or of the profile; every option they list and every
# command vistorel-img lists is in the man pages.
# Arguments: vistorel, vistorel-img, the source folder, the version.
set -euo pipefail
program=$1
tool=$2
src=$3
version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
# No display at all: the options must not need one.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG \
        XDG_CONFIG_HOME="$work/config" "$@"; }

run LANG=de_DE.UTF-8 "$program" --help >"$work/de" || fail "--help ended with an error"
run LANGUAGE=en_GB:en LANG=de_DE.UTF-8 "$program" -h >"$work/en" || fail "-h ended with an error"
head -1 "$work/de" | grep -qx 'Aufruf: vistorel \[OPTION...\] \[DATEI...\]' || fail "German usage: $(head -1 "$work/de")"
head -1 "$work/en" | grep -qx 'Usage: vistorel \[OPTION...\] \[FILE...\]' || fail "English usage: $(head -1 "$work/en")"
# The profile's choice wins over the locale.
mkdir -p "$work/config/Vistorel"
printf '[Settings]\nLanguage=de\n' >"$work/config/Vistorel/Vistorel.ini"
run LANG=en_US.UTF-8 "$program" --help | head -1 | grep -q '^Aufruf:' || fail "the profile's German was not taken"
rm -r "$work/config"

[ "$(run "$program" --version)" = "Vistorel $version" ] || fail "--version: $(run "$program" --version)"

man_text() { sed 's/\\-/-/g' "$1"; }
for option in $(grep -o -- '--\?[a-z][a-z-]*' "$work/en" | grep '^-' | sort -u); do
    man_text "$src/man/vistorel.1" | grep -q -- "$option" || fail "vistorel.1 does not describe $option"
done
# vistorel-img prints its usage on standard error, exit status 2.
status=0
"$tool" >/dev/null 2>"$work/img" || status=$?
[ "$status" = 2 ] || fail "vistorel-img without arguments: exit status $status"
commands=$(grep -o 'vistorel-img [a-z]*' "$work/img" | sort -u)
[ -n "$commands" ] || fail "vistorel-img printed no usage"
while read -r _ command; do
    man_text "$src/man/vistorel-img.1" | grep -q "^\.B vistorel-img $command\$" || fail "vistorel-img.1 lacks $command"
done <<<"$commands"
echo "help, version and man pages checked: $(echo "$commands" | wc -l) vistorel-img commands"
