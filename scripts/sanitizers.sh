#!/usr/bin/env bash
# The widget-free tests (QtCore only: stores, files, data folder) built with
# AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and run.
# Any sanitizer report ends the test program with an error, so the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-asan
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

mkdir -p "$build"
# Debug keeps Q_ASSERT on; -O1 keeps the kill test and the big hostile files quick.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
      -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
      --graphviz="$build/graph/deps.dot" >"$build/configure.log" 2>&1 \
    || { cat "$build/configure.log"; exit 1; }

# A test is widget-free when nothing it links reaches Qt's GUI modules; the
# link graph CMake wrote says so, so new store tests are picked up by themselves.
tests=()
for name in $(cd "$build" && ctest -N | sed -n 's/^ *Test *#[0-9]*: *//p'); do
    graph=$build/graph/deps.dot.$name
    [ -f "$graph" ] || continue
    grep -qE 'label = "Qt6::(Gui|Widgets|WebEngine[A-Za-z]*|OpenGL[A-Za-z]*)"' "$graph" && continue
    tests+=("$name")
done
if [ ${#tests[@]} -eq 0 ]; then
    echo "sanitizers: no widget-free tests found" >&2
    exit 1
fi
echo "sanitizers: ${tests[*]}"

cmake --build "$build" -j"$(nproc)" --target "${tests[@]}"

# Leaks are reported too: the QtCore-only tests leave none at exit, so no
# suppressions are needed.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
regex="^($(IFS='|'; echo "${tests[*]}"))\$"
cd "$build"
ctest --output-on-failure -j"$(nproc)" -R "$regex"
