#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted as .clang-format says;
# `clang-format -i <file>` formats it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/qvb-format.log; then
    grep -E '^[^ ]+:[0-9]+:[0-9]+: error' /tmp/qvb-format.log | cut -d: -f1 | sort -u | sed 's/^/not formatted: /' >&2
    exit 1
fi
echo "format: ${#files[@]} files formatted"
