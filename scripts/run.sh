#!/usr/bin/env bash
# Builds the program and runs it in a window; arguments go to the program (--help lists them).
# Where no display exists and no argument is given it says so and runs the headless equivalent
# instead: 600 frames through quorvane-capture, three of them saved as PNG. Needs only the
# program's own packages; the build folder is build-run/, so that it never reconfigures the test
# builds.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
quorvane_need_packages $QUORVANE_BUILD_PACKAGES

cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF >/dev/null
cmake --build build-run -j "$(nproc)" --target quorvane quorvane-capture

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ $# -gt 0 ]; then
    exec ./build-run/quorvane "$@"
fi
echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): running the scene headless."
./build-run/quorvane-capture --frames 600 --shots 1,100,600 --out captures
echo "Frames 1, 100 and 600 are in $(pwd)/captures/ (frame-1.png, frame-100.png, frame-600.png)."
