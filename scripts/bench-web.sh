#!/usr/bin/env bash
# The frame time of the default scene in the page (headless Chromium, WebGL 2 on SwiftShader),
# beside the desktop's fixed-function program (quorvane-capture) and its GL layer
# (quorvane-capture-layer), all with --bench, run in turns ROUNDS times so that a busy machine
# slows them alike: one line per program and round (median and p99 of the frame times), then the
# page's frame rate paced by the display, its first frame and its size.
#
#   scripts/bench-web.sh [BUILD] [WEB_BUILD] [FRAMES] [ROUNDS]     (default: build build-web 1000 3)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
page=${2:-build-web}/quorvane-web
frames=${3:-1000}
rounds=${4:-3}
for program in quorvane-capture quorvane-capture-layer; do
    [ -x "$build/$program" ] || { echo "no $build/$program: build it with -DQUORVANE_GL_LAYER=ON" >&2; exit 1; }
done
[ -f "$page/quorvane.wasm" ] || { echo "no $page: run scripts/build-web.sh" >&2; exit 1; }
export NODE_PATH=/usr/share/nodejs

figures() { sed -n 's/^median_ms=\([0-9.]*\) p95_ms=[0-9.]* p99_ms=\([0-9.]*\).*/\1 \2/p' | head -1; }
printf "%-6s %-26s %10s %10s\n" round program median_ms p99_ms
for round in $(seq "$rounds"); do
    for program in quorvane-capture quorvane-capture-layer page; do
        if [ "$program" = page ]; then
            result=$(node scripts/bench-web.js "$page" bench "$frames" | figures)
        else
            result=$(SDL_VIDEODRIVER=offscreen "$build/$program" --frames "$frames" --bench | figures)
        fi
        printf "%-6s %-26s %10s %10s\n" "$round" "$program" $result
    done
done
node scripts/bench-web.js "$page" vsync 5
echo "page_bytes=$(du -sb "$page" | cut -f1)"
