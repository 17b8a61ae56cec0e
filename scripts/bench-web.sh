#!/usr/bin/env bash
# The frame time of the default scene in the page, in one browser engine (chromium: headless,
# WebGL 2 on SwiftShader; firefox: on llvmpipe under Xvfb; webkit: WebKitGTK through ANGLE on
# llvmpipe under Xvfb), beside the desktop's fixed-function program (quorvane-capture) and its GL
# layer (quorvane-capture-layer), all with --bench, run in turns ROUNDS times so that a busy
# machine slows them alike. The page runs twice a round: with each fragment's depth rounded to
# 16-bit steps (what the page does where the engine's depth buffer keeps more bits: Firefox) and
# without. One line per program and round (median and p99 of the frame times), then the page's
# frame rate paced by the display, its first frame and its size.
#
#   scripts/bench-web.sh [ENGINE] [BUILD] [WEB_BUILD] [FRAMES] [ROUNDS]
#                                     (default: chromium build build-web 1000 3)
set -euo pipefail
cd "$(dirname "$0")/.."
engine=${1:-chromium}
build=${2:-build}
page=${3:-build-web}/quorvane-web
frames=${4:-1000}
rounds=${5:-3}
case "$engine" in chromium | firefox | webkit) ;; *) echo "no engine $engine: chromium, firefox or webkit" >&2; exit 2 ;; esac
for program in quorvane-capture quorvane-capture-layer; do
    [ -x "$build/$program" ] || { echo "no $build/$program: build it with -DQUORVANE_GL_LAYER=ON" >&2; exit 1; }
done
[ -f "$page/quorvane.wasm" ] || { echo "no $page: run scripts/build-web.sh" >&2; exit 1; }

figures() { sed -n 's/^median_ms=\([0-9.]*\) p95_ms=[0-9.]* p99_ms=\([0-9.]*\).*/\1 \2/p' | head -1; }
echo "engine: $engine"
printf "%-6s %-26s %10s %10s\n" round program median_ms p99_ms
for round in $(seq "$rounds"); do
    for program in quorvane-capture quorvane-capture-layer page-rounded page-unrounded; do
        case "$program" in
        page-*) result=$(node scripts/bench-web.js "$page" bench "$frames" "$engine" "${program#page-}" | figures) ;;
        *) result=$(SDL_VIDEODRIVER=offscreen "$build/$program" --frames "$frames" --bench | figures) ;;
        esac
        printf "%-6s %-26s %10s %10s\n" "$round" "$program" $result
    done
done
node scripts/bench-web.js "$page" vsync 5 "$engine"
echo "page_bytes=$(du -sb "$page" | cut -f1)"
