#!/usr/bin/env bash
# Builds the page of the browser build with Emscripten into build-web/: build-web/quorvane-web/
# holds only what a web server needs (index.html, page.js, page.css, quorvane.js, quorvane.wasm,
# data/), and build-web/quorvane-web.zip packs it. Installs what is missing when run as root,
# otherwise prints the apt-get line to run. Extra arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
quorvane_need_packages $QUORVANE_WEB_BUILD_PACKAGES

# Debian's Emscripten: optimised links need Node's acorn from Debian's own modules.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build-web -j "$(nproc)"

rm -f build-web/quorvane-web.zip
(cd build-web && cmake -E tar cf quorvane-web.zip --format=zip quorvane-web)
echo "Web page: $(pwd)/build-web/quorvane-web/ ($(du -sb build-web/quorvane-web | cut -f1) bytes)"
echo "Package:  $(pwd)/build-web/quorvane-web.zip ($(stat -c %s build-web/quorvane-web.zip) bytes)"
