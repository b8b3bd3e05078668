#!/usr/bin/env bash
# Builds the release packages into build/release/:
#   Quellanix-<version>-win64.zip   the folder Quellanix-<version>\ with Quellanix.exe,
#                                   quellanix.ext, quellanix.chm, README.txt, LICENSE.txt
#   Quellanix-<version>-setup.exe   the installer (for the current user, no administrator rights)
#   <package>.sha256                each package's SHA-256, as sha256sum -c reads it
# The version comes from common/version.h, like the programs'.
#   scripts/release.sh [--no-build] [OUT]   --no-build: package what build/dist holds
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = --no-build ]; then
  shift
else
  "$root/scripts/deps.sh"
  "$root/scripts/build.sh" >/dev/null
fi
define() { sed -n "s/^#define $1 \"\\(.*\\)\"$/\\1/p" "$root/common/version.h"; }
version4=$(define QX_VERSION_TEXT)  # 2.1.0.0
version=${version4%.*}               # 2.1.0
out=${1:-$root/build/release}
stage="$out/stage/Quellanix-$version"
rm -rf "$out"
mkdir -p "$stage"
cp "$root/build/dist/Quellanix.exe" "$root/build/dist/quellanix.ext" "$root/build/dist/quellanix.chm" "$stage/"
# Windows line ends for the texts a user opens in Notepad.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$root/installer/README.txt" >"$stage/README.txt"
sed -e 's/$/\r/' "$root/installer/LICENSE.txt" >"$stage/LICENSE.txt"
zip_name="Quellanix-$version-win64.zip"
(cd "$stage/.." && zip -q -X "$out/$zip_name" "Quellanix-$version/"{Quellanix.exe,quellanix.ext,quellanix.chm,README.txt,LICENSE.txt})
setup_name="Quellanix-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DVERSION4="$version4" -DCOMPANY="$(define QX_COMPANY_NAME)" \
  -DPRODUCT="$(define QX_INTERNAL_NAME)" -DSITE="$(define QX_WEB_SITE)" \
  -DSUPPORT="$(define QX_SUPPORT_EMAIL)" -DICON="$root/assets/quellanix.ico" -DSTAGE="$stage" \
  -DOUTFILE="$out/$setup_name" \
  "$root/installer/quellanix.nsi"
rm -rf "$out/stage"
(cd "$out" && for p in "$zip_name" "$setup_name"; do sha256sum "$p" >"$p.sha256"; done)
echo "Built in $out:"
ls -l "$out"
