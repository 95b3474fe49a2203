#!/usr/bin/env bash
# Set-up as scripts/setup.sh (with compiler warnings as errors), the formatting
# check (scripts/check-format.sh), then every test; GUI tests get an Xvfb display
# when there is none. After them, the widget-free tests under AddressSanitizer
# and UndefinedBehaviorSanitizer (scripts/sanitizers.sh, build-asan/) and a
# short run of each fuzz target (scripts/fuzz.sh, build-fuzz/).
# Arguments go to the first ctest run; QVB_QUICK=1 leaves out the sanitizer
# and fuzz runs. Fails when any part fails.
set -euo pipefail
cd "$(dirname "$0")/.."
QVB_WERROR=ON scripts/setup.sh
export QTWEBENGINE_DISABLE_SANDBOX=1

failed=()
scripts/check-format.sh || failed+=("format")
run_tests() {
    if [ -z "${DISPLAY:-}" ]; then
        xvfb-run -a -s "-screen 0 1600x1000x24" ctest --output-on-failure "$@"
    else
        ctest --output-on-failure "$@"
    fi
}
(cd build && run_tests "$@") || failed+=("tests")

if [ "${QVB_QUICK:-0}" != 1 ]; then
    scripts/sanitizers.sh || failed+=("sanitizers")
    scripts/fuzz.sh || failed+=("fuzz")
fi

if [ ${#failed[@]} -gt 0 ]; then
    echo "test.sh: FAILED: ${failed[*]}" >&2
    exit 1
fi
echo "test.sh: all passed"
