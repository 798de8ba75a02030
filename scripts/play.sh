#!/usr/bin/env bash
# Installs what is missing, builds the game (release), assembles the game directory and
# starts the game in it. Without a display the game runs under a virtual X server for a
# few hundred frames with the autopilot at the controls, so the screenshot it leaves behind
# shows the race.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOORHOLD_BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMOORHOLD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

cd "$build/game"
if [ -n "${DISPLAY:-}" ]; then
  exec ./EZG
fi
shot="$build/game/screenshot.png"
echo "No DISPLAY: running Moorhold under Xvfb for ${MOORHOLD_FRAMES:-600} frames, the autopilot driving."
MOORHOLD_FRAMES=${MOORHOLD_FRAMES:-600} MOORHOLD_SCREENSHOT="$shot" SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} \
  MOORHOLD_AUTOPILOT=${MOORHOLD_AUTOPILOT:-1} "$root/tests/xvfb-run.sh" ./EZG
echo "Screenshot of the last frame: $shot"
