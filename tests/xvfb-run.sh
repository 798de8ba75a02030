#!/bin/sh
# Runs a command under its own virtual X server. Several test runs may start servers at
# the same moment (parallel CTest, other checkouts on the machine): each starts its search
# for a free display at a number of its own, and a server that loses the race is retried.
# -noreset: SDL opens and closes a probe connection before its real one; a server that
# resets when its last client leaves refuses that second connection now and then.
screen="-screen 0 1280x1024x24 +extension GLX -noreset"
for attempt in 1 2 3 4 5; do
    num=$(( 100 + ($$ * 7 + attempt * 131 + $(date +%N | sed 's/^0*//;s/^$/0/') ) % 3000 ))
    err=$(mktemp)
    xvfb-run -a -n "$num" -e "$err" -s "$screen" "$@"
    status=$?
    if grep -q "Server is already active\|Fatal server error\|failed to start" "$err" 2>/dev/null; then
        rm -f "$err"
        sleep 1
        continue
    fi
    rm -f "$err"
    exit $status
done
echo "xvfb-run.sh: could not start a virtual X server" >&2
exit 1
