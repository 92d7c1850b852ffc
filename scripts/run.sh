#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Orbeta in the per-user workspace.
# Arguments are handed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DORBETA_TESTS=OFF -DORBETA_BENCH=OFF
if [ $# -eq 0 ]; then
  # the desktop program comes with the application shell; until then the default chart
  exec build/cli/orbeta-cli chart --date "01.01.2000 12:00:00" --gmt 0 --lat 55.45 --lon 37.37
fi
exec build/cli/orbeta-cli "$@"
