#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default
# 30) from the seed corpus kept in fuzz/corpus/. Inputs the fuzzer finds are
# kept in a scratch folder, not in the repository; a crash leaves its input
# in the current folder and fails the run.
#
#   fuzz/run.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONAVEL_FUZZ=ON \
  -DSONAVEL_BUILD_GUI=OFF -DSONAVEL_BUILD_TESTS=OFF -DSONAVEL_BUILD_BENCH=OFF > /dev/null
cmake --build build-fuzz -j"$(nproc)"
scratch=$(mktemp -d /tmp/sonavel-fuzz-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
for target in reader colorize_transpose; do
  mkdir -p "$scratch/$target"
  echo "fuzz_$target: $seconds s"
  status=0
  build-fuzz/fuzz/fuzz_$target -max_total_time="$seconds" \
    "$scratch/$target" "fuzz/corpus/$target" > "$scratch/$target.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    tail -40 "$scratch/$target.log"
    exit "$status"
  fi
  grep -E "^Done" "$scratch/$target.log"
done
