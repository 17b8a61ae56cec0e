#!/usr/bin/env bash
# Builds the project twice (normal, and with AddressSanitizer + UndefinedBehaviorSanitizer) and
# runs every test tier in both: unit, gl (offscreen OpenGL), golden images, end to end under Xvfb.
# Both also draw the golden runs through the GL layer (QUORVANE_GL_LAYER).
# The sanitizer settings of each tier come from the test configuration itself. Before them, the
# Windows program is cross-built (scripts/build-windows.sh) and its unit and gl tiers run under
# Wine; the normal build then drives the Windows program under Wine too (the wine tier). The
# browser build (scripts/build-web.sh) is made next, and the normal build runs its page in
# Chromium, Firefox and WebKit (the web tier), with the browser driver's npm packages installed by
# `npm ci` from the project's lock file.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
quorvane_need_packages $QUORVANE_BUILD_PACKAGES $QUORVANE_TEST_PACKAGES \
    $QUORVANE_WINDOWS_BUILD_PACKAGES $QUORVANE_WINDOWS_TEST_PACKAGES $QUORVANE_WEB_BUILD_PACKAGES \
    $QUORVANE_WEB_TEST_PACKAGES

jobs=$(nproc)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DQUORVANE_TESTS=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== Windows build (mingw-w64), unit and gl tiers under Wine =="
started=$SECONDS
scripts/build-windows.sh -DQUORVANE_TESTS=ON
# The prefix is made before the tests are listed: on a fresh machine, making it while two test
# programs are listed at once has failed.
tests/wine/wine_session.sh prefix build-windows/wine
ctest --test-dir build-windows --output-on-failure -j "$jobs"
echo "(Windows build and tests: $((SECONDS - started)) s)"
echo "== browser build (Emscripten) =="
started=$SECONDS
scripts/build-web.sh
echo "(browser build: $((SECONDS - started)) s)"
npm ci --no-audit --no-fund
echo "== normal build, with the Windows program under Wine and the page in three browsers =="
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_BENCH=ON -DQUORVANE_GL_LAYER=ON \
    -DQUORVANE_WINDOWS_BUILD="$PWD/build-windows" -DQUORVANE_WEB_BUILD="$PWD/build-web"
echo "== sanitizer build (ASan + UBSan) =="
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON -DQUORVANE_BENCH=OFF -DQUORVANE_GL_LAYER=ON \
    -DQUORVANE_WINDOWS_BUILD= -DQUORVANE_WEB_BUILD=
echo "All tests passed in all four builds."
