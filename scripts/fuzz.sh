#!/usr/bin/env bash
# Runs each fuzz target under libFuzzer for a while, starting from its corpus:
# scripts/fuzz.sh [SECONDS] [TARGET...]. Only the fuzz targets and the libraries they
# test are built. New inputs that reach new code go to build-fuzz/corpus/<target>;
# a finding is written to build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang++ >/dev/null || { echo "fuzz: clang++ is not installed"; exit 0; }
seconds=${1:-30}
shift || true
CXX=clang++ BUILD_TARGET=fuzz_targets scripts/build.sh build-fuzz -DORBETA_LIBFUZZER=ON \
  -DORBETA_SANITIZE=ON -DORBETA_TESTS=OFF -DORBETA_BENCH=OFF
targets=("$@")
if ((${#targets[@]} == 0)); then
  for t in fuzz/corpus/*/; do targets+=("$(basename "$t")"); done
fi
mkdir -p build-fuzz/findings
status=0
for name in "${targets[@]}"; do
  echo "== $name"
  work=build-fuzz/corpus/$name
  mkdir -p "$work"
  SE_EPHE_PATH= "build-fuzz/fuzz/$name" -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix="build-fuzz/findings/$name-" "$work" "fuzz/corpus/$name" || status=1
done
exit $status
