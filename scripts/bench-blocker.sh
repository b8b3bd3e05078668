#!/usr/bin/env bash
# The blocker's speed and cost under Wine: scripts/bench-blocker.sh [idle seconds]
# Builds, starts a private Xvfb and the bench's Wine prefix, runs
# build/win/blocker_bench.exe, and adds the CPU time over each idle minute of
# the blocker and of this prefix's wineserver, without and with the blocker,
# alone and beside 60 idle processes (about 10 minutes in all).
# End other Wine programs first: they cost the wineserver time too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
idle=${1:-60}
"$root/scripts/deps.sh"
"$root/scripts/build.sh" >/dev/null
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
qx_wine_session "$root/build/wineprefix"
# The wineserver of this prefix (wineserver64 here) works in a folder named
# after the prefix's device and inode.
server_dir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
server_pid() {
  local pid
  for pid in $(pgrep -f wineserver); do
    case "$(readlink "/proc/$pid/cwd")" in */"$server_dir") echo "$pid" && return ;; esac
  done
}
ticks() { [ -n "$1" ] && awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
hz=$(getconf CLK_TCK)
server=$(server_pid)
qx_fixed_layout wine "$root/build/win/blocker_bench.exe" "$(qx_win_path "$root/build/dist")" \
  "$(qx_win_path "$root/build/win/e2e-tools")" "$idle" | while IFS= read -r line; do
  line=${line%$'\r'}
  case "$line" in
    "phase end")
      blocker_now=$(ticks "$blocker")
      awk -v a="$server_start" -v b="$(ticks "$server")" -v c="$blocker_start" -v d="$blocker_now" \
        -v hz="$hz" -v what="$phase" -v s="$idle" -v has="${blocker:+1}" 'BEGIN {
          printf "idle %d s %s: wineserver %.2f s CPU = %.2f%% of one core", s, what, (b - a) / hz, 100 * (b - a) / hz / s
          if (has) printf "; blocker %.2f s = %.2f%% (target at most %s%%)", (d - c) / hz, 100 * (d - c) / hz / s, (what ~ /,0-extra/ ? "0.3" : "0.5")
          printf "\n" }' ;;
    phase*)
      phase=${line#phase }; phase=${phase% *}
      blocker=$(pgrep -f 'BenchGuard.exe' | head -n 1 || true)
      server_start=$(ticks "$server"); blocker_start=$(ticks "$blocker") ;;
    *) echo "$line" ;;
  esac
done
