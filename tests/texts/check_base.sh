#!/bin/sh
# The shipped texts of one interpretation base against the keys its report can look up
# with the shipped orb file and every option: each has a text at least its class's
# length, in the form of the program's texts; the child's base repeats no natal text.
# check_base.sh ORBETA-CLI SOURCE-DIR BASE REPORT
set -e
cli=$1
src=$2
base=$3
kind=$4
ws=$(mktemp -d)
trap 'rm -rf "$ws"' EXIT
keys=$("$cli" --workspace "$ws" interpret --list-keys "$kind" --orbs "$src/data/0.ao" --options 2047)
[ -n "$keys" ]
against=""
[ "$base" != deti ] || against="--against $src/data/texts/natal"
printf '%s\n' "$keys" | "$cli" --workspace "$ws" textbase check --base "$src/data/texts/$base" \
  --utf8 --require - --shipping --floors "$src/data/texts/floors.txt" $against
