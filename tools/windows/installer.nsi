; The Windows installer. Built by package.sh:
;   makensis -DVERSION=6.0 -DSTAGE=<gathered program folder> -DOUTFILE=<setup.exe> -DICON=<.ico>
;            [-DSIGN=<sign.sh>]
;
; Per user by default, into %LOCALAPPDATA%\Programs\Tirvelon; run elevated it installs for every
; user into Program Files. /S installs silently, /D=<folder> (last on the command line) picks
; the folder. The uninstaller removes the program and its logon start value and keeps the user's
; settings (HKCU\Software\Tirvelon), so a reinstall finds the same choices.

Unicode true
; The program is 64-bit, and so is its installer (it runs where the program runs).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

; With a code-signing certificate (package.sh passes -DSIGN=<sign.sh>) the uninstaller is signed
; before it is packed into the installer, and the installer once it is written; a failed
; signature fails the build.
!ifdef SIGN
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Tirvelon"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tirvelon"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir ""
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tirvelon.exe"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Arabic"

Var ForEveryone

!macro ChooseScope
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $ForEveryone 1
    SetShellVarContext all
  ${Else}
    StrCpy $ForEveryone 0
    SetShellVarContext current
  ${EndIf}
!macroend

Function .onInit
  !insertmacro ChooseScope
  ${If} $INSTDIR == ""
    ${If} $ForEveryone == 1
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tirvelon.exe" "" "$INSTDIR\tirvelon.exe" 0

  ; SHCTX is HKLM for every user, HKCU for one.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tirvelon.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  ; Installed for every user when the machine-wide entry points at this folder.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; What the installer put there, and nothing else: the folder may hold a user's own files.
  Delete "$INSTDIR\tirvelon.exe"
  Delete "$INSTDIR\*.dll"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\multimedia"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\Data"
  RMDir /r "$INSTDIR\licences"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; The logon start value belongs to the program; the settings belong to the user and stay.
  DeleteRegValue HKCU "${RUN_KEY}" "Delkaro"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
