#!/usr/bin/env bash
# Builds and runs everything that checks Velmar: the tests (plain and under AddressSanitizer and
# UndefinedBehaviorSanitizer), a short benchmark run and a one-minute fuzz run.
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

step "Fuzz target (clang, build-fuzz/)"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMAR_BUILD_FUZZ=ON -DVELMAR_BUILD_TESTS=OFF -DVELMAR_BUILD_CLI=OFF -DVELMAR_BUILD_APP=OFF \
  -DVELMAR_BUILD_BENCH=OFF -DVELMAR_SANITIZE=OFF
cmake --build build-fuzz -j "$jobs"

# Seeds: the whole sample image, and for each region the fuzz target patches (its first input
# byte picks the region, the next two the offset) the sample's own bytes at the region's start.
corpus=build-fuzz/corpus
rm -rf "$corpus"
mkdir -p "$corpus"
build/src/cli/velmar-cli sample "$corpus/sample.nes"
region_starts=(0x2C30 0x0000 0x4000 0x8700 0x152D0 0x1F6C0 0x20000)
for i in "${!region_starts[@]}"; do
  {
    printf '%b' "\\x$(printf '%02x' "$i")\\x00\\x00"
    dd if="$corpus/sample.nes" iflag=skip_bytes,count_bytes skip=$((16 + region_starts[i])) \
      count=1024 status=none
  } > "$corpus/region-$i"
done
fuzz_log=build-fuzz/fuzz.log
if ! build-fuzz/fuzz/velmar_fuzz_rom -max_total_time=60 -timeout=20 -rss_limit_mb=4096 \
     -print_final_stats=1 -artifact_prefix=build-fuzz/ "$corpus" > "$fuzz_log" 2>&1; then
  tail -n 80 "$fuzz_log"
  echo "The fuzz target found a fault; the input that shows it is in build-fuzz/." >&2
  exit 1
fi
grep -E '^(Done|stat::)' "$fuzz_log"
summaries+=("fuzz: $(grep -E '^Done' "$fuzz_log"), $(grep -E 'average_exec_per_sec' "$fuzz_log" | tr -s ' ')")

step "Done"
for line in "${summaries[@]}"; do
  echo "$line"
done
echo "scripts/test.sh took $((SECONDS - started)) s"
