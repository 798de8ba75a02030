#!/bin/bash
# The frame benchmark: the game's frame against the floor frame (tests/bench/frame_floor.cpp:
# clear, six window-filling textured quads, swap) on one virtual X server, the two runs
# alternating so that both see the same machine. For every pose it prints the game's median
# and 95th percentile frame, the ratio of its median to the floor's, the heap allocations of
# the main thread per frame once the game has settled, and the render passes' shares of a
# separate run with every pass timed (MOORHOLD_PASS_TIMING=1 ends each pass with glFinish,
# which would distort the frame times). Not a test: it prints figures.
#
#   tests/bench/frame_benchmark.sh [build dir] [frames] [rounds]
#
# MOORHOLD_BENCH_RENDER_SCALE=1 runs the game with its 3-D image at that fraction of the window
# instead of the shipped gfx.p's render_scale (the floor is the same either way).
#
# The build dir (default build-rel) is configured as a release tree and the floor program,
# the game and the counting allocator are built in it first. Frames per run default to 150,
# rounds (floor and every pose, alternating) to 2.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-rel}
frames=${2:-150}
rounds=${3:-2}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMOORHOLD_SANITIZE=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target EZG game_data game_media frame_floor malloc_count >/dev/null
build=$(cd "$build" && pwd)

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'INNER'
set -euo pipefail
build=$1 frames=$2 rounds=$3
game="$build/game"
run_dir=$(mktemp -d)
trap 'rm -rf "$run_dir"' EXIT
cp -r "$game/config" "$run_dir/config"
sed -i 's/^screen_width=.*/screen_width=1024/; s/^screen_height=.*/screen_height=768/' "$run_dir/config/gfx.p"
if [ -n "${MOORHOLD_BENCH_RENDER_SCALE:-}" ]; then
  sed -i "s/^render_scale=.*/render_scale=$MOORHOLD_BENCH_RENDER_SCALE/" "$run_dir/config/gfx.p"
fi
render_scale=$(sed -n 's/^render_scale=//p' "$run_dir/config/gfx.p")
ln -s "$game/media" "$run_dir/media"
ln -s "$game/shader" "$run_dir/shader"

# name|MOORHOLD_EYE (empty: the follow camera behind the autopilot's hover)
poses=(
  "high over the island|8192 3000 14000 0 -25"
  "low over the sea facing the coast|15500 60 8000 -90 -4"
  "on the moor|1600 520 2600 20 -20"
  "follow camera in a running game|"
)

game_run() { # eye, extra environment...
  local eye=$1
  shift
  (cd "$run_dir" && env MOORHOLD_DATA_DIR="$run_dir" MOORHOLD_FRAMES="$frames" SDL_AUDIODRIVER=dummy MOORHOLD_AUTOPILOT=1 \
     ${eye:+MOORHOLD_EYE="$eye"} "$@" "$game/EZG" 2>&1 || true)
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print 0 }'; }

floor_medians=()
declare -A game_medians game_p95 allocations
for round in $(seq 1 "$rounds"); do
  f=$("$build/tests/frame_floor" 1024 768 "$frames")
  floor_medians+=("$(sed -n 's/.*median \([0-9.]*\) ms.*/\1/p' <<<"$f")")
  for i in "${!poses[@]}"; do
    eye=${poses[$i]#*|}
    log=$(game_run "$eye" MOORHOLD_FRAME_TIMES=1 LD_PRELOAD="$build/tests/libmalloc_count.so")
    line=$(grep "^frame times over" <<<"$log" || true)
    game_medians[$i]+="$(sed -n 's/.*median \([0-9.]*\) ms.*/\1/p' <<<"$line") "
    game_p95[$i]+="$(sed -n 's/.*p95 \([0-9.]*\) ms.*/\1/p' <<<"$line") "
    allocations[$i]="$(grep "^heap allocations" <<<"$log" || echo "heap allocations: no report")"
  done
done
floor=$(printf '%s\n' "${floor_medians[@]}" | median)

echo "frame benchmark: $frames frames a run, $rounds rounds, 1024 x 768, render scale ${render_scale:-1}, $(nproc) cores"
echo "floor frame: median $floor ms (runs: ${floor_medians[*]})"
for i in "${!poses[@]}"; do
  name=${poses[$i]%%|*}
  eye=${poses[$i]#*|}
  m=$(tr ' ' '\n' <<<"${game_medians[$i]}" | grep . | median)
  p=$(tr ' ' '\n' <<<"${game_p95[$i]}" | grep . | median)
  echo
  echo "== $name (${eye:-follow camera})"
  awk -v m="$m" -v p="$p" -v f="$floor" 'BEGIN { printf "game frame: median %.1f ms, p95 %.1f ms, %.2f x the floor\n", m, p, (f > 0 ? m / f : 0) }'
  echo "${allocations[$i]}"
  shares=$(game_run "$eye" MOORHOLD_PASS_TIMING=1 | grep -A0 "^pass timing over" || true)
  if [ -n "$shares" ]; then
    # "pass timing over N frames (median ms): frame F cpu C sky S grid G ..." -> shares of F
    awk '{ for (i = 1; i <= NF; ++i) if ($i == "frame") f = $(i + 1);
           printf "pass shares:";
           for (i = 12; i < NF; i += 2) printf " %s %.1f%%", $i, (f > 0 ? 100 * $(i + 1) / f : 0);
           printf "\n" }' <<<"$shares"
  else
    echo "pass shares: no report (the game did not finish)"
  fi
done
INNER
exec "$root/tests/xvfb-run.sh" bash "$inner" "$build" "$frames" "$rounds"
