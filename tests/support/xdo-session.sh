# Sourced by the end-to-end scripts that drive the real program with xdotool
# under a window manager. Needs `program` set; gives a scratch folder `work`
# (also HOME and the settings folder, so every run starts on a fresh profile)
# and the helpers below. The program is killed and the folder removed on exit.
work=$(mktemp -d)
pid=""
window=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" HOME="$work" XDG_DATA_HOME="$work/data"
# German, the language the program's texts are written in, whatever the
# machine's locale: the scripts press the German menus' keys (alt+d "Datei")
# and look for German titles. Qt's own dialogs speak German with it.
export LANGUAGE=de_DE

fail() {
    echo "FAILED: $*"
    exit 1
}
# Starts the program with the given arguments and waits for its main window.
start() {
    "$program" "$@" >"$work/log" 2>&1 &
    pid=$!
    window=""
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --name '^Vistorel SoftWare' 2>/dev/null | head -1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || fail "no main window; log: $(cat "$work/log")"
    sleep 1.5 # framed and placed
}
# Alt+F4, then the program must end by itself and without an error. With a key
# (alt+n: "Nicht speichern"), each question to save a changed document is answered with it.
stop() {
    xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        if [ -n "${1:-}" ]; then
            question=$(xdotool search --onlyvisible --name '^Vistorel$' 2>/dev/null | head -1 || true)
            [ -n "$question" ] && xdotool windowactivate --sync "$question" key --clearmodifiers "$1"
        fi
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end on Alt+F4"
    wait "$pid" || fail "the program ended with an error"
    pid=""
}
# Waits for the program's question box and answers it with a key (alt+n: "Nicht speichern").
answer_question() {
    local question=""
    for _ in $(seq 50); do
        question=$(xdotool search --onlyvisible --name '^Vistorel$' 2>/dev/null | head -1 || true)
        [ -n "$question" ] && break
        sleep 0.1
    done
    [ -n "$question" ] || fail "no question box"
    xdotool windowactivate --sync "$question" key --clearmodifiers "$1"
    sleep 0.5
}
title() { xdotool getwindowname "$window"; }
# Runs a check until it holds, for up to about ten seconds: on a loaded machine
# the program may answer later than usual.
eventually() {
    for _ in $(seq 20); do
        "$@" && return 0
        sleep 0.5
    done
    "$@"
}
keys() {
    xdotool windowactivate --sync "$window"
    xdotool key --clearmodifiers "$@"
    sleep 0.5
}
shot() {
    sleep 0.7
    import -window "$window" "$1"
}
