#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Extra arguments go to ctest
# (for example: ./test.sh -L snmp).
#   ./test.sh --sanitize [ctest args]   the same suite built with AddressSanitizer and
#                                       UndefinedBehaviorSanitizer, in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
CMAKE_ARGS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  shift
  BUILD_DIR=${BUILD_DIR:-build-sanitize}
  CMAKE_ARGS+=(-DNRT52_SANITIZE=ON)
  # Any report fails its test. Leaks that third-party libraries keep for the life of the
  # process are suppressed by library (tests/sanitizer/lsan.supp); ours are not. Qt is
  # built without frame pointers, so stacks are unwound fully to name those libraries.
  export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0:malloc_context_size=16:check_initialization_order=1:exitcode=23"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=23"
  export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0:exitcode=23"
fi
BUILD_DIR=${BUILD_DIR:-build}
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" "${CMAKE_ARGS[@]}" >/dev/null
fi
cmake --build "$BUILD_DIR" -j"$(nproc)" -- --no-print-directory | grep -Ev '^\[ *[0-9]+%\]|^(Scanning|Consolidate|Built target|Automatic)' || true
# A failed build must fail the run even though the filter above swallowed its status.
cmake --build "$BUILD_DIR" -j"$(nproc)" >/dev/null
cd "$BUILD_DIR"
# The tests mostly wait for devices, timers and the window rather than work: on a machine of
# fewer than four cores, four still run side by side.
jobs=$(nproc)
if [ "$jobs" -lt 4 ]; then jobs=4; fi
# The tests run in a network namespace of their own with only loopback up: no test can reach
# past this machine, and an address off loopback is unreachable at once. Several runs side by
# side keep their agents apart too.
if [ "${NRT52_NO_NETNS:-}" != 1 ] && command -v unshare >/dev/null && command -v ip >/dev/null \
   && unshare -n true 2>/dev/null; then
  exec unshare -n sh -c 'ip link set lo up && exec "$@"' sh \
    ctest --output-on-failure -j"$jobs" "$@"
fi
echo "test.sh: no network namespace can be made here (unshare -n needs root); the tests share this machine's network"
ctest --output-on-failure -j"$jobs" "$@"
