#!/usr/bin/env bash
# Set-up as scripts/setup.sh, then starts the program (under Xvfb when there
# is no display, so it can be looked at with a screenshot).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" build/src/app/qvbzevi "$@"
fi
exec build/src/app/qvbzevi "$@"
