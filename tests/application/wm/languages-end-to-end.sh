#!/usr/bin/env bash
# The real program in each language, under a window manager: started with
# LANGUAGE=en its menus are English ("&Edit", whose last item opens the
# "Options" dialog) and so is Qt's file dialog; "View > Language > Deutsch"
# says it comes at the next start, and the next start, still with
# LANGUAGE=en, is German ("&Editieren" > "Optionen"). LANG=de_DE.UTF-8 alone
# is German too. Pictures of the open menus and of the file dialog in both.
# Arguments: the program, the folder for the screenshots.
# Run it through with-window-manager.sh.
set -euo pipefail
program=$1
shots=$2
mkdir -p "$shots"
source "$(cd "$(dirname "$0")/../../support" && pwd)/xdo-session.sh"
/usr/bin/convert -size 40x30 xc:red "$work/a.bmp"

# The title of the dialog that the edit menu's last item opens; the dialog is closed again.
options_title() {
    keys alt+e
    keys Up Return
    local dialog=""
    for _ in $(seq 50); do
        dialog=$(xdotool search --onlyvisible --name '^(Options|Optionen)$' 2>/dev/null | head -1 || true)
        [ -n "$dialog" ] && break
        sleep 0.1
    done
    [ -n "$dialog" ] || fail "no options dialog from the edit menu"
    xdotool getwindowname "$dialog"
    xdotool windowactivate --sync "$dialog" key --clearmodifiers Escape
    sleep 0.5
}
# A picture of the screen with the menu of `key` open, and of the file dialog.
pictures() {
    keys "$1"
    import -window root "$shots/menu-$2.png"
    keys Escape Escape
    keys ctrl+o
    sleep 1
    import -window root "$shots/file-dialog-$2.png"
    keys Escape
}

export LANGUAGE=en_US
start "$work/a.bmp"
[ "$(options_title)" = "Options" ] || fail "English: the edit menu's last item did not open \"Options\""
pictures alt+f english
# View > Language > Deutsch, then the note that it comes at the next start.
keys alt+v
keys l
keys d
answer_question Return
stop
grep -q '^Language=de$' "$XDG_CONFIG_HOME/Vistorel/Vistorel.ini" || fail "the choice was not stored"

start "$work/a.bmp"
[ "$(options_title)" = "Optionen" ] || fail "after choosing Deutsch the next start is not German"
stop

rm "$XDG_CONFIG_HOME/Vistorel/Vistorel.ini"
unset LANGUAGE
export LANG=de_DE.UTF-8
start "$work/a.bmp"
[ "$(options_title)" = "Optionen" ] || fail "LANG=de_DE.UTF-8: not German"
pictures alt+d german
stop
echo "English and German checked; pictures in $shots"
