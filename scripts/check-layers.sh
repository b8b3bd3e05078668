#!/usr/bin/env bash
# Fails on any #include of the project's own headers that runs against the
# layers: each folder may include only the folders listed for it (the longest
# matching folder decides), and no two folders may include each other, even
# where the table lets them. A row may name a file stem instead of a folder
# (ui/win_runtime stands for ui/win_runtime.h and .cpp): the configurator's
# parts of ui/, which the blocker may not use. Run by the test command;
# prints each offence.
#   scripts/check-layers.sh [ROOT]
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)

# folder          may include (besides itself)
rules='
common
catalogue         common
cipher            common
format            common catalogue
runtime           common
runtime/win32     common runtime
app               common catalogue cipher format runtime builder
builder           common catalogue cipher format runtime
about             common runtime
ui                common runtime runtime/win32 assets
ui/image_box      common runtime runtime/win32 ui
ui/win_runtime    common runtime runtime/win32 ui
app/win32         common catalogue cipher format runtime runtime/win32 app builder about about/win32 ui ui/image_box ui/win_runtime assets
about/win32       common runtime runtime/win32 about ui assets
blocker           common catalogue cipher format runtime runtime/win32 ui
settings_tool     common catalogue format
assets            common assets
bench             common catalogue format runtime runtime/win32 ui ui/image_box app/win32 assets
'

layer_of() {  # the longest rule folder (or file stem) that contains path $1
  local path=$1 best=""
  while read -r folder _; do
    [ -n "$folder" ] || continue
    case "$path" in "$folder"/* | "$folder".*) [ ${#folder} -gt ${#best} ] && best=$folder ;; esac
  done <<<"$rules"
  echo "$best"
}
allowed() {  # the folders layer $1 may include
  awk -v l="$1" '$1 == l { $1 = ""; print l $0 }' <<<"$rules"
}

cd "$root"
bad=0
checked=0
declare -A first_include  # "from to" -> where `from` first includes `to`
while IFS= read -r file; do
  from=$(layer_of "$file")
  case "$file" in tests/*) continue ;; esac
  if [ -z "$from" ]; then
    echo "$file: in no layer (add its folder to scripts/check-layers.sh)"
    bad=1
    continue
  fi
  ok=" $(allowed "$from") "
  while IFS=: read -r line header; do
    to=$(layer_of "$header")
    checked=$((checked + 1))
    [ "$to" = "$from" ] || : "${first_include["$from $to"]:=$file:$line}"
    case "$ok" in *" $to "*) ;; *)
      echo "$file:$line: includes \"$header\" ($to), which layer $from may not use"
      bad=1 ;;
    esac
  done < <(grep -n -o -E '^#include "[^"]+"' "$file" | sed -E 's/#include "([^"]+)"/\1/')
done < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp' '*.rc' | grep -v '^build/')
for pair in "${!first_include[@]}"; do
  read -r from to <<<"$pair"
  if [[ "$from" < "$to" && -n "${first_include["$to $from"]:-}" ]]; then
    echo "$from and $to include each other: ${first_include[$pair]} and ${first_include["$to $from"]}"
    bad=1
  fi
done
if [ "$bad" = 0 ]; then
  echo "Layers: $checked includes follow the layers."
fi
exit "$bad"
