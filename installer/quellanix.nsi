; The Quellanix installer: for the current user, without administrator rights.
; Quellanix writes the blockers it compiles into its own folder, so it is
; installed where the user may write: the user's local programs folder.
; scripts/release.sh passes VERSION (2.1.0), VERSION4 (2.1.0.0), COMPANY,
; PRODUCT, STAGE (the files to install) and OUTFILE.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quellanix"

Name "Quellanix ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quellanix"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
VIProductVersion "${VERSION4}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${COMPANY}"
VIAddVersionKey "FileDescription" "Quellanix ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION4}"
VIAddVersionKey "ProductVersion" "${VERSION4}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${COMPANY}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Quellanix"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\Quellanix.exe"
  File "${STAGE}\quellanix.ext"
  File "${STAGE}\quellanix.chm"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quellanix.lnk" "$INSTDIR\Quellanix.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quellanix"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quellanix.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Exactly what was installed: blockers compiled into the folder stay, and so
; does the folder while it holds them.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\Quellanix.exe"
  Delete "$INSTDIR\quellanix.ext"
  Delete "$INSTDIR\quellanix.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\Quellanix.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  RMDir "$INSTDIR"
SectionEnd
