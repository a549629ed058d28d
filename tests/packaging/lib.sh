# Shared by the package and install tests (sourced, POSIX sh).

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

skip() {
    echo "SKIPPED: $*"
    exit 77
}

expect_file() {
    [ -f "$1" ] || fail "missing: $1"
}

# The data folder that a system-wide Tintora gives the user whose home is $1.
user_data() {
    echo "$1/.local/share/quorvane software/Tintora"
}

# run_tintora PROGRAM HOME MODE: starts PROGRAM offscreen as a new user whose
# home is HOME, in a clean environment, driven by the library $DRIVER in MODE
# (see drive_tintora.cpp). Its output is kept in HOME/drive-MODE.log.
run_tintora() {
    mkdir -p "$2/runtime"
    chmod 700 "$2/runtime"
    log="$2/drive-$3.log"
    status=0
    env -i PATH="$PATH" HOME="$2" LANG=C.UTF-8 XDG_RUNTIME_DIR="$2/runtime" QT_QPA_PLATFORM=offscreen \
        LD_PRELOAD="$DRIVER" TINTORA_TEST_DRIVE="$3" timeout 60 "$1" >"$log" 2>&1 || status=$?
    sed 's/^/    /' "$log"
    [ "$status" -eq 0 ] || fail "$1 ended with status $status"
}

# expect_driven HOME MODE LINE: the run of MODE reported LINE.
expect_driven() {
    grep -qxF "drive: $3" "$1/drive-$2.log" || fail "the $2 run did not report \"$3\""
}

# make_and_find PROGRAM HOME FOLDER: a first run adds the colour and saves the
# scheme, which land in FOLDER; a second run finds both.
make_and_find() {
    run_tintora "$1" "$2" make
    expect_driven "$2" make "added to My Colors"
    expect_driven "$2" make "saved scheme"
    [ "$(tail -c 6 "$3/mycolor.rgb")" = "12AB34" ] || fail "the colour is not the last of $3/mycolor.rgb"
    grep -q '"Installed Test"' "$3/set.hcs" || fail "the scheme is not in $3/set.hcs"
    run_tintora "$1" "$2" check
    expect_driven "$2" check "found colour #12AB34"
    expect_driven "$2" check "found scheme Installed Test"
}
