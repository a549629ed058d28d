#!/bin/sh
# Installs the build under a prefix of its own, as a user installs into
# ~/.local: the program in bin, its shipped data and help in share/tintora,
# with a desktop entry, icons, metainfo and a manual page. The installed
# program keeps each user's palettes and schemes in their own data folder, and
# installing again leaves those alone.
#   install-test.sh BUILD_DIR DRIVER WORK_DIR SOURCE_DATA_DIR APP_ID
set -eu
build=$1 DRIVER=$2 work=$3 source_data=$4 app_id=$5
. "$(dirname "$0")/lib.sh"

prefix="$work/prefix"
home="$work/home"
rm -rf "$prefix" "$home"
cmake --install "$build" --prefix "$prefix" >/dev/null

for name in colorchart.cci mycolor.rgb c1.rgb c5.rgb set.hcs colorset.dat tintora.chm; do
    expect_file "$prefix/share/tintora/$name"
done
expect_file "$prefix/bin/tintora"
expect_file "$prefix/share/applications/$app_id.desktop"
expect_file "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg"
for size in 16 22 24 32 48 64 128 256 512; do
    expect_file "$prefix/share/icons/hicolor/${size}x$size/apps/$app_id.png"
done
expect_file "$prefix/share/metainfo/$app_id.metainfo.xml"
expect_file "$prefix/share/man/man1/tintora.1.gz"
grep -qx "Exec=$prefix/bin/tintora %F" "$prefix/share/applications/$app_id.desktop" ||
    fail "the desktop entry does not start the installed program with the files it is given"
grep -qx "Exec=$prefix/bin/tintora --pick" "$prefix/share/applications/$app_id.desktop" ||
    fail "the desktop entry's pick action does not start the installed program"

make_and_find "$prefix/bin/tintora" "$home" "$(user_data "$home")"
cmp -s "$prefix/share/tintora/mycolor.rgb" "$source_data/mycolor.rgb" ||
    fail "the shipped palette was changed instead of the user's copy"
[ ! -e "$prefix/share/tintora/recent.rgb" ] || fail "the program wrote into its shipped folder"

# Installing again replaces the program's files, never the user's.
cp "$(user_data "$home")/mycolor.rgb" "$work/mycolor.before"
cmake --install "$build" --prefix "$prefix" >/dev/null
cmp -s "$(user_data "$home")/mycolor.rgb" "$work/mycolor.before" || fail "installing again changed the user's palette"
run_tintora "$prefix/bin/tintora" "$home" check
expect_driven "$home" check "found colour #12AB34"
rm -rf "$prefix" "$home" "$work/mycolor.before"
echo "PASS"
