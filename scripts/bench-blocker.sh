#!/usr/bin/env bash
# The blocker's speed and cost under Wine: scripts/bench-blocker.sh [idle seconds]
# Builds, starts a private Xvfb and the bench's Wine prefix, runs
# build/win/blocker_bench.exe, and adds the wineserver's CPU time over the idle
# minute without and with the blocker.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
idle=${1:-60}
"$root/scripts/deps.sh"
"$root/scripts/build.sh" >/dev/null
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
trap 'qx_wine_stop; qx_stop_xvfb' EXIT
qx_start_xvfb
qx_wine_prepare "$root/build/wineprefix"
win() { echo "Z:${1//\//\\}"; }
server_cpu() {  # user + system time of this prefix's wineserver, in clock ticks
  local pid
  pid=$(pgrep -n -x wineserver || true)
  [ -n "$pid" ] && awk '{ print $14 + $15 }' "/proc/$pid/stat" || echo 0
}
hz=$(getconf CLK_TCK)
qx_fixed_layout wine "$root/build/win/blocker_bench.exe" "$(win "$root/build/dist")" \
  "$(win "$root/build/win/e2e-tools")" "$idle" | while IFS= read -r line; do
  line=${line%$'\r'}
  echo "$line"
  case "$line" in
    "phase end") awk -v a="$start" -v b="$(server_cpu)" -v hz="$hz" -v what="$phase" -v s="$idle" \
      'BEGIN { printf "wineserver CPU %s: %.2f s = %.2f%% of one core\n", what, (b - a) / hz, 100 * (b - a) / hz / s }' ;;
    phase*) phase=${line#phase }; phase=${phase% *}; start=$(server_cpu) ;;
  esac
done
