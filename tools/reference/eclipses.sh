#!/usr/bin/env bash
# Writes tests/fixtures/eclipses_1900_2100.txt: every eclipse of 1900–2100 from the
# ephemeris library (libswe-dev), sorted by moment. The near-limit eclipses whose kind
# the lunation limits cannot decide get a fifth column: the kind the finder gives
# (0: not found). Run from the repository root.
set -euo pipefail
out=tests/fixtures/eclipses_1900_2100.txt
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cc -O2 -o "$tmp/eclipses" tools/reference/eclipses_swe.c $(pkg-config --cflags --libs swe) -lm
{
  echo "# luminary kind syzygy-jd-ut greatest-jd-ut [finder-kind]: libswe $(pkg-config --modversion swe)"
  "$tmp/eclipses" | sort -k3,3n | awk '
    BEGIN {  # near-limit cases by the Julian day number of their syzygy
      near["1 2424884"] = 2; near["1 2427808"] = 0; near["1 2436135"] = 3
      near["1 2483296"] = 2; near["2 2457117"] = 3; near["2 2461605"] = 0
      near["2 2486766"] = 0
    }
    { key = $1 " " int($3 + 0.5); print $0 (key in near ? " " near[key] : "") }'
} >"$out"
wc -l "$out"
