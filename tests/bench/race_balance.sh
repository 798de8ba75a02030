#!/bin/bash
# How the race goes for a player: the human model of the player (what the screen shows, a
# quarter of a second late) against each level of the opponents, whole games to the level
# file's winning_points played without a window, the game's clocks driven by the simulation
# (tests/bench/race_balance.cpp). Not a test: it prints figures, one line per level,
#
#   balance: <level> wins <percent>% median <game seconds> s over <games> games
#
# and a line per game on standard error.
#
#   tests/bench/race_balance.sh <build folder> [games per level, 20] [levels: easy normal hard]
#
# A build folder that is not configured yet is configured as a release tree; the benchmark and
# the game's data are built in it first.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -lt 1 ]; then
    echo "usage: $0 <build folder> [games per level] [easy|normal|hard ...]" >&2
    exit 2
fi
build=$1
shift
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMOORHOLD_SANITIZE=OFF >/dev/null
fi
cmake --build "$build" -j 2 --target race_balance game_data game_media >/dev/null
build=$(cd "$build" && pwd)
exec "$build/tests/race_balance" "$build/game" "$@"
