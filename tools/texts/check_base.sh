#!/bin/sh
# The shipped texts of one interpretation base against the keys its report can look up
# with the shipped orb files and every option: each has a text in the form of the
# program's texts (at least its class's length where the base has word floors); the
# child's base repeats no natal text.
# check_base.sh ORBETA-CLI SOURCE-DIR BASE REPORT [STAMP]
# With STAMP (the build step) it also writes the reader's report of the base into
# STAMP.report, prints its summary, and touches STAMP when the base passes.
set -e
cli=$1
src=$2
base=$3
kind=$4
ws=$(mktemp -d)
trap 'rm -rf "$ws"' EXIT
if [ "$kind" = forecast ]; then
  keys=$("$cli" --workspace "$ws" forecast --list-keys --orbs-transits "$src/data/tr.ao" \
    --orbs-progressions "$src/data/pr.ao" --orbs-directions "$src/data/dir.ao")
  # Families whose texts are still being written (reviewed; empty when the base is done).
  unwritten=""
  [ -z "$unwritten" ] || keys=$(printf '%s\n' "$keys" | grep -v -e "$unwritten")
  floors=""
elif [ "$kind" = synastry ] || [ "$kind" = horary ]; then
  flags=""
  [ "$kind" = horary ] || flags="--flags 63 --orbs $src/data/0.ao"
  keys=$("$cli" --workspace "$ws" "$kind" --list-keys $flags)
  # Aspects of the cusps between two charts have no texts yet (reviewed; empty when
  # the base is done).
  unwritten=""
  [ "$kind" = horary ] || unwritten='^h[0-9][0-9][ph][0-9][0-9]a\|^p[0-9][0-9]h[0-9][0-9]a'
  [ -z "$unwritten" ] || keys=$(printf '%s\n' "$keys" | grep -v -e "$unwritten")
  floors="--floors $src/data/texts/floors-$base.txt"
else
  keys=$("$cli" --workspace "$ws" interpret --list-keys "$kind" --orbs "$src/data/0.ao" \
    --options 2047)
  floors="--floors $src/data/texts/floors.txt"
  [ ! -f "$src/data/texts/floors-$base.txt" ] || floors="--floors $src/data/texts/floors-$base.txt"
fi
# The relationship base shares a text only between the two directions of a pair and
# between the minor aspects that mirror each other.
[ "$base" != wzaim ] || awk -f "$src/tools/texts/wzaim_sharing.awk" "$src"/data/texts/wzaim*.csr
[ -n "$keys" ]
against=""
[ "$base" != deti ] || against="--against $src/data/texts/natal"
printf '%s\n' "$keys" | "$cli" --workspace "$ws" textbase check --base "$src/data/texts/$base" \
  --utf8 --require - --shipping $floors $against
stamp=${5:-}
[ -n "$stamp" ] || exit 0
report=$stamp.report
printf '%s\n' "$keys" | "$cli" --workspace "$ws" textbase check --base "$src/data/texts/$base" \
  --utf8 --require - --stats >"$report" || true
grep -E '^[^:]+: [0-9]+ keys' "$report" | sed "s/^/$base: /"
echo "$base: $(grep -c '^similar:' "$report") pairs of near-copies," \
  "$(grep -c '^shared in' "$report") sentences of 8+ words shared by two to five texts," \
  "$(grep -c '^repeated in' "$report") repeated in more than five (see $report)"
touch "$stamp"
