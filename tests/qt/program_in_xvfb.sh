#!/bin/sh
# The real program on a private X server (Xvfb, no window manager): it shows
# its window with its title, centred at 459 x 319, and ends with exit code 0
# on Esc. Without a display it ends with exit code 255 and a message, not
# with a crash.
#
#   program_in_xvfb.sh PATH/TO/valdremo
#
# Everything started here is ended by its PID.
set -u

program=$1
title='Valdremo二级office教学视频'
work=$(mktemp -d)
xvfb_pid=""
program_pid=""

cleanup() {
    if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null; fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.err; do
        [ -s "$log" ] && { echo "--- $log" >&2; cat "$log" >&2; }
    done
    exit 1
}

# Polls `$@` every 0.1 s for up to 10 s.
eventually() {
    tries=100
    while [ $tries -gt 0 ]; do
        "$@" && return 0
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

# Xvfb picks a free display number and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.err" &
xvfb_pid=$!
eventually test -s "$work/display" || fail "Xvfb did not start"
display=:$(cat "$work/display")
echo "Xvfb on $display (pid $xvfb_pid)"

run_program() {
    env -u QT_QPA_PLATFORM -u QT_QPA_PLATFORMTHEME -u WAYLAND_DISPLAY "$@" "$program"
}

# --- It starts, shows its window and closes on Esc.
run_program DISPLAY="$display" 2>"$work/program.err" &
program_pid=$!

find_window() {
    window=$(DISPLAY=$display xdotool search --onlyvisible --name '^Valdremo' 2>/dev/null | head -n 1)
    [ -n "$window" ]
}
eventually find_window || fail "no window appeared"
shown=$(DISPLAY=$display xdotool getwindowname "$window")
[ "$shown" = "$title" ] || fail "title is '$shown', not '$title'"
echo "window $window: $shown"

# Without a window manager there is no frame: the client is the outer size.
info=$(DISPLAY=$display xwininfo -id "$window")
field() { printf '%s\n' "$info" | sed -n "s/^ *$1: *//p"; }
geometry="$(field 'Absolute upper-left X') $(field 'Absolute upper-left Y') $(field Width) $(field Height)"
[ "$geometry" = "410 352 459 319" ] || fail "window at x y w h = $geometry, not 410 352 459 319"

# Qt gives its new window the keyboard itself where no window manager does.
has_focus() { [ "$(DISPLAY=$display xdotool getwindowfocus 2>/dev/null)" = "$window" ]; }
eventually has_focus || fail "the window never got the keyboard focus"
DISPLAY=$display xdotool key Escape

ended() { ! kill -0 "$program_pid" 2>/dev/null; }
eventually ended || fail "still running 10 s after Esc"
wait "$program_pid"
code=$?
program_pid=""
[ "$code" -eq 0 ] || fail "exit code $code after Esc, not 0"
echo "Esc: exit code 0"

# --- No display at all: a message and 255 (an abort would give 134).
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >/dev/null 2>"$work/nodisplay.err"
code=$?
[ "$code" -eq 255 ] || fail "exit code $code without a display, not 255"
grep -q 'DISPLAY' "$work/nodisplay.err" || fail "no message without a display"
echo "no display: exit code 255: $(tail -n 1 "$work/nodisplay.err")"

# --- A display that nobody serves (ours, now ended): Qt's platform plugin
# gives up, and the program still ends with a message and 255.
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null
xvfb_pid=""
run_program DISPLAY="$display" >/dev/null 2>"$work/refused.err"
code=$?
[ "$code" -eq 255 ] || fail "exit code $code when the display refuses, not 255"
grep -q 'valdremo: cannot start' "$work/refused.err" || fail "no message when the display refuses"
echo "display refused: exit code 255: $(grep 'valdremo: cannot start' "$work/refused.err")"
rm -f "$work"/*.err
echo "PASS"
