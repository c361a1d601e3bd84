#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Extra arguments go to ctest
# (for example: ./test.sh -L snmp).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD_DIR" -j"$(nproc)" -- --no-print-directory | grep -Ev '^\[ *[0-9]+%\]|^(Scanning|Consolidate|Built target|Automatic)' || true
# A failed build must fail the run even though the filter above swallowed its status.
cmake --build "$BUILD_DIR" -j"$(nproc)" >/dev/null
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" "$@"
