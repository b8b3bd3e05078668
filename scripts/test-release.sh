#!/usr/bin/env bash
# The release packages under Wine, as a parent would meet them: the zip holds
# exactly its five files in the folder Quellanix-<version>, and each package's
# SHA-256 file matches it; the installer, run silently in a fresh prefix, puts
# the program into the user's local programs folder with a Start-menu shortcut
# and an entry among the installed programs (with its size, site and support
# address); the installed program compiles a blocker into its folder, and
# while it runs the installer says so and changes nothing; the silent
# uninstaller removes all it installed and leaves the compiled blocker. Run by
# scripts/test.sh after the other Wine tests.
#   scripts/test-release.sh [windows build folder]   (default build/win)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win}
out="$root/build/release-test"
"$root/scripts/release.sh" --no-build "$out/packages" >/dev/null
fail() { echo "test-release: $*"; exit 1; }

define() { sed -n "s/^#define $1 \"\\(.*\\)\"$/\\1/p" "$root/common/version.h"; }
version=$(define QX_VERSION_TEXT)
version=${version%.*}
zip="$out/packages/Quellanix-$version-win64.zip"
setup="$out/packages/Quellanix-$version-setup.exe"
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
expected=""
for f in LICENSE.txt Quellanix.exe README.txt quellanix.chm quellanix.ext; do
  expected+="Quellanix-$version/$f "
done
[ "$listed" = "$expected" ] || fail "the zip holds: $listed"
(cd "$out/packages" && sha256sum --quiet -c "${zip##*/}.sha256" "${setup##*/}.sha256") ||
  fail "a package does not match its SHA-256 file"

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

qx_fixed_layout wine "$setup" /S
for f in Quellanix.exe quellanix.ext quellanix.chm README.txt LICENSE.txt Uninstall.exe; do
  [ -f "$installed/$f" ] || fail "not installed: $f"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
qx_fixed_layout wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no entry among the installed programs"
entry() { qx_fixed_layout wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { print $3 }'; }
[ "$(entry URLInfoAbout)" = "https://$(define QX_WEB_SITE)" ] || fail "URLInfoAbout is '$(entry URLInfoAbout)'"
[ "$(entry HelpLink)" = "mailto:$(define QX_SUPPORT_EMAIL)" ] || fail "HelpLink is '$(entry HelpLink)'"
size_kb=$(du -sk --apparent-size "$installed" | cut -f1)
size=$(($(entry EstimatedSize)))
[ "$size" -ge $((size_kb * 9 / 10)) ] && [ "$size" -le $((size_kb * 11 / 10 + 8)) ] ||
  fail "EstimatedSize is $size KB; the folder holds $size_kb KB"

QX_INSTALLED_DIR='C:\users\'"$(id -un)"'\AppData\Local\Programs\Quellanix' \
  QX_SETUP_EXE=$(qx_fixed_layout winepath -w "$setup" 2>/dev/null) \
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
