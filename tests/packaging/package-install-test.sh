#!/bin/sh
# Installs the Debian package with dpkg as root, as a user's machine would,
# and uses it as a new user: a colour added to "My Colors" and a saved scheme
# are found again at the next start. Removing the package leaves the user's
# files in place.
#   package-install-test.sh BUILD_DIR DRIVER WORK_DIR
set -eu
build=$1 DRIVER=$2 work=$3
. "$(dirname "$0")/lib.sh"

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root (continuous integration runs as root)"
command -v dpkg >/dev/null 2>&1 || skip "dpkg is missing"
case "$(dpkg-query -W -f='${Status}' tintora 2>/dev/null || true)" in
    *installed*) skip "a tintora package is installed on this machine already; the test does not replace it" ;;
esac
set -- "$build"/package/tintora_*.deb
deb=$1
[ -f "$deb" ] || fail "no package in $build/package (the package test builds it)"

home="$work/home"
rm -rf "$home"
installed=""
remove_package() {
    if [ -n "$installed" ]; then
        dpkg -r tintora >/dev/null 2>&1 || true
    fi
}
trap remove_package EXIT

dpkg -i "$deb" >/dev/null || fail "dpkg -i failed"
installed=yes
[ -x /usr/bin/tintora ] || fail "/usr/bin/tintora was not installed"

data=$(user_data "$home")
make_and_find /usr/bin/tintora "$home" "$data"
[ ! -e /usr/share/tintora/recent.rgb ] || fail "the program wrote into /usr/share/tintora"

sums_before=$(cd "$data" && cat mycolor.rgb set.hcs colorset.dat colorchart.cci | md5sum)
dpkg -r tintora >/dev/null || fail "dpkg -r failed"
installed=""
[ ! -e /usr/bin/tintora ] || fail "/usr/bin/tintora is still there after removal"
[ ! -e /usr/share/tintora ] || fail "/usr/share/tintora is still there after removal"
sums_after=$(cd "$data" && cat mycolor.rgb set.hcs colorset.dat colorchart.cci | md5sum) ||
    fail "the user's files went with the package"
[ "$sums_before" = "$sums_after" ] || fail "removing the package changed the user's files"
rm -rf "$home"
echo "PASS"
