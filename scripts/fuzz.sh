#!/usr/bin/env bash
# Runs every libFuzzer target of the game's file readers, one after the other, for N minutes
# each (default 20), and prints for each the executions, the coverage reached and the
# findings (crash-, leak-, timeout- and oom- files, kept under the work directory).
#
#   scripts/fuzz.sh [MINUTES] [TARGET...]      fuzz (targets: param font camera_path
#                                              heightmap cooked_mesh texture wave md2)
#   scripts/fuzz.sh --seeds-only [TARGET...]   run each target once over its seeds (CTest)
#
# The fuzzers are built with clang into build-fuzz/ unless MOORHOLD_FUZZ_DIR names a built
# tree; the seeds are written from the generated game directory (MOORHOLD_GAME_DIR, by
# default build-test/game or build/game). The corpora grow in MOORHOLD_FUZZ_WORK (default
# <fuzz tree>/work) from run to run. Exits 1 when any target has a finding.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
all_targets=(param font camera_path heightmap cooked_mesh texture wave md2)

seeds_only=0
minutes=20
if [ "${1:-}" = "--seeds-only" ]; then
  seeds_only=1
  shift
elif [[ "${1:-}" =~ ^[0-9]+([.][0-9]+)?$ ]]; then
  minutes=$1
  shift
fi
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")

fuzz_dir=${MOORHOLD_FUZZ_DIR:-}
if [ -z "$fuzz_dir" ]; then
  fuzz_dir=$root/build-fuzz
  MOORHOLD_WITH_FUZZ=1 "$root/scripts/install-deps.sh" >/dev/null
  cmake -S "$root/tests/fuzz" -B "$fuzz_dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
  cmake --build "$fuzz_dir" -j2 >/dev/null || { echo "fuzz.sh: the fuzzers did not build" >&2; exit 1; }
fi
game_dir=${MOORHOLD_GAME_DIR:-}
if [ -z "$game_dir" ]; then
  for d in "$root/build-test/game" "$root/build/game"; do
    [ -f "$d/media/map/map1.hm" ] && game_dir=$d && break
  done
fi
if [ -z "$game_dir" ] || [ ! -d "$game_dir/media" ]; then
  echo "fuzz.sh: no generated game directory; build the game first or set MOORHOLD_GAME_DIR" >&2
  exit 1
fi

work=${MOORHOLD_FUZZ_WORK:-$fuzz_dir/work}
if [ $seeds_only = 1 ]; then work=$(mktemp -d); trap 'rm -rf "$work"' EXIT; fi
rm -rf "$work/seeds"
mkdir -p "$work/seeds" "$work/logs"
"$fuzz_dir/fuzz_seeds" "$game_dir" "$work/seeds" || exit 1

# Allocations beyond what a player's machine would grant fail as they would there (the
# decoders then refuse the file), instead of counting as the fuzzer's out-of-memory finding.
export ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=1024:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

failed=0
printf '%-12s %8s %12s %10s %16s %8s %9s\n' target seconds executions "exec/s" "coverage (ft)" corpus findings
for t in "${targets[@]}"; do
  bin=$fuzz_dir/${t}_fuzz
  if [ ! -x "$bin" ]; then echo "fuzz.sh: no fuzzer $bin" >&2; failed=1; continue; fi
  log=$work/logs/$t.log
  findings=$work/findings/$t
  mkdir -p "$findings"
  start=$(date +%s)
  if [ $seeds_only = 1 ]; then
    "$bin" -runs=0 -timeout=25 -rss_limit_mb=2560 -malloc_limit_mb=2560 -artifact_prefix="$findings/" \
      "$work/seeds/$t" >"$log" 2>&1
    status=$?
  else
    mkdir -p "$work/corpus/$t"
    "$bin" -max_total_time=$(awk "BEGIN { print int($minutes * 60) }") -print_final_stats=1 -close_fd_mask=3 \
      -timeout=25 -rss_limit_mb=2560 -malloc_limit_mb=2560 -artifact_prefix="$findings/" \
      "$work/corpus/$t" "$work/seeds/$t" >"$log" 2>&1
    status=$?
  fi
  seconds=$(( $(date +%s) - start ))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  [ -z "$execs" ] && execs=$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1 | awk '{ print $2 " (" $4 ")" }')
  corp=$(grep -o 'corp: [0-9]*' "$log" | tail -n 1 | awk '{ print $2 }')
  found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  [ "$status" -ne 0 ] && [ "$found" -eq 0 ] && found=1 # ended abnormally without leaving an input
  rate=$(( seconds > 0 ? ${execs:-0} / seconds : ${execs:-0} ))
  printf '%-12s %8s %12s %10s %16s %8s %9s\n' "$t" "$seconds" "${execs:-?}" "$rate" "${cov:-?}" "${corp:-?}" "$found"
  if [ "$found" -ne 0 ]; then
    failed=1
    echo "  $t: see $log and $findings/" >&2
    [ $seeds_only = 1 ] && tail -n 40 "$log" >&2
  fi
done
exit $failed
