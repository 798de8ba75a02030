#!/bin/bash
# Frame time and the time of each render pass of the landscape, at 1024 x 768 under a
# virtual X server (Mesa llvmpipe), from three eye poses. Not a test: it prints figures.
#
#   tests/bench/landscape_frame.sh [game dir] [frames]
#
# The game dir defaults to build-rel/game (configure it with -DCMAKE_BUILD_TYPE=Release
# -DMOORHOLD_SANITIZE=OFF for figures worth quoting), frames to 200. Each pass ends with
# glFinish while timing, so the passes do not overlap; "cpu" is the processor time of all
# the game's threads per frame (the driver's rendering threads included), which stays
# meaningful on a busy machine where wall time does not.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
game=$(cd "${1:-$root/build-rel/game}" && pwd)
frames=${2:-200}

run_dir=$(mktemp -d)
trap 'rm -rf "$run_dir"' EXIT
cp -r "$game/config" "$run_dir/config"
sed -i 's/^screen_width=.*/screen_width=1024/; s/^screen_height=.*/screen_height=768/' "$run_dir/config/gfx.p"
ln -s "$game/media" "$run_dir/media"
ln -s "$game/shader" "$run_dir/shader"

poses=(
  "high over the island|8192 3000 14000 0 -25"
  "low over the sea facing the coast|15500 60 8000 -90 -4"
  "on the moor|1600 520 2600 20 -20"
)
echo "landscape frame benchmark: $frames frames at 1024 x 768, $(nproc) cores"
for entry in "${poses[@]}"; do
  name=${entry%%|*}
  eye=${entry#*|}
  report=""
  for attempt in 1 2 3; do
    log=$(cd "$run_dir" && MOORHOLD_FRAMES=$frames MOORHOLD_PASS_TIMING=1 MOORHOLD_EYE="$eye" \
          SDL_AUDIODRIVER=dummy "$root/tests/xvfb-run.sh" "$game/EZG" 2>&1 || true)
    report=$(grep -A1 "^pass timing" <<<"$log" || true)
    [ -n "$report" ] && break
  done
  echo
  echo "== $name ($eye)"
  if [ -n "$report" ]; then echo "$report"; else echo "no report: the game did not finish"; fi
done
