#!/usr/bin/env bash
# Sets up what is missing, builds, and starts the desktop program orbeta in the
# per-user workspace (made on first start). Arguments go to orbeta
# (--workspace DIR chooses another workspace).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DORBETA_TESTS=OFF -DORBETA_BENCH=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run: orbeta needs a display (for a virtual one: xvfb-run -a scripts/run.sh);" >&2
  echo "run: the command-line program is build/cli/orbeta-cli" >&2
  exit 1
fi
exec build/app/orbeta "$@"
