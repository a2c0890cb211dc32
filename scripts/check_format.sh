#!/usr/bin/env bash
# Fails when any C++ file of the project is not formatted with the root .clang-format.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
files=$(git ls-files -- '*.cpp' '*.h' 2>/dev/null || true)
if [ -z "$files" ]; then
    files=$(find app game board audio ui profile core tools tests bench -name '*.cpp' -o -name '*.h')
fi
clang-format --dry-run --Werror $files
echo "formatting ok ($(echo "$files" | wc -w) files)"
