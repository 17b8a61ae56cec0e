#!/usr/bin/env bash
# Makes the golden tests' reference pictures anew: runs quorvane-capture for every run of
# tests/golden/runs.txt and writes tests/golden/reference/NAME-SHOT.png, after removing every
# picture there (so that none is left that no run takes). Look at each changed picture before
# committing it. The tests themselves never write these pictures.
#
#   scripts/update-golden.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
capture="${1:-build}/quorvane-capture"
[ -x "$capture" ] || { echo "no $capture: build it first (ninja -C ${1:-build} quorvane-capture)" >&2; exit 1; }

reference=tests/golden/reference
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -A inputs
rm -f "$reference"/*.png
while read -r name frames shots base input; do
    [[ -z "$name" || "$name" == \#* ]] && continue
    if [ "$base" != "-" ]; then
        input="${inputs[$base]}${input:+ $input}"
    fi
    inputs[$name]="$input"
    echo "$name: $frames frames, shots $shots"
    "$capture" --frames "$frames" --shots "$shots" --out "$work/$name" --input "$input" 2>/dev/null
    for shot in ${shots//,/ }; do
        cp "$work/$name/frame-$shot.png" "$reference/$name-$shot.png"
    done
done < tests/golden/runs.txt
git status --short "$reference"
