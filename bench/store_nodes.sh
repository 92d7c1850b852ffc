#!/usr/bin/env bash
# Random puts and deletes, one orbeta-cli process each, on a fresh database; then the
# check of its nodes (how many no entry leads to). Usage: bench/store_nodes.sh CLI [N]
set -euo pipefail
cli=$1
n=${2:-3000}
ws=$(mktemp -d)
trap 'rm -rf "$ws"' EXIT
db() { "$cli" --workspace "$ws" db --base nodes "$@"; }
db create
RANDOM=1
start=$(date +%s.%N)
for ((i = 0; i < n; i++)); do
  # 400 keys of 4..20 characters, so that leaves fill and split often.
  k=$((RANDOM % 400))
  key=$(printf "k%0$((3 + k % 17))d" "$k")
  if ((RANDOM % 10 < 7)); then
    db put --key "$key" --field "2=value $i" --field "7=$(printf '%*s' $((RANDOM % 60)) x)"
  else
    db delete --key "$key" 2>/dev/null || true
  fi
done
end=$(date +%s.%N)
echo "$n processes in $(echo "$end - $start" | bc) s"
db check
db check --json
