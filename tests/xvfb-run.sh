#!/bin/bash
# Runs a command under a virtual X server of its own. The server picks a free display
# number itself (-displayfd) and reports it once it accepts connections, so test runs that
# start servers at the same moment never collide.
set -u
numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 +extension GLX -nolisten tcp 3>"$numfile" 2>/dev/null &
server=$!
for _ in $(seq 1 400); do
    grep -q '^[0-9][0-9]*$' "$numfile" 2>/dev/null && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
done
display=$(head -n 1 "$numfile")
rm -f "$numfile"
if [ -z "$display" ]; then
    echo "xvfb-run.sh: the virtual X server did not start" >&2
    kill "$server" 2>/dev/null
    exit 1
fi
DISPLAY=":$display" "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
