#!/usr/bin/env bash
# Runs a Windows program under the test bench's Wine: CTest's emulator for the
# end-to-end tests. scripts/test.sh sets DISPLAY and WINEPREFIX; run alone, it
# uses build/wineprefix and needs a display (scripts/test.sh starts one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"  # qx_fixed_layout
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec.sh: no DISPLAY; run the tests through scripts/test.sh, which starts Xvfb" >&2
  exit 2
fi
if [ ! -f "$WINEPREFIX/.quellanix-setup" ]; then
  echo "wine-exec.sh: no Wine prefix at $WINEPREFIX; run scripts/test.sh once to make it" >&2
  exit 2
fi
# Not exec: a program that ends before it can print anything (Wine failing to
# start it, say) still leaves a line in the test's output saying how it ended.
started=$(date +%s%N)
status=0
qx_fixed_layout wine "$@" || status=$?
if [ "$status" != 0 ]; then
  echo "wine-exec.sh: $1 exited with code $status after $((($(date +%s%N) - started) / 1000000)) ms" >&2
fi
exit "$status"
