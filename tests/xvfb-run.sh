#!/bin/bash
# Runs a command under a virtual X server of its own. The server picks a free display
# number itself (-displayfd) and reports it once it accepts connections, so test runs that
# start servers at the same moment never collide. The server never resets (-noreset): SDL
# opens and closes a probe connection before its real one, and a server that resets when
# its last client leaves refuses the second one now and then. Its output goes nowhere, so
# that a server that outlives its script cannot hold the test's output open. When the
# script itself is stopped (a test's timeout), it stops the program and the server with it.
#
# Two kinds of run say nothing about the program and are repeated, up to three runs in all:
# one whose program could not reach its display (the server gone under it), and one whose
# leak check at exit broke down inside the sanitizer (its tracer crashed while it held the
# program's threads stopped, after the tests had passed). On some machines that breakdown
# comes every time for one GL test, so a repeat alone does not help: the second run leaves
# the threads' TLS out of the leak check's roots (the driver's dynamic TLS is the likeliest
# thing the tracer trips over), and the third runs without the leak check, saying so in
# its output. A leak that is reported is a finished check and is never repeated.
set -u
child=""
server=""
output=""

on_stop() {
    [ -n "$child" ] && kill -TERM "$child" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null
    [ -n "$output" ] && rm -f "$output"
    exit 124
}
trap on_stop TERM INT HUP

start_server() {
    numfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 +extension GLX -noreset -nolisten tcp \
        3>"$numfile" >/dev/null 2>&1 &
    server=$!
    for _ in $(seq 1 400); do
        grep -q '^[0-9][0-9]*$' "$numfile" 2>/dev/null && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.05
    done
    display=$(head -n 1 "$numfile")
    rm -f "$numfile"
}

stop_server() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
}

leak_attempt=1
for attempt in 1 2 3; do
    start_server
    if [ -z "$display" ]; then
        stop_server
        sleep 1
        continue
    fi
    output=$(mktemp)
    leak_check="${LSAN_OPTIONS:-}"
    case $leak_attempt in
        2) leak_check="${leak_check:+$leak_check:}use_tls=0"
           echo "xvfb-run.sh: this run's leak check leaves the threads' TLS out of its roots" ;;
        3) leak_check="${leak_check:+$leak_check:}detect_leaks=0"
           echo "xvfb-run.sh: this run has no leak check: the sanitizer broke down in it twice" ;;
    esac
    LSAN_OPTIONS="$leak_check" DISPLAY=":$display" "$@" > "$output" 2>&1 &
    child=$!
    wait "$child"
    status=$?
    child=""
    stop_server
    if [ $status -ne 0 ] && grep -q "Couldn't open X11 display\|cannot open display" "$output"; then
        rm -f "$output"
        echo "xvfb-run.sh: the program lost its display; running it again" >&2
        continue
    fi
    if [ $status -ne 0 ] && [ $attempt -lt 3 ] && grep -q "LeakSanitizer has encountered a fatal error" "$output"; then
        rm -f "$output"
        echo "xvfb-run.sh: the leak checker failed inside itself; running the program again" >&2
        leak_attempt=$((leak_attempt + 1))
        continue
    fi
    cat "$output"
    rm -f "$output"
    exit $status
done
echo "xvfb-run.sh: no virtual X server could be used" >&2
exit 1
