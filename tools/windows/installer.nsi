; The Windows installer. Built by package.sh:
;   makensis -DVERSION=6.0 -DSTAGE=<gathered program folder> -DOUTFILE=<setup.exe> -DICON=<.ico>
;            [-DSIGN=<sign.sh>]
;
; Per user by default, into %LOCALAPPDATA%\Programs\Tirvelon; run elevated it installs for every
; user into Program Files. /S installs silently, /D=<folder> (last on the command line) picks
; the folder. The uninstaller removes the program and its logon start value and keeps the user's
; settings (HKCU\Software\Tirvelon), so a reinstall finds the same choices.
;
; The program starts at logon, so it nearly always runs when a new version is installed or the
; old one removed. Both ask the copy running from the install folder to close as its window's
; close button does (WM_CLOSE, which saves the choices), wait for it, and stop with a message
; (in silent mode with a non-zero exit code) when it will not go: files of two versions mixed,
; or an uninstall that leaves the program behind, are worse than no change. A copy closed by an
; upgrade is started again afterwards, with the user's own rights.

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
; "Run" starts the program with the user's rights even from an elevated installer.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Arabic"

Var ForEveryone
; 1 once the install closed a running copy, 2 once it started the new one again.
Var Restart

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

; ----- a copy of the program running from the install folder -----------------------------------

!define CLOSE_WAIT_S 15
!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
!define TH32CS_SNAPPROCESS 0x2
!define ERROR_ELEVATION_REQUIRED 740

!macro RunningCopyFunctions un
; Pushes the id of a process running $INSTDIR\tirvelon.exe, or 0. Copies run from other folders
; (an unpacked zip) are left alone; a process whose path cannot be read (another user's, to a
; non-elevated installer) cannot hold a per-user folder and is not counted either.
Function ${un}FindRunningCopy
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $0 0
  System::Call 'kernel32::CreateToolhelp32Snapshot(i ${TH32CS_SNAPPROCESS}, i 0) p .r1'
  ${If} $1 P<> -1
    ; PROCESSENTRY32W on x64: the 8-byte heap id is aligned, hence the padding after the id.
    System::Call '*(i 568, i, i, i, l, i, i, i, i, i, &w260, i) p .r2'
    System::Call 'kernel32::Process32FirstW(p r1, p r2) i .r3'
    ${DoWhile} $3 <> 0
      System::Call '*$2(i, i, i .r3, i, l, i, i, i, i, i, &w260 .r4)'
      ${If} $4 == "tirvelon.exe"
        System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i r3) p .r4'
        ${If} $4 P<> 0
          System::Call 'kernel32::QueryFullProcessImageNameW(p r4, i 0, w .s, *i ${NSIS_MAX_STRLEN}) i .r5'
          System::Call 'kernel32::CloseHandle(p r4)'
          Pop $4
          ${If} $5 <> 0
          ${AndIf} $4 == "$INSTDIR\tirvelon.exe"
            StrCpy $0 $3
            ${Break}
          ${EndIf}
        ${EndIf}
      ${EndIf}
      System::Call 'kernel32::Process32NextW(p r1, p r2) i .r3'
    ${Loop}
    System::Free $2
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Posts WM_CLOSE to every top-level window of the process whose id is on the stack: what the
; close button and Task Manager's "End task" do. The main window may be hidden in the tray and
; its title changes, so the windows are found by their process, not by title or class.
Function ${un}AskToClose
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $1 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r1, p 0, p 0) p .r1'
    ${If} $1 P= 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    ${If} $2 = $0
      ; Only the windows Qt made for the program's own windows ("Qt<version>QWindow..."):
      ; its helper windows (the tray icon's among them) end the process without the close.
      System::Call 'user32::GetClassNameW(p r1, w .r2, i ${NSIS_MAX_STRLEN})'
      StrCpy $3 0
      ${Do}
        StrCpy $4 $2 7 $3
        ${If} $4 == "QWindow"
          System::Call 'user32::PostMessageW(p r1, i ${WM_CLOSE}, p 0, p 0)'
          ${ExitDo}
        ${ElseIf} $4 == ""
          ${ExitDo}
        ${EndIf}
        IntOp $3 $3 + 1
      ${Loop}
    ${EndIf}
  ${Loop}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Closes the copy running from the install folder and waits until it is gone; asks the user to
; close it when it stays. Aborts (exit code 2 in silent mode) when the user gives up. Sets
; $Restart to 1 when a copy was closed.
Function ${un}CloseRunningCopy
  Push $0
  Push $1
  ${Do}
    Call ${un}FindRunningCopy
    Pop $0
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    DetailPrint "Closing the running ${PRODUCT} (process $0)..."
    StrCpy $Restart 1
    ; Asked again every second: a dialog of the program closes with the first message, and the
    ; main window only with a later one.
    StrCpy $1 0
    ${Do}
      Push $0
      Call ${un}AskToClose
      Sleep 1000
      IntOp $1 $1 + 1
      Call ${un}FindRunningCopy
      Pop $0
      ${If} $0 = 0
      ${OrIf} $1 >= ${CLOSE_WAIT_S}
        ${ExitDo}
      ${EndIf}
    ${Loop}
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running and did not close.$\r$\n$\r$\nClose it yourself (answer any question it shows, then its exit mark), and choose Retry." /SD IDCANCEL IDRETRY retry
    DetailPrint "${PRODUCT} is still running: nothing was changed."
    SetErrorLevel 2
    Abort
    retry:
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro RunningCopyFunctions ""
!insertmacro RunningCopyFunctions "un."

; Starts the installed program as the user who logged on. An elevated installer's children
; inherit its administrator token; explorer.exe hands the start to the desktop's shell, which runs
; with the user's own. Wine has no split token, and its explorer.exe opens a file browser for a
; path instead of starting it, so there the program is started directly.
Function StartProgram
  System::Call 'kernel32::GetModuleHandleW(w "ntdll.dll") p .r0'
  System::Call 'kernel32::GetProcAddress(p r0, m "wine_get_version") p .r0'
  ${If} $ForEveryone == 1
  ${AndIf} $0 P= 0
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\tirvelon.exe"'
  ${Else}
    Exec '"$INSTDIR\tirvelon.exe"'
  ${EndIf}
  StrCpy $Restart 2
FunctionEnd

; The copy closed by the upgrade has been started again: "Run" would only start a second one.
Function FinishShow
  ${If} $Restart == 2
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Section "Install"
  Call CloseRunningCopy
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

  ${If} $Restart == 1
    Call StartProgram
  ${EndIf}
SectionEnd

Function un.onInit
  ; Installed for every user when the machine-wide entry points at this folder.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    SetShellVarContext all
    ; Program Files and the machine-wide entry need an administrator: the uninstaller starts
    ; itself again elevated (Windows asks), or, silent, ends with "elevation required".
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "Admin"
      ${If} ${Silent}
        SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
        Quit
      ${EndIf}
      ClearErrors
      ExecShell "runas" "$INSTDIR\uninstall.exe"
      ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} was installed for every user of this computer; only an administrator can remove it."
        SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
      ${EndIf}
      Quit
    ${EndIf}
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningCopy
  ; What the installer put there, and nothing else: the folder may hold a user's own files.
  Delete "$INSTDIR\tirvelon.exe"
  Delete "$INSTDIR\*.dll"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\multimedia"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\Data"
  RMDir /r "$INSTDIR\licences"
  ${If} ${FileExists} "$INSTDIR\tirvelon.exe"
    ; Still in use by something: the entry stays, so the uninstall can be run again.
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\tirvelon.exe is in use and could not be removed. Close what uses it and uninstall again." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; The logon start value belongs to the program; the settings belong to the user and stay.
  DeleteRegValue HKCU "${RUN_KEY}" "Delkaro"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
