#!/usr/bin/env bash
# Set-up as scripts/setup.sh, then every test; GUI tests get an Xvfb display
# when there is none.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QTWEBENGINE_DISABLE_SANDBOX=1
cd build
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" ctest --output-on-failure "$@"
fi
exec ctest --output-on-failure "$@"
