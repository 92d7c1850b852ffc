#!/usr/bin/env bash
# Renders every glyph of Sigilum (large and at the small sizes the wheel and the body
# list use) and a Cyrillic pangram in Tabula Mono into one PNG, to look at after
# changing the fonts. Needs ImageMagick (scripts/setup.sh installs it).
# Usage: tools/fonts/preview_fonts.sh [font directory] [output.png]
set -euo pipefail
dir="${1:-$(dirname "$0")/../../data/fonts}"
out="${2:-fonts-preview.png}"
sig="$dir/sigilum.ttf"
mono="$dir/tabmono.ttf"

rows=(
  "bodies|pqrstuvwxy\\\\_Z[^"
  "signs|NOPQRSTUVWXY"
  "aspects|ABCDEFGHIJKL"
  "angles, cusps|lmno\`cfi abdeghjk"
  "houses, 0, ~|123456789:;< 0~"
)
args=(-size 1500x960 xc:white -fill black)
y=70
for r in "${rows[@]}"; do
  label="${r%%|*}"
  text="${r#*|}"
  args+=(-font "$mono" -pointsize 18 -annotate "+10+$y" "$label")
  args+=(-font "$sig" -pointsize 64 -annotate "+190+$y" "$text")
  args+=(-font "$sig" -pointsize 16 -annotate "+1150+$y" "$text")
  y=$((y + 100))
done
args+=(-font "$sig" -pointsize 12 -annotate "+190+$y" "pqrstuvwxy\\\\_Z[^ NOPQRSTUVWXY ABCDEFGHIJKL lmno abdeghjk 123456789:;< ~")
y=$((y + 40))
args+=(-font "$sig" -pointsize 20 -annotate "+190+$y" "p 12 N 05 ~  q 29 Y 59  l 03 R 41  a 17 S 00  o I n")
y=$((y + 60))
pangram="Съешь же ещё этих мягких французских булок, да выпей чаю. № 0123456789"
args+=(-font "$mono" -pointsize 22 -annotate "+10+$y" "$pangram")
y=$((y + 36))
args+=(-font "$mono" -pointsize 22 -annotate "+10+$y" "${pangram^^}")
y=$((y + 30))
args+=(-font "$mono" -pointsize 13 -annotate "+10+$y" "$pangram  |ABCDEFGHIJ| |iiiiiiiiii|")
convert "${args[@]}" "$out"
echo "$out"
