#!/usr/bin/env bash
# A long run of the sanitized game: the autopilot drives in a 320 x 240 window for FRAMES
# frames (default 20000) with winning_points low enough that games end and restart, and a
# memory line (resident memory, the physics allocator's high-water mark) every FRAMES / 20
# frames. Passes when the game ends with status 0, the log holds no sanitizer report, and
# from the second restart (or, without restarts, from the second memory line) to the end
# resident memory shows no trend and the physics high-water mark stays put (see below).
# Not run by CTest at full length; CTest runs it for 2000 frames.
#
#   scripts/soak.sh [FRAMES]     MOORHOLD_TEST_BUILD_DIR: the sanitized tree (build-test)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
frames=${1:-20000}
build=${MOORHOLD_TEST_BUILD_DIR:-$root/build-test}
game=$build/game
if [ ! -x "$game/EZG" ] || [ ! -x "$build/tests/test-env.sh" ]; then
  echo "soak.sh: build the sanitized tree first (scripts/test.sh)" >&2
  exit 1
fi
every=$(( frames / 20 > 0 ? frames / 20 : 1 ))

run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
cp -r "$game/config" "$run/config"
ln -s "$game/media" "$run/media"
ln -s "$game/shader" "$run/shader"
sed -i 's/^screen_width=.*/screen_width=320/; s/^screen_height=.*/screen_height=240/' "$run/config/gfx.p"
sed -i 's/^winning_points=.*/winning_points=20/' "$run/config/levels/level1.p"

start=$(date +%s)
# The address sanitizer holds freed blocks back for a while (256 MB by default) before it
# hands them out again, so a game that makes and destroys crystals all the time would grow
# in resident memory without leaking; a small quarantine keeps the figure about the game.
(cd "$run" && MOORHOLD_DATA_DIR="$run" MOORHOLD_FRAMES=$frames MOORHOLD_AUTOPILOT=1 MOORHOLD_LOG_SCORES=1 MOORHOLD_MEMORY_EVERY=$every \
   "$build/tests/test-env.sh" bash -c 'ASAN_OPTIONS="$ASAN_OPTIONS:quarantine_size_mb=8" exec "$@"' soak \
   "$root/tests/xvfb-run.sh" "$game/EZG" > "$run/log.txt" 2>&1)
status=$?
seconds=$(( $(date +%s) - start ))

grep '^memory: ' "$run/log.txt"
restarts=$(grep -c 'RESTART GAME' "$run/log.txt")
games=$(grep -c '^game over: ' "$run/log.txt")
echo "soak: $frames frames in $seconds s, exit status $status, $games games ended, $restarts restarts"

failed=0
if [ "$status" -ne 0 ]; then echo "soak: FAILED: exit status $status"; failed=1; fi
if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|SUMMARY: (AddressSanitizer|UndefinedBehaviorSanitizer)' "$run/log.txt"; then
  echo "soak: FAILED: a sanitizer report:"
  grep -m 5 -E 'ERROR: |runtime error:|SUMMARY: ' "$run/log.txt"
  failed=1
fi

# The memory lines from the second restart on (or from the second line when no game
# restarted). A leak shows as a trend, so the median of the last third is held against the
# median of the first third (within 2%): a leak lifts the whole third, while one high line
# (+3% for a single sample is common) moved a mean of five lines by 0.6% and failed flat runs
# at +2.00%. The swing between crystals made and destroyed, the
# GL driver's buffers and the sanitizer's own bookkeeping show as a spread around a level,
# allowed up to 8% (2000-frame runs of a flat game swing by 3.5 to 5.6%, so a bound of 5%
# failed about one run in two without any trend). The physics allocator's high-water mark
# must not move by more than 2%.
awk -v restarts="$restarts" '
  function median(v, n,    i, j, t) {
    for (i = 1; i < n; ++i) for (j = i; j > 0 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return (n % 2) ? v[int(n / 2)] : (v[n / 2 - 1] + v[n / 2]) / 2
  }
  BEGIN { k = 0 }
  /RESTART GAME/ { seen++ }
  /^memory: / {
    n++
    gsub(",", "")
    if ((restarts >= 2 && seen >= 2) || (restarts < 2 && n >= 2)) { rss[k] = $5; hw[k] = $10; k++ }
  }
  END {
    if (k < 3) { print "soak: FAILED: fewer than three memory lines to compare"; exit 1 }
    rmin = rmax = rss[0]; hmin = hmax = hw[0]
    for (i = 0; i < k; ++i) {
      if (rss[i] < rmin) rmin = rss[i]; if (rss[i] > rmax) rmax = rss[i]
      if (hw[i] < hmin) hmin = hw[i]; if (hw[i] > hmax) hmax = hw[i]
    }
    third = int(k / 3); if (third < 1) third = 1
    for (i = 0; i < third; ++i) { first[i] = rss[i]; last[i] = rss[k - 1 - i] }
    early = median(first, third); late = median(last, third)
    trend = (late - early) / early * 100
    rs = (rmax - rmin) / rmin * 100; hs = (hmin > 0) ? (hmax - hmin) / hmin * 100 : 0
    printf "soak: resident %d..%d KB (spread %.2f%%, median of the last third against the first %+.2f%%), physics high water %d..%d KB (%.2f%%) over %d lines\n", rmin, rmax, rs, trend, hmin, hmax, hs, k
    if (trend > 2 || rs > 8 || hs > 2) { print "soak: FAILED: memory is not flat"; exit 1 }
  }' "$run/log.txt" || failed=1
[ $failed -ne 0 ] && { echo "soak: the log's last lines:"; tail -n 20 "$run/log.txt"; }
[ $failed -eq 0 ] && echo "soak: passed"
exit $failed
