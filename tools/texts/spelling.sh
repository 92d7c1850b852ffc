#!/bin/sh
# Spelling of every shipped text: the words of the text bases (data/texts) and of the
# control files with texts (data/grad_ch.ctl, data/star.ctl) that the Russian
# dictionary of hunspell does not know and that are not in the reviewed list
# data/texts/spelling-allow.txt. Each such word is listed with the first line where
# it occurs, and the check fails.
# spelling.sh SOURCE-DIR
set -e
src=$1
command -v hunspell >/dev/null || { echo "hunspell is missing (scripts/setup.sh installs it)"; exit 1; }
[ -f /usr/share/hunspell/ru_RU.dic ] || { echo "the dictionary hunspell-ru is missing"; exit 1; }
files=$(ls "$src"/data/texts/*.csr "$src"/data/grad_ch.ctl "$src"/data/star.ctl 2>/dev/null || true)
allow="$src/data/texts/spelling-allow.txt"
# Lines that are printed: not block, comment, value or directive lines, not FILES=.
unknown=$(for f in $files; do grep -v -e '^[@*=#]' -e '^FILES=' "$f"; done |
  hunspell -d ru_RU -l | sort -u | grep -vxF -f "$allow" || true)
[ -n "$unknown" ] || { echo "spelling: every word known"; exit 0; }
echo "$unknown" | while read -r word; do
  where=$(grep -n -w -m1 -F -- "$word" $files | head -1 | cut -d: -f1,2)
  echo "$where: unknown word: $word"
done
echo "spelling: $(echo "$unknown" | wc -l) unknown words (fix them, or add reviewed terms to data/texts/spelling-allow.txt)"
exit 1
