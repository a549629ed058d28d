#!/bin/sh
# Runs each fuzz target of an existing fuzz build for a bounded time, seeded
# with the shipped data files, the hand-made seeds of fuzz/seeds and every
# input of tests/fuzz/regressions, then prints one summary line per target.
# Called by `make fuzz`; the environment sets:
#   FUZZ_BUILD_DIR  the fuzz build folder (build-fuzz)
#   FUZZ_SECONDS    seconds per target (60)
#   FUZZ_TARGETS    the targets to run (all of them)
# Exits non-zero when a target found an input that breaks a check; the input
# is kept in $FUZZ_BUILD_DIR/artifacts/<target>/ and belongs, once mended, in
# tests/fuzz/regressions/<target>/.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${FUZZ_BUILD_DIR:-build-fuzz}" && pwd)
seconds=${FUZZ_SECONDS:-60}
targets=${FUZZ_TARGETS:-"paletteindex paletterecords schemenames schemecolors exchange colortext aco soc sketch tokens stylesheet harvest"}

shipped_seeds() {
    case "$1" in
        paletteindex) echo "colorchart.cci" ;;
        paletterecords) (cd "$root/data" && ls ./*.rgb) ;;
        schemenames) echo "set.hcs" ;;
        schemecolors) echo "colorset.dat" ;;
    esac
}

# The scratch files that each input is written to: in memory when possible.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    TMPDIR=/dev/shm
    export TMPDIR
fi

summary=""
failed=0
for target in $targets; do
    binary="$build/fuzz/fuzz_$target"
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    log="$build/fuzz-$target.log"
    mkdir -p "$corpus" "$artifacts"
    for seed in $(shipped_seeds "$target"); do
        cp "$root/data/$seed" "$corpus/shipped-$(basename "$seed")"
    done
    extra=""
    # The real exchange files of the tests seed the exchange target.
    case "$target" in
        exchange) extra="$root/tests/data/gimp $root/tests/data/ase $root/tests/data/soc" ;;
        soc) extra="$root/tests/data/soc" ;;
        harvest) extra="$root/fuzz/seeds/stylesheet" ;;
    esac
    for folder in "$root/fuzz/seeds/$target" "$root/tests/fuzz/regressions/$target" $extra; do
        if [ -d "$folder" ]; then
            for seed in "$folder"/*; do
                [ -f "$seed" ] && cp "$seed" "$corpus/seed-$(basename "$seed")"
            done
        fi
    done

    echo "== $target: ${seconds} s"
    status=0
    "$binary" "$corpus" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    coverage=$(grep -E '^#[0-9]+.*cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1 |
        sed -E 's/.*cov: ([0-9]+) ft: ([0-9]+).*/cov \1, ft \2/')
    corpus_size=$(find "$corpus" -type f | wc -l)
    found=$(find "$artifacts" -type f | wc -l)
    line=$(printf '%-16s %10s runs  %-22s corpus %5s  broken %s' \
        "$target" "${runs:-?}" "${coverage:-?}" "$corpus_size" "$found")
    echo "$line"
    summary="$summary$line
"
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        failed=1
        echo "   $target stopped with status $status; see $log" >&2
        tail -n 30 "$log" >&2
    fi
done

echo
echo "Fuzzing summary (${seconds} s per target):"
printf '%s' "$summary"
exit "$failed"
