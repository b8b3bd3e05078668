#!/usr/bin/env bash
# Compile from a large template against a copy of it, under Wine, on the
# program's own file operations: scripts/bench.sh [MB]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" >/dev/null
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
trap qx_wine_stop EXIT
qx_wine_prepare "$root/build/wineprefix"
qx_fixed_layout wine "$root/build/win/compile_bench.exe" "${1:-256}"
