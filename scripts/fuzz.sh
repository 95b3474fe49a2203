#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang++ (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for a bounded
# time: QVB_FUZZ_SECONDS, 20 by default. Skipped when clang++ is missing.
# A failing input is kept in build-fuzz/artifacts/; run it again with
#   build-fuzz/fuzz_<target> build-fuzz/artifacts/<file>
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-fuzz
seconds=${QVB_FUZZ_SECONDS:-20}

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ not found, fuzz targets skipped"
    exit 0
fi
mkdir -p "$build/artifacts"
cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ >"$build/configure.log" 2>&1 \
    || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)"

status=0
for target in settingsfile storedlines storedtext; do
    # The corpus grows from run to run in the build folder; the stored files
    # of the Windows fixture seed it.
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    log=$build/$target.log
    echo "fuzz: $target for ${seconds}s"
    if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -dict=fuzz/storedfiles.dict -artifact_prefix="$build/artifacts/$target-" \
            -print_final_stats=1 "$corpus" tests/fixtures/windows-data >"$log" 2>&1; then
        sed -n 's/^stat::number_of_executed_units: */fuzz: runs /p' "$log"
    else
        tail -n 60 "$log"
        echo "fuzz: $target FAILED (input kept in $build/artifacts/)" >&2
        status=1
    fi
done
exit $status
