#!/usr/bin/env bash
# Builds the Debian package build-package/quorvane_VERSION_ARCH.deb: the program, quorvane-capture,
# quorvane-bmp, the pictures, the README, a desktop entry and the icon, installed under /usr.
# Install it with: sudo apt-get install ./build-package/quorvane_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
quorvane_need_packages $QUORVANE_BUILD_PACKAGES $QUORVANE_PACKAGING_PACKAGES

cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF >/dev/null
cmake --build build-package -j "$(nproc)"
rm -f build-package/quorvane_*.deb
(cd build-package && cpack -G DEB >/dev/null)
ls build-package/quorvane_*.deb
