#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) in build-fuzz/ and runs each on
# its seed files (tests/fuzz/corpus/<name>). New inputs that reach new code are kept in
# build-fuzz/corpus/<name>; a crash leaves its input in build-fuzz/ and fails the run. The
# targets run side by side, as many at a time as there are cores.
#   scripts/fuzz.sh                      every target for 20000 inputs
#   scripts/fuzz.sh --runs N [name...]   N inputs per target
#   scripts/fuzz.sh --time S [name...]   S seconds per target, for a longer search
# Names: replyparser registration channelplan alert ini historyfile.
set -euo pipefail
cd "$(dirname "$0")/.."
limit=(-runs=20000)
if [ "${1:-}" = "--runs" ]; then limit=(-runs="${2:?}"); shift 2
elif [ "${1:-}" = "--time" ]; then limit=(-max_total_time="${2:?}"); shift 2
fi
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  names=(replyparser registration channelplan alert ini historyfile)
fi
./scripts/install-deps.sh clang libclang-rt-14-dev
BUILD_DIR=build-fuzz
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -DNRT52_FUZZ=ON -DBUILD_TESTING=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
targets=()
for n in "${names[@]}"; do targets+=("fuzz_$n"); done
cmake --build "$BUILD_DIR" -j"$(nproc)" --target "${targets[@]}" >/dev/null
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$BUILD_DIR/artifacts"
# The targets run side by side, one per core; each writes its own log and exit status.
slots=$(nproc)
running=0
for n in "${names[@]}"; do
  found="$BUILD_DIR/corpus/$n"
  mkdir -p "$found"
  rm -f "$BUILD_DIR/artifacts/$n.status"
  if [ "$running" -ge "$slots" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  # The seeds are read, never written: new inputs go to the build folder.
  (
    status=0
    "$BUILD_DIR/tests/fuzz/fuzz_$n" "${limit[@]}" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$BUILD_DIR/artifacts/$n-" -print_final_stats=1 \
      "$found" "tests/fuzz/corpus/$n" >"$BUILD_DIR/artifacts/$n.log" 2>&1 || status=$?
    echo "$status" >"$BUILD_DIR/artifacts/$n.status"
  ) &
  running=$((running + 1))
done
wait
failed=0
for n in "${names[@]}"; do
  log="$BUILD_DIR/artifacts/$n.log"
  status=$(cat "$BUILD_DIR/artifacts/$n.status" 2>/dev/null || echo "no status")
  echo "fuzz_$n: ${limit[*]}"
  if [ "$status" != 0 ]; then
    tail -n 60 "$log"
    echo "fuzz_$n FAILED (exit $status); input kept in $BUILD_DIR/artifacts/" >&2
    failed=1
    continue
  fi
  grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|Done)' "$log" | tr '\n' ' '
  echo
done
exit "$failed"
