#!/usr/bin/env bash
# The frame time of the same scripted run drawn by the fixed-function program (quorvane-capture)
# and through the GL layer (quorvane-capture-layer), in a build configured with QUORVANE_GL_LAYER=ON.
# The two run in turn, ROUNDS times, so that a busy machine slows both alike; each line is one
# run's --bench median, and the last line the median of each column.
#
#   scripts/bench-gl-layer.sh [BUILD_FOLDER] [FRAMES] [ROUNDS]     (default: build 1000 5)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
frames=${2:-1000}
rounds=${3:-5}
for program in quorvane-capture quorvane-capture-layer; do
    [ -x "$build/$program" ] || { echo "no $build/$program: build it with -DQUORVANE_GL_LAYER=ON" >&2; exit 1; }
done
median_of() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
fixed=() layer=()
printf "%-8s %22s %22s\n" round "fixed-function ms" "GL layer ms"
for round in $(seq "$rounds"); do
    a=$("$build/quorvane-capture" --frames "$frames" --bench | sed -n 's/^median_ms=\([0-9.]*\).*/\1/p')
    b=$("$build/quorvane-capture-layer" --frames "$frames" --bench | sed -n 's/^median_ms=\([0-9.]*\).*/\1/p')
    fixed+=("$a") layer+=("$b")
    printf "%-8s %22s %22s\n" "$round" "$a" "$b"
done
printf "%-8s %22s %22s\n" median "$(printf '%s\n' "${fixed[@]}" | median_of)" "$(printf '%s\n' "${layer[@]}" | median_of)"
