#!/usr/bin/env bash
# Runs a Windows program under the test bench's Wine: CTest's emulator for the
# end-to-end tests. scripts/test.sh sets DISPLAY and WINEPREFIX; run alone, it
# uses build/wineprefix and needs a display (scripts/test.sh starts one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
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
exec wine "$@"
