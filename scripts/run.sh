#!/usr/bin/env bash
# Installs what is missing, builds, and starts the configurator under Wine on
# the current X display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
run.sh: there is no X display (DISPLAY is not set), so the window has nowhere to show.
Run it from a desktop session, or start a virtual display first, for example:
  Xvfb :99 -screen 0 1280x1024x24 &
  DISPLAY=:99 scripts/run.sh
and look at it with:  DISPLAY=:99 import -window root shot.png
MSG
  exit 2
fi
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
qx_wine_prepare "$root/build/wineprefix-run"
echo "Starting $root/build/dist/Quellanix.exe"
qx_fixed_layout wine "$root/build/dist/Quellanix.exe"
