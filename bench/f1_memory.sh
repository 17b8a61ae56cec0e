#!/usr/bin/env bash
# Peak resident size (median of three runs) of a headless run that switches with F1 every 4 frames, for 10 and for
# 1,000 switches: the second may exceed the first by less than 2 MB (memory stays flat across
# window and context re-creation). Slow (several minutes), so not part of the tests.
#
#   bench/f1_memory.sh [BUILD_DIR]     (default: build; run from the repository folder)
set -euo pipefail
build=${1:-build}
script() { # the F1 presses of N switches: down on frame 4k, up on 4k + 1
    local n=$1 s="" i
    for ((i = 1; i <= n; i++)); do s+=" $((4 * i)):down:F1 $((4 * i + 1)):up:F1"; done
    echo "${s# }"
}
peak_kb() { # peak resident size of one run, from the kernel's accounting via GNU time
    local n=$1 out
    out=$(mktemp)
    /usr/bin/time -f '%M' -o "$out" "$build/quorvane-capture" --frames $((4 * n + 4)) --input "$(script "$n")" \
        >/dev/null 2>&1
    cat "$out"
    rm -f "$out"
}
median_peak_kb() { # of three runs: a single run's peak varies by a megabyte or two
    local n=$1
    printf '%s\n' "$(peak_kb "$n")" "$(peak_kb "$n")" "$(peak_kb "$n")" | sort -n | sed -n 2p
}
few=$(median_peak_kb 10)
many=$(median_peak_kb 1000)
growth=$((many - few))
echo "peak_kb switches=10: $few switches=1000: $many growth_kb: $growth"
if ((growth < 2048)); then echo "flat: 1,000 switches add less than 2 MB"; else echo "GROWING: 2 MB or more"; exit 1; fi
