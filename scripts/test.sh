#!/usr/bin/env bash
# Builds and runs everything that checks Velmar: the tests (plain and under AddressSanitizer and
# UndefinedBehaviorSanitizer), a short benchmark run and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1
started=$SECONDS

step() { printf '\n==== %s (%ds)\n' "$1" $((SECONDS - started)); }

# ctest's own summary, then the summary lines again at the end of everything.
summaries=()
run_ctest() {
  local dir=$1 log
  log=$(mktemp)
  if ! ctest --test-dir "$dir" --output-on-failure -j "$jobs" 2>&1 | tee "$log"; then
    rm -f "$log"
    return 1
  fi
  summaries+=("$dir: $(grep -E 'tests passed|tests failed|No tests were found' "$log" | tail -n 1 || true)")
  rm -f "$log"
}

step "Release build and tests (build/)"
# Every option is given, so that a build folder configured differently before cannot drop a part.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_BUILD_TESTS=ON \
  -DVELMAR_BUILD_CLI=ON -DVELMAR_BUILD_APP=ON -DVELMAR_BUILD_BENCH=ON -DVELMAR_BUILD_FUZZ=OFF \
  -DVELMAR_SANITIZE=OFF
cmake --build build -j "$jobs"
run_ctest build

step "Sanitizer build and tests (build-asan/)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_BUILD_TESTS=ON \
  -DVELMAR_BUILD_CLI=ON -DVELMAR_BUILD_APP=ON -DVELMAR_BUILD_BENCH=OFF -DVELMAR_BUILD_FUZZ=OFF \
  -DVELMAR_SANITIZE=ON
cmake --build build-asan -j "$jobs"
run_ctest build-asan

step "Benchmarks (short run)"
build/bench/velmar_bench --benchmark_min_time=0.05
build/bench/velmar_app_bench --benchmark_min_time=0.05

step "Fuzz targets, 10 s each (clang, build-fuzz/)"
# scripts/fuzz.sh builds every target and runs each one from its committed seeds; it prints one
# line per target and fails on a finding, whose input it leaves in build-fuzz/fuzz-runs/.
fuzz_log=build-fuzz/fuzz-summary.log
mkdir -p build-fuzz
if ! ./scripts/fuzz.sh 10 2>&1 | tee "$fuzz_log"; then
  echo "A fuzz target found a fault; see above." >&2
  exit 1
fi
fuzz_total=$(awk '$1 ~ /^fuzz_/ { runs += $2; found += $5 } END { printf "%d runs, %d findings", runs, found }' "$fuzz_log")
summaries+=("fuzz: $fuzz_total")

step "Done"
for line in "${summaries[@]}"; do
  echo "$line"
done
echo "scripts/test.sh took $((SECONDS - started)) s"
