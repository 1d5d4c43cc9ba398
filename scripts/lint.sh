#!/usr/bin/env bash
# clang-tidy over the program's own sources (src/) with the checks of .clang-tidy, on the
# compile database of the dev build. Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
run-clang-tidy-14 -p build -quiet -extra-arg=-Wno-unknown-warning-option "$PWD/src/" \
    >build/clang-tidy.log 2>&1 || status=$?
# the findings without the progress lines
sed 's/\x1b\[[0-9;]*m//g' build/clang-tidy.log |
    grep -v '^clang-tidy-14 \|warnings\? generated\.$\|^Suppressed \|^Use -header-filter' || true
if [ "$status" -eq 0 ]; then echo "clang-tidy: no findings"; fi
exit "$status"
