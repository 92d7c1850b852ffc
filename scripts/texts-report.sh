#!/usr/bin/env bash
# Prints, for each interpretation text base whose sources are in data/texts, the words
# per family (least, median, total), the pairs of texts of one family that share half
# or more of their word 4-grams, and the words the Russian spelling dictionary does not
# know (less the reviewed astrological words of data/texts/spelling-allow.txt). Only a
# report for the reader of the texts: it never fails the build.
# scripts/texts-report.sh [ORBETA-CLI]
cd "$(dirname "$0")/.."
cli=${1:-build-test/cli/orbeta-cli}
declare -A kind=([natal]=natal [deti]=child [geograf]=relocation [gnoz]=forecast [wzaim]=synastry
  [chorar]=horary)
for csr in data/texts/*.csr; do
  stem=${csr%.csr}
  base=$(basename "$stem")
  [ -n "${kind[$base]:-}" ] || continue
  echo "== $base"
  if [ "$base" = gnoz ]; then
    "$cli" forecast --list-keys --orbs-transits data/tr.ao --orbs-progressions data/pr.ao \
      --orbs-directions data/dir.ao 2>/dev/null
  elif [ "$base" = wzaim ]; then
    "$cli" synastry --list-keys --flags 63 --orbs data/0.ao 2>/dev/null
  elif [ "$base" = chorar ]; then
    "$cli" horary --list-keys 2>/dev/null
  else
    "$cli" interpret --list-keys "${kind[$base]}" --orbs data/0.ao --options 2047 2>/dev/null
  fi |
    "$cli" textbase check --base "$stem" --utf8 --require - --stats 2>&1 |
    grep -E '^[^:]+: [0-9]+ keys|^similar:' || true
  if command -v hunspell >/dev/null; then
    files=$(sed -n '1s/^FILES=//p' "$csr" | tr ' ' '\n' | sed "s|^|data/texts/|")
    unknown=$(grep -hv '^[@*=]' $files 2>/dev/null | hunspell -d ru_RU -l | sort -u |
      grep -vxFf data/texts/spelling-allow.txt || true)
    echo "spelling, unknown words: $(printf '%s' "$unknown" | grep -c . || true)"
    [ -z "$unknown" ] || printf '%s\n' "$unknown" | tr '\n' ' ' | fold -s -w 100; echo
  fi
done
exit 0
