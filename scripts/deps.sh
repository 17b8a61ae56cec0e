# Debian packages the project needs, and a check that installs them (as root) or says how.
# Sourced by run.sh, test.sh and package.sh.

# What building and running the program and its tools needs (run.sh installs exactly these): the
# compiler and build tools, SDL2, OpenGL and GLU with Mesa's drivers (GLX for a window, EGL for the
# headless capture), FreeType, fontconfig and a bold sans font for the font lists, libpng.
QUORVANE_BUILD_PACKAGES="cmake ninja-build g++ pkg-config libsdl2-dev libgl-dev libglu1-mesa-dev \
libgl1-mesa-dri libegl-mesa0 libfreetype-dev libfontconfig-dev fonts-dejavu-core libpng-dev"
# What the tests and benchmarks need on top (test.sh): GoogleTest, Google Benchmark, stb, an X
# server with fonts and xdotool for the end-to-end tier, and OpenGL ES (libGLESv2, which SDL loads
# for the GL layer's capture program).
QUORVANE_TEST_PACKAGES="libgtest-dev libbenchmark-dev libstb-dev libx11-dev libxfixes-dev xvfb xfonts-base xdotool xauth \
libgles2"
# What making the Debian package needs on top (package.sh): dpkg-shlibdeps and file, with which
# CPack works out the package's dependencies.
QUORVANE_PACKAGING_PACKAGES="dpkg-dev file"
# The Windows program, cross-built with mingw-w64 (scripts/build-windows.sh), and its tests, which
# run under Wine (GoogleTest is built from the sources Debian ships in googletest; the locale
# sources make the Russian locale that one test starts the program under).
QUORVANE_WINDOWS_BUILD_PACKAGES="cmake ninja-build g++-mingw-w64-x86-64 libstb-dev"
QUORVANE_WINDOWS_TEST_PACKAGES="googletest wine64 xvfb xdotool locales"
# The browser build (scripts/build-web.sh): Debian's Emscripten, the glyph tool's FreeType and
# fontconfig with the font, and stb for the shots; its tests (the web tier): Chromium, Firefox ESR
# and WebKitGTK's WebDriver with its MiniBrowser, the last two on Xvfb, driven from Node with the
# npm packages that npm installs from the project's package-lock.json.
QUORVANE_WEB_BUILD_PACKAGES="cmake ninja-build g++ pkg-config emscripten nodejs libfreetype-dev \
libfontconfig-dev fonts-dejavu-core libgl-dev libstb-dev"
QUORVANE_WEB_TEST_PACKAGES="nodejs npm chromium firefox-esr webkit2gtk-driver xvfb libgl1-mesa-dri libegl-mesa0"

# A package is there when it is installed, or when an installed package provides it (NodeSource's
# nodejs provides npm, and conflicts with Debian's). awk reads the whole list, so that under
# `set -o pipefail` no early exit of a reader breaks the pipe and reads as "missing".
quorvane_have_package() {
    dpkg-query -W -f='${db:Status-Abbrev}|${Package}|${Provides}\n' 2>/dev/null | awk -F'|' -v p="$1" '
        $1 ~ /^ii/ { if ($2 == p) found = 1; n = split($3, names, /, */)
                     for (i = 1; i <= n; i++) { split(names[i], name, " "); if (name[1] == p) found = 1 } }
        END { exit !found }'
}

# quorvane_need_packages PACKAGE... : installs what is missing when run as root, otherwise prints
# the exact install line and fails.
quorvane_need_packages() {
    local missing=()
    local p
    for p in "$@"; do
        quorvane_have_package "$p" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || {
            echo "apt-get could not install: ${missing[*]}" >&2
            return 1
        }
    else
        echo "Missing Debian packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
}
