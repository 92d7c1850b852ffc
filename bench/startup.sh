#!/usr/bin/env bash
# Start-up cost on a warm workspace, with hyperfine (20 runs each):
#   orbeta-cli chart --json against a one-chart swetest process, orbeta-cli calendar,
#   and the desktop program from launch to its first painted chart
#   (ORBETA_QUIT_AFTER_FIRST_CHART ends it there; offscreen, no display needed);
#   then orbeta-cli chart 1000 times in a loop.
# bench/startup.sh [BUILD_DIR]   (default build; a RelWithDebInfo build without sanitizers)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cli=$build/cli/orbeta-cli
app=$build/app/orbeta
ws=$(mktemp -d)/workspace
trap 'rm -rf "$(dirname "$ws")"' EXIT
command -v hyperfine >/dev/null || { echo "startup: hyperfine is not installed (scripts/setup.sh)"; exit 1; }

chart=(chart --date "16.05.1945 08:00:00" --gmt -3 --lat 55.45 --lon 37.37 --json)
# The workspace is made by the first start; stamps of files younger than two seconds
# are not trusted, so one more start after that records them: from then on it is warm.
"$cli" --workspace "$ws" "${chart[@]}" >/dev/null
sleep 3
"$cli" --workspace "$ws" "${chart[@]}" >/dev/null
export QT_QPA_PLATFORM=offscreen
[ -x "$app" ] && ORBETA_QUIT_AFTER_FIRST_CHART=1 "$app" --workspace "$ws" 2>/dev/null || true

q() { printf '%q ' "$@"; }
runs=(-N --warmup 3 --runs 20 --export-json "$(dirname "$ws")/startup.json")
cmds=("$(q "$cli" --workspace "$ws" "${chart[@]}")"
      "$(q swetest -b16.5.1945 -ut5:00:00 -p0123456789mtA -house37.37,55.45,P -eswe -edir/usr/share/libswe/ephe)"
      "$(q "$cli" --workspace "$ws" calendar --date "01.01.2000 12:00:00")")
if [ -x "$app" ]; then
  cmds+=("$(q env ORBETA_QUIT_AFTER_FIRST_CHART=1 "$app" --workspace "$ws")")
fi
hyperfine "${runs[@]}" "${cmds[@]}"
python3 - "$(dirname "$ws")/startup.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"]
med = [x["median"] * 1000 for x in r]
print("medians (ms): orbeta-cli chart %.1f, swetest %.1f (ratio %.2f), calendar %.1f" %
      (med[0], med[1], med[0] / med[1], med[2]) +
      (", desktop to first chart %.1f" % med[3] if len(med) > 3 else ""))
PY

echo "orbeta-cli chart, 1000 times in a loop:"
time (for i in $(seq 1000); do "$cli" --workspace "$ws" "${chart[@]}" >/dev/null; done)
