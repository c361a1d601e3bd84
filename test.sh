#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Extra arguments go to ctest
# (for example: ./test.sh -L snmp, or ./test.sh -LE bench for the suite without benchmarks).
#   ./test.sh --sanitize [ctest args]   the same suite built with AddressSanitizer and
#                                       UndefinedBehaviorSanitizer, in build-sanitize/
#   ./test.sh -DNRT52_WERROR=ON [ctest args]   arguments -D<NAME>=<value> (before the ctest
#                                       ones) are configure options; the build folder is
#                                       configured afresh whenever they differ from its last run.
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
while [[ "${1:-}" =~ ^-D[A-Za-z_][A-Za-z0-9_]*(:[A-Z]+)?= ]]; do
  CMAKE_ARGS+=("$1")
  shift
done
BUILD_DIR=${BUILD_DIR:-build}
# The options of the last configuration by this script: an option left out since is not
# kept by CMake's cache, which is therefore made afresh when they change.
OPTIONS_FILE="$BUILD_DIR/test.sh-options"
if [ -f "$OPTIONS_FILE" ] && [ "$(cat "$OPTIONS_FILE")" != "${CMAKE_ARGS[*]}" ]; then
  rm -f "$BUILD_DIR/CMakeCache.txt"
fi
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ] || [ ! -f "$OPTIONS_FILE" ]; then
  cmake -S . -B "$BUILD_DIR" "${CMAKE_ARGS[@]}" >/dev/null
  printf '%s' "${CMAKE_ARGS[*]}" > "$OPTIONS_FILE"
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
