#!/bin/bash
# Plays the game through the X server's own input, as a player's keyboard and mouse reach it.
#
#   play-input.sh LOG SCRIPT GAME [ARGS...]
#
# Starts GAME with its output appended to LOG, waits for its window, gives that window the
# input focus with the pointer inside it, and then runs the bash SCRIPT beside the game. The
# script may use the functions below; once it is done the game is left to end by itself (its
# MOORHOLD_FRAMES, or a key of the script's). The status is the game's own.
#
#   wait_for TEXT [SECONDS]   until LOG holds TEXT (default 120 s); fails when the game ended
#   wait_lines TEXT N [SECONDS]  until LOG holds N lines that contain TEXT
#   wait_more TEXT N [SECONDS]   until LOG holds N more lines that contain TEXT than now
#   wait_game_seconds S [SECONDS]  until the game's seconds (MOORHOLD_LOG_PLAYER) are S on
#   hold KEY SECONDS          KEY down for SECONDS (one xdotool call, so the time is exact)
#   tap KEY                   a short press (0.1 s)
#   press KEY...              key presses as xdotool's "key" gives them (chords like alt+Return)
#   window_size W H           the window's new size, as a window manager would set it
#   snapshot NAME [root]      the window as the X server shows it, into NAME.xwd beside LOG
#                             (root: the whole screen, where a full-screen window is)
#   focus_away                the input focus to the root window, as a click on another would
#   focus_back                the input focus back to the game's window
#   mark NAME                 writes "input: NAME <seconds since the epoch>" into LOG
#   $window                   the game window's id, for further xdotool calls
set -u
log=$1
script=$2
shift 2

"$@" >> "$log" 2>&1 &
game=$!

# Runs the test "$@" every 0.01 s until it holds, for at most LIMIT seconds; fails when the
# game ended first.
poll() {
    local limit=$(( $1 * 100 )) i=0
    shift
    until "$@"; do
        kill -0 "$game" 2>/dev/null || return 1
        [ $i -ge $limit ] && return 1
        sleep 0.01
        i=$((i + 1))
    done
}

lines_with() { grep -cF -- "$1" "$log"; }
at_least() { [ "$(lines_with "$1")" -ge "$2" ]; }
wait_for() { poll "${2:-120}" grep -qF -- "$1" "$log"; }
wait_lines() { poll "${3:-120}" at_least "$1" "$2"; }
wait_more() { wait_lines "$1" $(( $(lines_with "$1") + $2 )) "${3:-120}"; }

# The game's seconds of the last player line are `from` + S or more.
game_seconds_past() {
    tail -n 40 "$log" | awk -v t="${1:-0}" -v s="$2" '$1 == "player:" && $2 >= t + s { f = 1 } END { exit !f }'
}
wait_game_seconds() {
    poll "${2:-120}" game_seconds_past "$(grep '^player: ' "$log" | tail -n 1 | cut -d ' ' -f 2)" "$1"
}

hold() { xdotool keydown "$1" sleep "$2" keyup "$1"; }
tap() { hold "$1" 0.1; }
press() { xdotool key --delay 120 "$@"; }
mark() { echo "input: $1 $(date +%s.%N)" >> "$log"; }
snapshot() {
    if [ "${2:-}" = root ]; then
        xwd -silent -root -out "$(dirname "$log")/$1.xwd"
    else
        xwd -silent -id "$window" -out "$(dirname "$log")/$1.xwd"
    fi
}
focus_away() { xdotool windowfocus "$(xdotool search --maxdepth 0 --name '' | head -n 1)"; }
focus_back() { xdotool windowfocus --sync "$window"; }
window_size() {
    xdotool windowsize "$window" "$1" "$2"
    # The pointer keeps the focus inside the window (no window manager gives it back).
    xdotool mousemove --window "$window" 20 20
}

# SDL opens the window a few frames into the start-up; the game may also end before it
# does (a refused file), and then there is nothing to play.
window=""
for _ in $(seq 1 1200); do
    window=$(xdotool search --onlyvisible --name '^Moorhold' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    kill -0 "$game" 2>/dev/null || break
    sleep 0.05
done
if [ -n "$window" ]; then
    # Without a window manager the keyboard goes where the pointer is and where the focus is set.
    xdotool mousemove --window "$window" 20 20
    xdotool windowfocus --sync "$window" 2>/dev/null
    # shellcheck source=/dev/null
    . "$script"
else
    echo "play-input.sh: the game showed no window" >> "$log"
fi
wait "$game"
