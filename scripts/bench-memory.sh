#!/usr/bin/env bash
# The configurator's peak working set beside a plain window doing the same
# visible work, under Wine on a private Xvfb: scripts/bench-memory.sh [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" >/dev/null
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
qx_wine_session "$root/build/wineprefix"
qx_fixed_layout wine "$root/build/win/memory_bench.exe" "$(qx_win_path "$root/build/dist/Quellanix.exe")" \
  "$(qx_win_path "$root/build/win/plain_window.exe")" "${1:-7}"
