#!/usr/bin/env bash
# Checks that the tracked C++ files are formatted as .clang-format says; names
# each file that is not and fails. With --fix, formats them in place instead.
# Files may be named on the command line; by default every tracked .cpp/.h.
set -euo pipefail
cd "$(dirname "$0")/.."
fix=0
if [ "${1:-}" = "--fix" ]; then
    fix=1
    shift
fi
command -v clang-format >/dev/null || { echo "clang-format is not installed (scripts/deps.sh)"; exit 1; }
if [ $# -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
if [ $fix -eq 1 ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
bad=0
for f in "${files[@]}"; do
    if ! clang-format "$f" | cmp -s "$f" -; then
        echo "not formatted: $f"
        bad=$((bad + 1))
    fi
done
if [ $bad -gt 0 ]; then
    echo "$bad file(s) differ from .clang-format; scripts/check-style.sh --fix formats them"
    exit 1
fi
