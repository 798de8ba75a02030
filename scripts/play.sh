#!/usr/bin/env bash
# Installs what is missing, builds the game (release), assembles the game directory and
# starts the game in it. Without a display the game runs under a virtual X server for a
# few hundred frames and leaves a screenshot behind.
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
echo "No DISPLAY: running Moorhold under Xvfb for ${MOORHOLD_FRAMES:-600} frames."
MOORHOLD_FRAMES=${MOORHOLD_FRAMES:-600} MOORHOLD_SCREENSHOT="$shot" SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} \
  xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX" ./EZG
echo "Screenshot of the last frame: $shot"
