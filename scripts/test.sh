#!/usr/bin/env bash
# Sets up what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build-test -DORBETA_SANITIZE=ON -DORBETA_BENCH=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export XDG_RUNTIME_DIR=$(mktemp -d)
unset SE_EPHE_PATH
cd build-test
ctest --output-on-failure -j "$(nproc)" --timeout 600
# The reader's report on the interpretation texts (never fails).
cd .. && scripts/texts-report.sh build-test/cli/orbeta-cli
