#!/usr/bin/env bash
# Installs with apt whatever the build, the tests and the program need and is
# missing. Safe to run again: packages already present are left alone.
set -euo pipefail

PACKAGES=(
  cmake g++ make pkg-config ccache
  qt6-base-dev qt6-svg-dev libgl-dev qt6-translations-l10n
  libswe-dev swe-basic-data swe-standard-data swetest
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev
  xvfb xauth poppler-utils imagemagick xdotool hyperfine
  fonts-noto-core fonts-dejavu-core
  tzdata
  hunspell hunspell-ru
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
