#!/usr/bin/env bash
# Cross-builds the Windows program with mingw-w64 into build-windows/: quorvane.exe and the tools
# (quorvane-capture.exe, quorvane-bmp.exe, make-textures.exe), then packs
# build-windows/quorvane-windows.zip with the program, the tools, the data folder and a short
# readme. Installs what is missing when run as root, otherwise prints the apt-get line to run.
# Extra arguments go to CMake (scripts/test.sh adds -DQUORVANE_TESTS=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
quorvane_need_packages $QUORVANE_WINDOWS_BUILD_PACKAGES

cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build-windows -j "$(nproc)"

# The zip: programs without their symbols, the pictures, and how to run it.
stage=build-windows/zip/quorvane
rm -rf build-windows/zip build-windows/quorvane-windows.zip
mkdir -p "$stage/data"
for program in quorvane quorvane-capture quorvane-bmp make-textures; do
    x86_64-w64-mingw32-objcopy --strip-all "build-windows/$program.exe" "$stage/$program.exe"
done
cp data/t1.bmp data/star.bmp "$stage/data/"
sed 's/$/\r/' >"$stage/README.txt" <<'EOF'
Quorvane for Windows (64-bit)

A real-time 3D demo scene in one 640 x 480 window, drawn with OpenGL 1.1.
Nothing needs to be installed: unpack the folder anywhere and run quorvane.exe
(it reads data\t1.bmp and data\star.bmp from a data folder where it is
started, or else from the one beside it). quorvane.exe --fullscreen starts in
fullscreen; quorvane.exe --help lists the keys.

Keys: Escape quits, F1 switches between the window and 640 x 480 fullscreen,
H shows and hides a help panel with the keys and the current settings,
L lighting, F texture filter, B blending, T star twinkle, G fog mode,
arrow keys, Page Up / Page Down, keypad + and -, J / K, Enter, Space, Tab,
Shift, keypad 8 / 2 / 6 / 4, W / S / A / D / Q / E to move; drag with the
right mouse button to turn the view.

Tools (run from a command prompt in this folder):
  quorvane-capture.exe --frames N [--shots 1,100,600] [--out DIR] [--input "EVENTS"] [--bench]
      runs the scene in a window and saves chosen frames as PNG files
  quorvane-bmp.exe FILE [OUT.png]   tells what kind of bitmap FILE is, or why it does not load
  make-textures.exe                 writes data\t1.bmp and data\star.bmp anew

Built with mingw-w64 and tested under Wine on Linux (Xvfb, Mesa llvmpipe);
not tried on a Windows machine.
EOF
(cd build-windows/zip && cmake -E tar cf ../quorvane-windows.zip --format=zip quorvane)
rm -rf build-windows/zip
echo "Windows build: $(pwd)/build-windows/quorvane.exe"
echo "Package:       $(pwd)/build-windows/quorvane-windows.zip ($(stat -c %s build-windows/quorvane-windows.zip) bytes)"
