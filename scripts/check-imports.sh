#!/usr/bin/env bash
# Fails when a program imports a DLL the system does not always load from its
# own folder (the KnownDLLs and the API sets): any other is searched for
# beside the program first, where a file planted in a writable folder would
# run as part of it. Prints each such import.
#   scripts/check-imports.sh OBJDUMP PROGRAM
set -euo pipefail
objdump=$1 program=$2
known=' advapi32.dll clbcatq.dll combase.dll comdlg32.dll coml2.dll difxapi.dll gdi32.dll
  gdiplus.dll imagehlp.dll imm32.dll kernel32.dll msctf.dll msvcrt.dll normaliz.dll nsi.dll
  ntdll.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll sechost.dll setupapi.dll shcore.dll
  shell32.dll shlwapi.dll user32.dll wldap32.dll ws2_32.dll '
imports=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || { echo "$program: no imports found"; exit 1; }
bad=0
for dll in $imports; do
  case "$dll" in api-ms-win-* | ext-ms-win-*) continue ;; esac
  case " $(echo $known) " in *" $dll "*) ;; *)
    echo "$program imports $dll, which the system may load from beside it"
    bad=1 ;;
  esac
done
[ "$bad" = 0 ] && echo "Imports, all from the system's folder: $(echo $imports)"
exit "$bad"
