#!/usr/bin/env bash
# Runs each fuzz target under libFuzzer for a while: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang++ >/dev/null || { echo "fuzz: clang++ is not installed"; exit 0; }
seconds=${1:-30}
CXX=clang++ scripts/build.sh build-fuzz -DORBETA_LIBFUZZER=ON -DORBETA_SANITIZE=ON -DORBETA_BENCH=OFF
for t in build-fuzz/fuzz/fuzz_*; do
  [ -x "$t" ] || continue
  echo "== $t"
  "$t" -max_total_time="$seconds" -max_len=4096
done
