#!/usr/bin/env bash
# Installs what is missing, builds the game and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test through CTest.
# Extra arguments go to ctest, e.g. scripts/test.sh -R ParameterFile
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOORHOLD_TEST_BUILD_DIR:-$root/build-test}

# clang and its fuzzing runtime: CTest runs every file reader's fuzzer over its seeds.
MOORHOLD_WITH_FUZZ=1 "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOORHOLD_SANITIZE=ON -DMOORHOLD_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
