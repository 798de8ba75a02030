#!/usr/bin/env bash
# Sweeps the game's settings with hostile values: for every key of every shipped parameter
# file, each value of a list that a careless or hostile player could write (-1, 0, 1e9, 1e30,
# nan, inf, 4294967296, an empty value, junk after the number) is put into a copy of the game
# directory, and the game runs a few frames in a small window. Every run is sorted:
#
#   played    status 0, without a GL error or a physics complaint
#   refused   status 1 (or the sound library's 255), with the file and the key named
#   FAULT     a signal, a timeout, more memory than the limit, status 0 with a GL error or a
#             "createActor" complaint, or a refusal that names neither the file nor the key
#
#   scripts/config_sweep.sh [--build DIR] [--all | --sample N] [--jobs J] [--frames F]
#                           [--timeout S] [--memory-mb M] [--keep DIR] [--only FILE[:KEY]]
#
# --all (the default) runs every case; --sample N about N of them, spread so that every file
# is met (CTest runs a sample); --only keeps the cases of one file (config/gfx.p), or of one
# key of it (config/gfx.p:fullscreen), to run a fault again. Ends with status 1 when any
# case is a fault.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
mode=all
sample=40
jobs=$(nproc)
frames=20
timeout_s=90
memory_mb=1024
keep=""
only=""
while [ $# -gt 0 ]; do
    case $1 in
        --build) build=$2; shift 2 ;;
        --all) mode=all; shift ;;
        --sample) mode=sample; sample=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --frames) frames=$2; shift 2 ;;
        --timeout) timeout_s=$2; shift 2 ;;
        --memory-mb) memory_mb=$2; shift 2 ;;
        --keep) keep=$2; shift 2 ;;
        --only) only=$2; shift 2 ;;
        *) echo "config_sweep.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
build=$(cd "$build" 2>/dev/null && pwd) || { echo "config_sweep.sh: no build folder $build" >&2; exit 2; }
game=$build/game
if [ ! -x "$game/EZG" ]; then
    echo "config_sweep.sh: no game in $game (build it first)" >&2
    exit 2
fi
env_script=$build/tests/test-env.sh
[ -x "$env_script" ] || env_script=""
work=$(mktemp -d "${TMPDIR:-/tmp}/moorhold-sweep-XXXXXX")
trap 'rm -rf "$work"' EXIT

values=(-1 0 1e9 1e30 nan inf 4294967296 "" "junk")

# Every case: file (relative to the game directory), key, value. "junk" stands for the
# file's own value with words after it.
cases=$work/cases
: > "$cases"
for file in $(cd "$game" && find config media -name '*.p' | sort); do
    grep -v '^#' "$game/$file" | grep '^[^=][^=]*=' | cut -d= -f1 | while IFS= read -r key; do
        for v in "${values[@]}"; do printf '%s\t%s\t%s\n' "$file" "$key" "$v"; done
    done >> "$cases"
done
if [ -n "$only" ]; then
    only_file=${only%%:*} only_key=""
    [ "$only" != "$only_file" ] && only_key=${only#*:}
    awk -F'\t' -v f="$only_file" -v k="$only_key" '$1 == f && (k == "" || $2 == k)' "$cases" > "$cases.only"
    mv "$cases.only" "$cases"
fi
total=$(wc -l < "$cases")
if [ "$mode" = sample ] && [ "$sample" -lt "$total" ]; then
    # One case of every file (its lines taken in turn, so that the values take turns too),
    # then evenly spread picks up to the sample's size.
    awk -F'\t' -v n="$sample" '
        { line[NR] = $0; file[NR] = $1 }
        END {
            f = 0
            for (i = 1; i <= NR; i++) if (file[i] != prev) { prev = file[i]; start[++f] = i }
            start[f + 1] = NR + 1
            count = 0
            for (j = 1; j <= f; j++) { len = start[j + 1] - start[j]; sel[start[j] + (j * 7) % len] = 1; count++ }
            step = NR / (n > count ? n - count : 1)
            for (x = step / 2; x < NR && count < n; x += step) { i = int(x) + 1; if (!sel[i]) { sel[i] = 1; count++ } }
            for (i = 1; i <= NR; i++) if (sel[i]) print line[i]
        }' "$cases" > "$cases.sample"
    mv "$cases.sample" "$cases"
fi
count=$(wc -l < "$cases")
echo "config_sweep.sh: $count cases from $total, $jobs at a time, $frames frames each"

run_case() { # index file key value
    local i=$1 file=$2 key=$3 value=$4
    local dir=$work/run$i
    mkdir -p "$dir"
    cp -r "$game/config" "$dir/config"
    ln -s "$game/shader" "$dir/shader"
    if [ "${file#media/}" != "$file" ]; then
        # A media file of its own: media/ becomes real folders of links down to it.
        mkdir -p "$dir/media"
        for e in "$game/media/"*; do ln -s "$e" "$dir/media/$(basename "$e")"; done
        local sub part at=$dir/media
        sub=$(dirname "${file#media/}")
        for part in $(echo "$sub" | tr '/' ' '); do
            local target
            target=$(readlink "$at/$part")
            rm "$at/$part"
            mkdir "$at/$part"
            for e in "$target/"*; do ln -s "$e" "$at/$part/$(basename "$e")"; done
            at=$at/$part
        done
        rm "$dir/$file"
        cp "$game/$file" "$dir/$file"
    else
        ln -s "$game/media" "$dir/media"
    fi
    local original shown
    original=$(grep -m1 "^$key=" "$dir/$file" | cut -d= -f2- | tr -d '\r')
    [ "$value" = junk ] && value="$original words"
    shown=$value
    # The key's first definition gets the value (the first one wins).
    awk -v k="$key" -v v="$value" 'BEGIN { done = 0 }
        !done && index($0, k "=") == 1 { print k "=" v; done = 1; next } { print }' "$dir/$file" > "$dir/edited"
    mv "$dir/edited" "$dir/$file"
    # A small window keeps the runs quick, unless the window is the case.
    if [ "$file" != config/gfx.p ] || { [ "$key" != screen_width ] && [ "$key" != screen_height ]; }; then
        sed -i 's/^screen_width=.*/screen_width=320/; s/^screen_height=.*/screen_height=240/' "$dir/config/gfx.p"
    fi
    local start end status
    start=$(date +%s.%N)
    (cd "$dir" && MOORHOLD_DATA_DIR="$dir" MOORHOLD_FRAMES=$frames SDL_AUDIODRIVER=dummy \
        /usr/bin/time -f 'peak-kb %M' -o "$dir/time.txt" timeout -k 5 "$timeout_s" \
        ${env_script:+"$env_script"} "$root/tests/xvfb-run.sh" "$game/EZG" > "$dir/log.txt" 2>&1)
    status=$?
    end=$(date +%s.%N)
    local peak verdict why=""
    peak=$(grep -o 'peak-kb [0-9]*' "$dir/time.txt" 2>/dev/null | cut -d' ' -f2)
    peak=${peak:-0}
    # The game names its files with backslashes, some with a leading ".\", some without.
    local winpath
    winpath=$(echo "$file" | tr '/' '\\')
    local names=0
    if grep -qF -- "\"$key\"" "$dir/log.txt" && grep -qF -- "$winpath" "$dir/log.txt"; then names=1; fi
    if grep -qF -- "$key=" "$dir/log.txt" && grep -qF -- "$winpath:" "$dir/log.txt"; then names=1; fi
    if [ $status -eq 124 ] || [ $status -eq 137 ]; then
        verdict=FAULT why="timeout after ${timeout_s} s"
    elif [ "$peak" -gt $((memory_mb * 1024)) ]; then
        verdict=FAULT why="$((peak / 1024)) MB of memory"
    elif [ $status -gt 128 ]; then
        verdict=FAULT why="signal $((status - 128))"
    elif grep -q "ERROR: AddressSanitizer\|runtime error:\|ERROR: LeakSanitizer" "$dir/log.txt"; then
        verdict=FAULT why="sanitizer: $(grep -m1 'ERROR: AddressSanitizer\|runtime error:\|ERROR: LeakSanitizer' "$dir/log.txt")"
    elif [ $status -eq 0 ]; then
        if grep -q "OpenGL ERROR\|createActor\|could not create the requested FBO\|invalid framebuffer" "$dir/log.txt"; then
            verdict=FAULT why="played with: $(grep -m1 'OpenGL ERROR\|createActor\|could not create\|invalid framebuffer' "$dir/log.txt")"
        else
            verdict=played
        fi
    elif [ $names -eq 1 ]; then
        verdict=refused
    else
        verdict=FAULT why="status $status without naming $file and $key: $(grep -m1 -v '^$' "$dir/log.txt" | tail -c 200)"
    fi
    printf '%s\t%s\t%s\t%s\t%.1f\t%s\n' "$verdict" "$file" "$key" "$shown" "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" "$why" \
        > "$work/result$i"
    if [ -n "$keep" ] && [ "$verdict" = FAULT ]; then
        mkdir -p "$keep"
        cp "$dir/log.txt" "$keep/$(echo "$file-$key-$shown" | tr '/ ' '__').log"
    fi
    rm -rf "$dir"
}
export -f run_case
export work game root frames timeout_s memory_mb keep env_script

sweep_start=$(date +%s)
i=0
while IFS=$'\t' read -r file key value; do
    i=$((i + 1))
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
    run_case "$i" "$file" "$key" "$value" &
done < "$cases"
wait
sweep_end=$(date +%s)

results=$work/results
cat "$work"/result* 2>/dev/null | sort -k2,2 -k3,3 > "$results"
awk -F'\t' '{ printf "%-8s %s %s=%s (%s s)%s\n", $1, $2, $3, $4, $5, ($6 != "" ? ": " $6 : "") }' "$results"
played=$(grep -c '^played' "$results")
refused=$(grep -c '^refused' "$results")
faults=$(grep -c '^FAULT' "$results")
echo "sweep: $count cases, $played played, $refused refused, $faults faults, in $((sweep_end - sweep_start)) s"
[ "$faults" -eq 0 ]
