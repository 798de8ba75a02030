#!/bin/bash
# Runs a command under a virtual X server of its own. The server picks a free display
# number itself (-displayfd) and reports it once it accepts connections, so test runs that
# start servers at the same moment never collide. -noreset: SDL opens and closes a probe
# connection before its real one, and a server that resets when its last client leaves
# refuses that second connection now and then.
set -u
numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 +extension GLX -noreset -nolisten tcp 3>"$numfile" 2>/dev/null &
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
# LSan looks for leaks when the program has ended, after SDL has closed the display and Mesa
# has unloaded its driver: blocks that only the driver's globals still pointed to then count
# as leaked, with stacks that name no library, so no suppression by library name matches
# them. A sanitized program therefore runs with the software driver preloaded (behind the
# sanitizer runtime, which must come first), and the driver stays loaded to the very end.
asan=$(ldd "$1" 2>/dev/null | awk '/libasan/ { print $3; exit }')
driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1)
if [ -n "$asan" ] && [ -n "$driver" ]; then
    DISPLAY=":$display" LD_PRELOAD="$asan:$driver${LD_PRELOAD:+:$LD_PRELOAD}" "$@"
else
    DISPLAY=":$display" "$@"
fi
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
