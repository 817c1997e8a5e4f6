; Per-user installer of Tovik. Built by `cmake --build --preset win64 --target
; packages` (makensis from Debian's nsis package, no extra plugins); the
; build passes RELEASE, the path of the generated release.nsh.
;
; Installs into the user's local programs folder without administrator
; rights, adds a Start-menu shortcut (a desktop shortcut on request) and the
; user's Uninstall entry. Tovik's settings and counters under
; HKCU\Software\Zeb are never touched by the installer, so an upgrade keeps
; them; the uninstaller asks whether to remove them (default and /S: keep).
;
; Exit codes of the installer and the uninstaller (/S included):
;   0  done
;   1  cancelled by the user in the wizard
;   2  failed (a file could not be written or removed)
;   3  Tovik is running (silent mode, or the user cancelled the request to end it)
; The uninstaller hands its work to a copy of itself in the temporary folder
; and ends at once with 0, unless started with _?=<folder> as the
; QuietUninstallString does: then it runs in place and its exit code tells
; how the uninstallation went; only its own file and the then empty folder
; go a moment after its end.

; A 64-bit installer for the 64-bit program: it runs on every Windows that
; Tovik.exe runs on, and sees the same registry view as the program.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "${RELEASE}"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_CODE}"
!define SETTINGS_KEY "Software\Zeb\Tovik"
!define COUNTERS_KEY "Software\Zeb\Zeb_Diagnostic"
!define ZEB_KEY "Software\Zeb"
; Tovik.exe holds a mutex named after its executable (without ".exe") for as
; long as it runs, from before its first window until its end.
!define TOVIK_MUTEX "Tovik"
!define SYNCHRONIZE 0x00100000

!define EXIT_FAILED 2
!define EXIT_TOVIK_RUNNING 3

Name "Tovik"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tovik"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tovik ${VERSION}"

; ---------------------------------------------------------------- pages

!define MUI_ICON "${TOVIK_ICON}"
!define MUI_UNICON "${TOVIK_ICON}"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TEXT "Dieser Assistent installiert Tovik ${VERSION} für Ihr Benutzerkonto. Administratorrechte sind dafür nicht nötig.$\r$\n$\r$\nBitte beachten Sie: Nach dem Start fährt Tovik den Computer nach 5,5 Sekunden herunter, wenn Sie nicht vorher auf „Oops! Das wollte ich noch nicht!“ klicken oder Esc drücken.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
; No "start Tovik now" box: starting it counts down to the power off.
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

LangString TovikRunning ${LANG_GERMAN} "Tovik läuft gerade.$\r$\n$\r$\nBitte beenden Sie Tovik und klicken Sie dann auf „Wiederholen“."
LangString CannotWrite ${LANG_GERMAN} "Die Datei $INSTDIR\Tovik.exe konnte nicht geschrieben werden. Die installierte Version bleibt unverändert."
LangString CannotRemove ${LANG_GERMAN} "Die Datei $INSTDIR\Tovik.exe konnte nicht entfernt werden. Läuft Tovik noch?"
LangString RemoveSettings ${LANG_GERMAN} "Sollen auch die Einstellungen und Nutzungszähler von Tovik entfernt werden?$\r$\n$\r$\nWenn Sie „Nein“ wählen, bleiben sie für eine spätere Installation erhalten."
LangString ShortcutComment ${LANG_GERMAN} "${DESCRIPTION}"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "Tovik"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Installation von Tovik ${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"

; ---------------------------------------------------------------- running copy

; Returns only when no Tovik runs. Otherwise it asks the user to end it
; (Retry checks again, Cancel gives up); in silent mode it gives up at once.
; Giving up aborts with EXIT_TOVIK_RUNNING: in .onInit before anything was
; touched, in a section before the first file is written or removed.
!macro ENSURE_TOVIK_ENDED un
Function ${un}EnsureTovikEnded
  Push $0
  ${Do}
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${TOVIK_MUTEX}") p .r0'
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    ${If} ${Silent}
      SetErrorLevel ${EXIT_TOVIK_RUNNING}
      Abort
    ${EndIf}
    ; Above all windows: Tovik's own window stays on top of the others.
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION|MB_TOPMOST|MB_SETFOREGROUND "$(TovikRunning)" IDRETRY retry
    SetErrorLevel ${EXIT_TOVIK_RUNNING}
    Abort
    retry:
  ${Loop}
  Pop $0
FunctionEnd
!macroend
!insertmacro ENSURE_TOVIK_ENDED ""
!insertmacro ENSURE_TOVIK_ENDED "un."

; ---------------------------------------------------------------- install

Function .onInit
  SetShellVarContext current
  Call EnsureTovikEnded
FunctionEnd

Section "Tovik (Programm und Startmenü)" SecProgram
  SectionIn RO
  ; Tovik may have been started while the wizard was open.
  Call EnsureTovikEnded
  SetOutPath "$INSTDIR"

  ; The new program is written beside the installed one and takes its place
  ; only when complete, so Tovik.exe is always either the old or the new file.
  Delete "$INSTDIR\Tovik.exe.neu"
  ClearErrors
  File "/oname=Tovik.exe.neu" "${TOVIK_EXE}"
  ${If} ${Errors}
    Delete "$INSTDIR\Tovik.exe.neu"
    MessageBox MB_OK|MB_ICONSTOP "$(CannotWrite)" /SD IDOK
    SetErrorLevel ${EXIT_FAILED}
    Abort
  ${EndIf}
  ClearErrors
  Delete "$INSTDIR\Tovik.exe"
  ${If} ${Errors}
    Delete "$INSTDIR\Tovik.exe.neu"
    MessageBox MB_OK|MB_ICONSTOP "$(CannotWrite)" /SD IDOK
    SetErrorLevel ${EXIT_FAILED}
    Abort
  ${EndIf}
  ClearErrors
  Rename "$INSTDIR\Tovik.exe.neu" "$INSTDIR\Tovik.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(CannotWrite)" /SD IDOK
    SetErrorLevel ${EXIT_FAILED}
    Abort
  ${EndIf}

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tovik.lnk" "$INSTDIR\Tovik.exe" "" "$INSTDIR\Tovik.exe" 0 SW_SHOWNORMAL "" "$(ShortcutComment)"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tovik"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tovik.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Unchecked unless the user asks for it; an upgrade leaves an existing one alone.
Section /o "Verknüpfung auf dem Desktop" SecDesktop
  CreateShortcut "$DESKTOP\Tovik.lnk" "$INSTDIR\Tovik.exe" "" "$INSTDIR\Tovik.exe" 0 SW_SHOWNORMAL "" "$(ShortcutComment)"
SectionEnd

; Runs last: the size of everything installed, in KiB.
Section "-EstimatedSize"
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; ---------------------------------------------------------------- uninstall

Function un.onInit
  SetShellVarContext current
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CLEANUP" $R1
  ${IfNot} ${Errors}
    Call un.RemoveUninstaller
    Quit
  ${EndIf}
  Call un.EnsureTovikEnded
FunctionEnd

; The rest of an uninstallation run in place: waits (up to 30 s) until the
; uninstaller that started this copy has ended, then removes its file and the
; folder, if empty.
Function un.RemoveUninstaller
  StrCpy $R2 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\Uninstall.exe"
    ${IfNot} ${Errors}
    ${OrIf} $R2 >= 300
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $R2 $R2 + 1
  ${Loop}
  RMDir "$INSTDIR"
FunctionEnd

Section "Uninstall"
  Call un.EnsureTovikEnded
  ClearErrors
  Delete "$INSTDIR\Tovik.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(CannotRemove)" /SD IDOK
    SetErrorLevel ${EXIT_FAILED}
    Abort
  ${EndIf}
  Delete "$INSTDIR\Tovik.exe.neu"
  ; Started with _?= (QuietUninstallString, so that the caller can wait for
  ; the end and read the exit code) the uninstaller runs from its own file,
  ; which cannot go while it runs: a copy of it in the temporary folder
  ; removes the file and the folder once this process has ended.
  ClearErrors
  Delete "$INSTDIR\Uninstall.exe"
  ${If} ${Errors}
    Exec '"$INSTDIR\Uninstall.exe" /S /CLEANUP'
  ${EndIf}
  ; Only when empty: the folder may have been chosen by the user.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tovik.lnk"
  Delete "$DESKTOP\Tovik.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettings)" /SD IDNO IDNO keep
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey HKCU "${COUNTERS_KEY}"
    DeleteRegKey /ifempty HKCU "${ZEB_KEY}"
  keep:
SectionEnd
