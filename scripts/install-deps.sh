#!/bin/sh
# Installs the Debian packages that building, running and testing Tintora need,
# when any of them is missing. On systems without apt, says what to install.
#   scripts/install-deps.sh        what `make run` and `make test` need
#   scripts/install-deps.sh fuzz   that, and Clang with libFuzzer for `make fuzz`
#   scripts/install-deps.sh clang  that, and Clang for `make test-clang-models`
set -eu

PACKAGES="cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev xvfb xauth imagemagick"
# Picking on Wayland: Qt's Wayland platform, and for the tests a headless
# Wayland desktop with the screenshot portal on a D-Bus session of their own.
PACKAGES="$PACKAGES qt6-wayland dbus-daemon sway swaybg xdg-desktop-portal xdg-desktop-portal-wlr grim pipewire"
# The help viewer reads the compiled help with chmlib; the package is built
# with dpkg-dev (dependencies from the binary) and file, and checked with
# lintian, desktop-file-validate and appstreamcli.
PACKAGES="$PACKAGES libchm-dev dpkg-dev file lintian desktop-file-utils appstream"
# The generated CSS and HTML are held against a real browser: headless Chromium.
PACKAGES="$PACKAGES chromium"
# Colors From Image reads WebP, TIFF and more through Qt's further image plugins.
PACKAGES="$PACKAGES qt6-image-formats-plugins"
case "${1:-}" in
    "") ;;
    clang)
        PACKAGES="$PACKAGES clang"
        ;;
    fuzz)
        # libFuzzer ships in the runtime package of Clang's own version.
        clang_version=""
        if command -v apt-cache >/dev/null 2>&1; then
            clang_version=$(apt-cache depends clang 2>/dev/null |
                sed -n 's/^ *Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n 1)
        fi
        PACKAGES="$PACKAGES clang"
        if [ -n "$clang_version" ] &&
            apt-cache show "libclang-rt-$clang_version-dev" >/dev/null 2>&1; then
            PACKAGES="$PACKAGES libclang-rt-$clang_version-dev"
        fi
        ;;
    *)
        echo "usage: $0 [fuzz|clang]" >&2
        exit 2
        ;;
esac

missing=""
if command -v dpkg-query >/dev/null 2>&1; then
    for package in $PACKAGES; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        case "$status" in
            *"install ok installed"*) ;;
            *) missing="$missing $package" ;;
        esac
    done
else
    echo "This system has no dpkg. Install these (or your distribution's equivalents) and run again:" >&2
    echo "  CMake 3.22 or newer, a C++20 compiler, Qt 6.4 or newer (Core, Gui, Widgets, Test), chmlib," >&2
    echo "  and for the tests Xvfb and ImageMagick; for fuzzing, Clang with libFuzzer." >&2
    echo "  For picking on Wayland: Qt's Wayland platform plugin; its tests also use sway," >&2
    echo "  xdg-desktop-portal with its wlroots backend, grim, PipeWire and dbus-daemon." >&2
    if command -v cmake >/dev/null 2>&1 && command -v c++ >/dev/null 2>&1; then
        exit 0
    fi
    exit 1
fi

if [ -z "$missing" ]; then
    exit 0
fi

echo "Installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "Not root and no sudo: please install these packages:$missing" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
