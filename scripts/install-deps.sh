#!/bin/sh
# Installs the Debian packages that Tintora needs for one kind of work, when
# any of them is missing. On systems without apt, says what to install.
#   scripts/install-deps.sh [run]   building and running (`make run`)
#   scripts/install-deps.sh test    that, and the tools the tests use (`make test`)
#   scripts/install-deps.sh package that, and what builds the Debian package (`make package`)
#   scripts/install-deps.sh fuzz    that, and Clang with libFuzzer (`make fuzz`)
#   scripts/install-deps.sh clang   that, and Clang (`make test-clang-models`)
set -eu

usage() {
    echo "usage: $0 [run|test|package|fuzz|clang]" >&2
    exit 2
}

[ "$#" -le 1 ] || usage
MODE=${1:-run}

# Building: the compiler, CMake and Qt's development files; the help viewer
# reads the compiled help with chmlib. Running: Qt's Wayland platform, without
# which a Wayland session runs the program through XWayland, where picking
# sees no Wayland window.
RUN_PACKAGES="cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libchm-dev qt6-wayland"
# Colors From Image reads WebP, TIFF and more through Qt's further image plugins.
RUN_PACKAGES="$RUN_PACKAGES qt6-image-formats-plugins"
# The Debian package is built with dpkg-dev (dependencies from the binary) and file.
PACKAGE_PACKAGES="dpkg-dev file"
# The tests: Xvfb and ImageMagick for pictures of an X11 screen; a headless
# Wayland desktop with the screenshot portal on a D-Bus session of its own;
# the package checked with lintian, desktop-file-validate and appstreamcli;
# the generated CSS and HTML held against headless Chromium; and the check
# that every source is formatted as .clang-format says.
TEST_PACKAGES="xvfb xauth imagemagick"
TEST_PACKAGES="$TEST_PACKAGES dbus-daemon sway swaybg xdg-desktop-portal xdg-desktop-portal-wlr grim pipewire"
TEST_PACKAGES="$TEST_PACKAGES $PACKAGE_PACKAGES lintian desktop-file-utils appstream"
TEST_PACKAGES="$TEST_PACKAGES chromium clang-format"
# The help viewer's tests compile hostile help files with chmcmd; the desktop
# tests read the clipboard as other programs do (xclip, wl-paste) and click
# with xdotool.
TEST_PACKAGES="$TEST_PACKAGES fp-utils xclip wl-clipboard xdotool"
# Colour names go through every exchange format and back on the palettes
# that GIMP and LibreOffice ship themselves (.gpl and .soc).
TEST_PACKAGES="$TEST_PACKAGES gimp-data libreoffice-common"
# The pick command's tests paint the X root window one known colour with
# xsetroot.
TEST_PACKAGES="$TEST_PACKAGES x11-xserver-utils"
# On the headless Wayland desktop, whose seat has no keyboard of its own, the
# pick command's test types its keys through a virtual keyboard (wtype).
TEST_PACKAGES="$TEST_PACKAGES wtype"

PACKAGES="$RUN_PACKAGES"
case "$MODE" in
    run) ;;
    test)
        PACKAGES="$PACKAGES $TEST_PACKAGES"
        ;;
    package)
        PACKAGES="$PACKAGES $PACKAGE_PACKAGES"
        ;;
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
        usage
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
    echo "  CMake 3.22 or newer, a C++20 compiler, Qt 6.4 or newer (Core, Gui, Widgets, Network," >&2
    echo "  DBus, Test), Qt's Wayland platform plugin and chmlib." >&2
    case "$MODE" in
        test)
            echo "  For the tests: Xvfb, ImageMagick, sway, xdg-desktop-portal with its wlroots" >&2
            echo "  backend, grim, PipeWire, dbus-daemon, Chromium and clang-format." >&2
            ;;
        fuzz) echo "  For fuzzing: Clang with libFuzzer." >&2 ;;
        clang) echo "  For the numeric checks: Clang." >&2 ;;
    esac
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
