#!/usr/bin/env bash
# Checks a compiled help file: it is a compiled help file (ITSF) and holds the
# contents, the index and every file the help project lists.
#   scripts/check-help.sh quellanix.chm help/quellanix.hhp
set -euo pipefail
chm=$1 project=$2
[ "$(head -c 4 "$chm")" = ITSF ] || { echo "$chm is not a compiled help file"; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
extract_chmLib "$chm" "$out" >/dev/null
missing=0
files=$(sed -n '/^\[FILES\]/,/^\[/p' "$project" | grep -v -e '^\[' -e '^$')
for f in $files quellanix.hhc quellanix.hhk; do
  f=${f%$'\r'}
  if [ ! -s "$out/$f" ]; then
    echo "missing from $chm: $f"
    missing=1
  elif ! cmp -s "$out/$f" "$(dirname "$project")/$f"; then
    echo "differs from its source: $f"
    missing=1
  fi
done
[ "$missing" = 0 ] && echo "$chm holds all $(echo "$files" | wc -w) listed files, the contents and the index"
exit "$missing"
