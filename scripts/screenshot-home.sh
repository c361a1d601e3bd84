#!/usr/bin/env bash
# Takes a PNG of the home screen under Xvfb (real fonts, real rendering) to look at.
#   scripts/screenshot-home.sh [BUILD_DIR] [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
OUT=${2:-$PWD/$BUILD_DIR/home-screen.png}
cmake --build "$BUILD_DIR" --target tst_homescreenshot >/dev/null
EMPTY=$(mktemp -d)
trap 'rm -rf "$EMPTY"' EXIT
# The test starts an Xvfb display of its own.
env -u QT_QUICK_BACKEND NRT52_SOURCE_DIR="$PWD" NRT52_SCREENSHOT="$OUT" \
  MIBS= SNMPCONFPATH="$EMPTY" SNMP_PERSISTENT_DIR="$EMPTY" \
  "$BUILD_DIR/tests/tst_homescreenshot"
echo "$OUT"
