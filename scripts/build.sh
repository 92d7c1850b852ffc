#!/usr/bin/env bash
# Configures and builds one build directory: scripts/build.sh DIR [cmake options...]
# BUILD_TARGET=<target> builds only that target (and what it needs).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
launcher=()
if command -v ccache >/dev/null; then
  # Paths below the parent folder are hashed relative to it, so several checkouts
  # of the repository side by side share one compiler cache.
  base=$(cd .. && pwd)
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER="env;CCACHE_BASEDIR=$base;CCACHE_NOHASHDIR=1;ccache"
            -DCMAKE_C_COMPILER_LAUNCHER="env;CCACHE_BASEDIR=$base;CCACHE_NOHASHDIR=1;ccache")
fi
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
