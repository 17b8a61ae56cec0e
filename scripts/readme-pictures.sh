#!/usr/bin/env bash
# Makes the README's pictures again, with the project's own tools: docs/scene.png, frame 150 of the
# golden run `group` drawn by quorvane-capture, and docs/phone.png, the page on a phone's screen
# (390 x 844 CSS pixels at devicePixelRatio 2, touch) in headless Chromium, with its controls. Look
# at both before committing them.
#
#   scripts/readme-pictures.sh [BUILD] [WEB_BUILD]     (default: build build-web)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
page=${2:-build-web}/quorvane-web
[ -x "$build/quorvane-capture" ] || { echo "no $build/quorvane-capture: build it first" >&2; exit 1; }
[ -f "$page/quorvane.wasm" ] || { echo "no $page: run scripts/build-web.sh" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

input=$(awk '$1 == "group" { $1 = $2 = $3 = $4 = ""; print }' tests/golden/runs.txt)
SDL_VIDEODRIVER=offscreen "$build/quorvane-capture" --frames 150 --shots 150 --out "$work" --input "$input" >/dev/null
mkdir -p docs
cp "$work/frame-150.png" docs/scene.png
node scripts/readme-pictures.js "$page" docs/phone.png
ls -l docs/scene.png docs/phone.png
