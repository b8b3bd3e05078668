#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test:
# the native unit tests, then the end-to-end tests under Wine on a private Xvfb,
# then the release packages in a fresh Wine prefix.
# Exits non-zero when anything fails.
#   scripts/test.sh                     everything
#   scripts/test.sh --e2e-only [ARGS]   skip the native tests; ARGS go to the
#                                       Windows ctest, e.g. -R MainWindowTest.Exit
#                                       (with ARGS the release packages are left out)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=1
if [ "${1:-}" = "--e2e-only" ]; then
  native=0
  shift
fi
ctest_args=("$@")

"$root/scripts/deps.sh"
"$root/scripts/build.sh"

failed=0
start=$SECONDS
if [ "$native" = 1 ]; then
  echo "== Native tests"
  (cd "$root/build/native" && ctest --output-on-failure -j "$(nproc)") || failed=1
fi

echo "== End-to-end tests (Wine, Xvfb)"
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
cleanup() {
  qx_wine_stop
  qx_stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM
e2e_start=$SECONDS
QX_XVFB_LOG="$root/build/xvfb.log" qx_start_xvfb
qx_wine_prepare "$root/build/wineprefix"
echo "Wine ready on DISPLAY $DISPLAY in $((SECONDS - e2e_start)) s"
(cd "$root/build/win" && ctest --output-on-failure "${ctest_args[@]}") || failed=1

# The release packages in a fresh prefix of their own, once the run's own Wine
# has stopped: a second prefix booted beside a freshly made one slowed the
# fresh one's programs by seconds at a time for a while.
if [ ${#ctest_args[@]} -eq 0 ]; then
  echo "== Release packages (Wine, a fresh prefix)"
  qx_wine_stop
  "$root/scripts/test-release.sh" "$root/build/win" || failed=1
fi

shots="$root/build/win/screenshots"
[ -d "$shots" ] && echo "Screenshots: $shots" && ls "$shots"
echo "All tests took $((SECONDS - start)) s"
exit "$failed"
