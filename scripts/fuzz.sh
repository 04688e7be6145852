#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, in build-fuzz/) and runs each of them for SECONDS (default
# 60), two at a time, from its seed corpus in fuzz/corpus/<target>/ (and the inputs of known
# faults in fuzz/known/<target>/) with its dictionary fuzz/dict/<target>.dict. New inputs go to
# build-fuzz/fuzz-runs/<target>/corpus/, which later runs start from too; the committed seeds are
# never written. Prints one line per target and exits non-zero when any target found a fault
# (its input is in build-fuzz/fuzz-runs/<target>/findings/).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      fuzz (all targets when none is named)
#   scripts/fuzz.sh --merge [TARGET...]        fold the new inputs of earlier runs into the
#                                              committed seeds, minimised with -merge=1
#                                              (inputs named "finding-*" are always kept)
#
# FUZZ_JOBS sets how many targets run at once (default: 2, or 1 on a single core).
set -euo pipefail
cd "$(dirname "$0")/.."

all_targets=(fuzz_scene_codec fuzz_packers fuzz_texts fuzz_drawing fuzz_data_files fuzz_history fuzz_session
             fuzz_patches fuzz_png fuzz_scene_file fuzz_folder)
# The longest input each target is given: a few patches and control bytes need no more, and
# short inputs keep the seeds small and the runs fast.
declare -A max_len=([fuzz_scene_codec]=512 [fuzz_packers]=512 [fuzz_texts]=2048 [fuzz_drawing]=512
                    [fuzz_data_files]=2048 [fuzz_history]=512 [fuzz_session]=4096 [fuzz_patches]=4096
                    [fuzz_png]=8192 [fuzz_scene_file]=8192 [fuzz_folder]=16384)

merge=0
seconds=60
if [ "${1:-}" = "--merge" ]; then
  merge=1
  shift
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  targets=("${all_targets[@]}")
fi
for target in "${targets[@]}"; do
  if [ -z "${max_len[$target]:-}" ]; then
    echo "fuzz.sh: no target $target (targets: ${all_targets[*]})" >&2
    exit 2
  fi
done

cores=$(nproc 2>/dev/null || echo 1)
jobs=${FUZZ_JOBS:-$((cores >= 2 ? 2 : 1))}

CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMAR_BUILD_FUZZ=ON -DVELMAR_BUILD_TESTS=OFF -DVELMAR_BUILD_CLI=OFF -DVELMAR_BUILD_APP=OFF \
  -DVELMAR_BUILD_BENCH=OFF -DVELMAR_SANITIZE=OFF -DVELMAR_WERROR=ON > /dev/null
cmake --build build-fuzz -j "$cores" --target "${targets[@]}"

runs=build-fuzz/fuzz-runs

if [ "$merge" -eq 1 ]; then
  for target in "${targets[@]}"; do
    seeds=fuzz/corpus/$target
    merged=$(mktemp -d)
    mkdir -p "$seeds" "$runs/$target/corpus"
    # Kept: the fewest inputs that reach every edge the seeds and the new inputs reach (hit
    # counts aside, which would keep many times more), so the committed seeds stay small.
    build-fuzz/fuzz/"$target" -merge=1 -use_counters=0 -max_len="${max_len[$target]}" "$merged" \
      "$seeds" "$runs/$target/corpus" > "$runs/$target.merge.log" 2>&1
    # The inputs of fixed findings stay under their names, whatever else covers them.
    find "$seeds" -type f ! -name 'finding-*' -delete
    cp "$merged"/* "$seeds"/ 2>/dev/null || true
    for finding in "$seeds"/finding-*; do
      if [ -f "$finding" ]; then
        rm -f "$seeds/$(sha1sum < "$finding" | cut -c1-40)"  # the same input under libFuzzer's name
      fi
    done
    rm -rf "$merged"
    echo "$target: $(find "$seeds" -type f | wc -l) seeds, $(du -sb "$seeds" | cut -f1) bytes"
  done
  exit 0
fi

# Runs one target; its figures go to $runs/<target>.log.
fuzz_one() {
  local target=$1 dir=$runs/$1
  mkdir -p "$dir/corpus" "$dir/findings" "fuzz/corpus/$target"
  local seeds=("$dir/corpus" "fuzz/corpus/$target")
  if [ -d "fuzz/known/$target" ]; then
    seeds+=("fuzz/known/$target")
  fi
  local status=0
  build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -max_len="${max_len[$target]}" -dict="fuzz/dict/$target.dict" -print_final_stats=1 \
    -artifact_prefix="$dir/findings/" "${seeds[@]}" > "$runs/$target.log" 2>&1 || status=$?
  echo "$status" > "$runs/$target.status"
}

mkdir -p "$runs"
for target in "${targets[@]}"; do
  rm -rf "$runs/$target/findings" "$runs/$target.status"
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
  fuzz_one "$target" &
done
wait

failed=0
printf '%-18s %12s %8s %6s %9s\n' target executions exec/s cov findings
for target in "${targets[@]}"; do
  log=$runs/$target.log
  executions=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
  per_second=$(grep -oE 'stat::average_exec_per_sec: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
  coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | grep -oE '[0-9]+' || echo 0)
  findings=$(find "$runs/$target/findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | wc -l)
  status=$(cat "$runs/$target.status" 2>/dev/null || echo 1)
  if [ "$status" -ne 0 ] && [ "$findings" -eq 0 ]; then
    findings=1  # stopped without leaving an input: the log says why
  fi
  printf '%-18s %12s %8s %6s %9s\n' "$target" "$executions" "$per_second" "$coverage" "$findings"
  if [ "$findings" -ne 0 ]; then
    failed=1
  fi
done

if [ "$failed" -ne 0 ]; then
  for target in "${targets[@]}"; do
    if [ "$(cat "$runs/$target.status" 2>/dev/null || echo 1)" -ne 0 ]; then
      echo
      echo "==== $target: $runs/$target.log (last lines)"
      tail -n 40 "$runs/$target.log"
      ls "$runs/$target/findings"
    fi
  done
  echo "A fuzz target found a fault: the input that shows it is in $runs/<target>/findings/." >&2
  exit 1
fi
