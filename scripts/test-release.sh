#!/usr/bin/env bash
# The release packages under Wine, as a parent would meet them: the zip holds
# exactly its five files; the installer, run silently in a fresh prefix, puts
# the program into the user's local programs folder with a Start-menu shortcut
# and an entry among the installed programs; the installed program compiles a
# blocker into its folder; the silent uninstaller removes all it installed and
# leaves the compiled blocker. Run by scripts/test.sh after the other Wine tests.
#   scripts/test-release.sh [windows build folder]   (default build/win)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win}
out="$root/build/release-test"
"$root/scripts/release.sh" --no-build "$out/packages" >/dev/null
fail() { echo "test-release: $*"; exit 1; }

zip=$(ls "$out"/packages/Quellanix-*-win64.zip)
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$listed" = "LICENSE.txt Quellanix.exe README.txt quellanix.chm quellanix.ext " ] ||
  fail "the zip holds: $listed"

# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
qx_start_xvfb  # a display of its own
rm -rf "$out/prefix"
qx_wine_prepare "$out/prefix" >/dev/null
trap 'qx_wine_stop; qx_stop_xvfb' EXIT
users="$WINEPREFIX/drive_c/users/$(id -un)"
installed="$users/AppData/Local/Programs/Quellanix"
shortcut="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quellanix.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quellanix'

qx_fixed_layout wine "$(ls "$out"/packages/Quellanix-*-setup.exe)" /S
for f in Quellanix.exe quellanix.ext quellanix.chm README.txt LICENSE.txt Uninstall.exe; do
  [ -f "$installed/$f" ] || fail "not installed: $f"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
qx_fixed_layout wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no entry among the installed programs"

QX_INSTALLED_DIR='C:\users\'"$(id -un)"'\AppData\Local\Programs\Quellanix' \
  "$root/scripts/wine-exec.sh" "$build/tests/installed_e2e_tests.exe"

# The uninstaller runs a copy of itself from a temporary folder and returns at
# once: wait for its work to show.
qx_fixed_layout wine "$installed/Uninstall.exe" /S
for _ in $(seq 100); do
  [ ! -e "$installed/Uninstall.exe" ] && ! qx_fixed_layout wine reg query "$key" >/dev/null 2>&1 && break
  sleep 0.2
done
left=$(cd "$installed" && ls -A | tr '\n' ' ')
[ "$left" = "Kids.exe " ] || fail "left in the program's folder: '$left' (only the compiled blocker should stay)"
[ ! -e "$shortcut" ] || fail "the shortcut is still there"
if qx_fixed_layout wine reg query "$key" >/dev/null 2>&1; then fail "the uninstall entry is still there"; fi
echo "test-release: zip, silent install, compile in place and silent uninstall as expected"
