#!/usr/bin/env bash
# Start-up time to the visible main window, splash wait excluded, over several runs.
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build="${1:-build}"
runs="${2:-20}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/settings"
# A filled company row, so the company window does not open at start.
"$build/halcyra-cli" demo --clients 1 --folder "$work/program" >/dev/null
cp "$(dirname "$0")/../resources/TipOfDay.TXT" "$work/program/"
printf '[Options]\nTutorial=True\n' >"$work/settings/HCY.ini"
printf '[Options]\nShow%%20Tips%%20at%%20Startup=0\n' >"$work/settings/Halcyra 6.3.ini"
app="$(realpath "$build/halcyra")"
cd "$work/program"
for _ in $(seq "$runs"); do
  HALCYRA_CONFIG_DIR="$work/settings" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
    "$app" --splash-seconds 0 --exit-after-start 2>/dev/null | grep -o '[0-9]* ms'
done | sort -n | awk '{ v[NR] = $1 } END { printf "start-up to main window: median %d ms, min %d ms, max %d ms (%d runs)\n", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
