#!/bin/sh
# Builds the Debian package as `make package` does and checks it: lintian
# finds no error, the desktop entry and the AppStream metainfo validate, the
# dependencies come from the binary, and the files sit where a system-wide
# install puts them.
#   package-test.sh BUILD_DIR WORK_DIR APP_ID
set -eu
build=$1 work=$2 app_id=$3
. "$(dirname "$0")/lib.sh"

for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null 2>&1 ||
        skip "$tool is missing (scripts/install-deps.sh test installs it: dpkg-dev, lintian, desktop-file-utils, appstream)"
done

rm -f "$build"/package/tintora_*.deb
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null) || fail "cpack could not build the package"
set -- "$build"/package/tintora_*.deb
deb=$1
[ -f "$deb" ] || fail "no package in $build/package"
echo "package: $deb"

lintian --fail-on error "$deb" || fail "lintian reports errors"

root="$work/root"
rm -rf "$root"
mkdir -p "$root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "the metainfo does not validate"

for path in usr/bin/tintora usr/share/tintora/colorchart.cci usr/share/tintora/tintora.chm \
    usr/share/man/man1/tintora.1.gz usr/share/doc/tintora/copyright \
    usr/share/icons/hicolor/scalable/apps/$app_id.svg; do
    expect_file "$root/$path"
done
# The windows' module, which the program loads from its private folder.
[ -n "$(find "$root/usr/lib" -path '*/tintora/tintora-windows.so')" ] ||
    fail "the package lacks the windows' module"
for size in 16 22 24 32 48 64 128 256 512; do
    expect_file "$root/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libchm1 libqt6widgets6 libc6; do
    echo "$depends" | grep -q "$library" || fail "the dependencies lack $library"
done
rm -rf "$root"
echo "PASS"
