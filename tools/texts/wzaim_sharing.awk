# The keys one block of the relationship base may share: the same aspect of a pair
# of bodies in both directions (your i with the partner's j, your j with the
# partner's i), and the semisextile with the quincunx or the semisquare with the
# sesquiquadrate of the same pair. Prints "file:line: ..." for any other sharing.
# awk -f wzaim_sharing.awk FILE...
function partner(a) {
  return a == "030" ? "150" : a == "150" ? "030" : a == "045" ? "135" : a == "135" ? "045" : a
}
/^@/ && !/^@@/ && NF > 1 {
  sub(/^@/, "")
  ok = 1
  for (k = 1; k <= NF; ++k)
    if ($k !~ /^p[0-9][0-9]p[0-9][0-9]a[0-9][0-9][0-9]$/) ok = 0
  if (ok) {
    i = substr($1, 2, 2); j = substr($1, 5, 2); a = substr($1, 8, 3)
    for (k = 2; k <= NF; ++k) {
      ki = substr($k, 2, 2); kj = substr($k, 5, 2); ka = substr($k, 8, 3)
      if (!((ki == i && kj == j) || (ki == j && kj == i))) ok = 0
      if (ka != a && ka != partner(a)) ok = 0
    }
  }
  if (!ok) { print FILENAME ":" FNR ": keys " $0 " may not share one text"; bad = 1 }
}
END { exit bad }
