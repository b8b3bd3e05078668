#!/usr/bin/env bash
# The configurator's peak working set beside a plain window doing the same
# visible work, under Wine on a private Xvfb: scripts/bench-memory.sh [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" >/dev/null
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
trap 'qx_wine_stop; qx_stop_xvfb' EXIT
qx_start_xvfb
qx_wine_prepare "$root/build/wineprefix"
win() { echo "Z:${1//\//\\}"; }
qx_fixed_layout wine "$root/build/win/memory_bench.exe" "$(win "$root/build/dist/Quellanix.exe")" \
  "$(win "$root/build/win/plain_window.exe")" "${1:-7}"
