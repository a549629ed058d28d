#!/bin/sh
# A portable Tintora: the program and its data files in one folder the user
# can write. The data stays beside the executable, as it always has, and no
# per-user data folder appears.
#   portable-test.sh PROGRAM DRIVER WORK_DIR SOURCE_DATA_DIR
set -eu
program=$1 DRIVER=$2 work=$3 source_data=$4
. "$(dirname "$0")/lib.sh"

folder="$work/portable"
home="$work/home"
rm -rf "$folder" "$home"
mkdir -p "$folder"
cp "$program" "$folder/tintora"
cp "$(dirname "$program")/tintora-windows.so" "$folder/"
cp "$source_data"/colorchart.cci "$source_data"/*.rgb "$source_data"/set.hcs "$source_data"/colorset.dat \
    "$source_data"/tintora.chm "$folder/"

make_and_find "$folder/tintora" "$home" "$folder"
[ ! -e "$home/.local/share/quorvane software" ] || fail "a per-user data folder appeared for a portable program"
rm -rf "$folder" "$home"
echo "PASS"
