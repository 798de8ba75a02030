#!/usr/bin/env bash
# Line coverage of the game's code (src/) by the whole suite: unit, GL and end-to-end tests.
# Builds an instrumented tree (gcc --coverage, no sanitizers, no fuzzers) in build-cov, clears
# the counters, runs CTest there and prints gcovr's summary for src/; the per-file table goes
# to build-cov/coverage.txt. Extra arguments go to ctest, e.g. scripts/coverage.sh -L unit
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOORHOLD_COVERAGE_BUILD_DIR:-$root/build-cov}

MOORHOLD_WITH_COVERAGE=1 "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DMOORHOLD_COVERAGE=ON -DMOORHOLD_SANITIZE=OFF \
  -DMOORHOLD_FUZZ=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
find "$build" -name '*.gcda' -delete
# A failing test still counts what it ran; the status is reported after the figure.
status=0
(cd "$build" && ctest -j "$(nproc)" "$@") || status=$?
gcovr --root "$root" --object-directory "$build" --filter "$root/src/" --txt "$build/coverage.txt" \
  --print-summary | grep -E "^(lines|functions|branches):"
[ "$status" -eq 0 ] || echo "coverage: ctest failed (status $status); the figure counts what ran"
exit "$status"
