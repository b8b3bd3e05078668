; The Quellanix installer: for the current user, without administrator rights.
; Quellanix writes the blockers it compiles into its own folder, so it is
; installed where the user may write: the user's local programs folder.
; scripts/release.sh passes VERSION (2.1.0), VERSION4 (2.1.0.0), COMPANY,
; PRODUCT, SITE, SUPPORT (from common/version.h), ICON, STAGE (the files to
; install) and OUTFILE.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quellanix"
; The main window's class: while one exists, Quellanix is running.
!define MAIN_WINDOW_CLASS "QuellanixMainWindow"

Name "Quellanix ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quellanix"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
VIProductVersion "${VERSION4}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${COMPANY}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION4}"
VIAddVersionKey "ProductVersion" "${VERSION4}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${COMPANY}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Quellanix writes the blockers it compiles into its own folder, so it must be a folder you may write to: your own programs folder below is one. Folders you may not write to, such as Program Files, are refused."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quellanix.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Quellanix"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Files of a running Quellanix cannot be replaced or removed: say so before
; anything is written or removed, and end with exit code 2.
!macro REFUSE_WHILE_RUNNING WHAT
  retry:
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Quellanix is running. Close it, then click Retry to ${WHAT}; Cancel changes nothing." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro REFUSE_WHILE_RUNNING "install"
FunctionEnd

Function un.onInit
  !insertmacro REFUSE_WHILE_RUNNING "uninstall"
FunctionEnd

; Install is unavailable for a folder the user may not write to: Program Files
; and Windows' own, and any other where a test file cannot be made in the
; nearest folder that exists.
!macro REFUSE_UNDER ROOT
  StrLen $3 "${ROOT}"
  StrCpy $2 $INSTDIR $3
  ${If} $2 == "${ROOT}"
    Abort
  ${EndIf}
!macroend

Function .onVerifyInstDir
  ${If} $INSTDIR == ""
    Abort
  ${EndIf}
  !insertmacro REFUSE_UNDER "$PROGRAMFILES64"
  !insertmacro REFUSE_UNDER "$PROGRAMFILES32"
  !insertmacro REFUSE_UNDER "$WINDIR"
  StrCpy $1 $INSTDIR
  ${Do}
    IfFileExists "$1\*.*" 0 +2
      ${Break}
    ${GetParent} $1 $1
    ${If} $1 == ""
      Abort
    ${EndIf}
  ${Loop}
  ClearErrors
  FileOpen $2 "$1\~quellanix-write-test.tmp" w
  ${If} ${Errors}
    Abort
  ${EndIf}
  FileClose $2
  Delete "$1\~quellanix-write-test.tmp"
FunctionEnd

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
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://${SITE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "mailto:${SUPPORT}"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Exactly what was installed: blockers compiled into the folder stay, and so
; does the folder while it holds them; the user is told which stay.
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
  StrCpy $3 ""
  FindFirst $1 $2 "$INSTDIR\*.exe"
  ${DoWhile} $2 != ""
    StrCpy $3 "$3$\r$\n    $2"
    DetailPrint "Kept: $INSTDIR\$2"
    FindNext $1 $2
  ${Loop}
  FindClose $1
  ${If} $3 != ""
    MessageBox MB_OK|MB_ICONINFORMATION "These blockers you compiled stay in $INSTDIR:$3$\r$\n$\r$\nA running blocker keeps blocking until it is stopped with its password: start the same file again in the account it runs in. Delete the files yourself when you no longer need them." /SD IDOK
  ${EndIf}
  RMDir "$INSTDIR"
SectionEnd
