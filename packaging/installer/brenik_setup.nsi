; The Windows installer: installs the tree the dist target lays out (build/dist, without the
; developer's tools\) for the installing user, starts the monitor at logon, and uninstalls.
; Built by the installer target (packaging/installer/CMakeLists.txt), which passes:
;   VERSION       the project's version (top-level CMakeLists.txt), x.y.z
;   PRODUCT_NAME, COMPANY, COPYRIGHT   as in the programs' version blocks
;   DIST          the install tree         OUTFILE  the installer to write
;   NAMES         program_names.nsh, generated from shared/contracts/program_windows.h
;   WAVE_FILES    shipped_wave.nsh, the sound cues in DIST\Wave by name (shipped_manifest.cmake)
;   ICON          the monitor's icon
;
; Per user, under %LOCALAPPDATA%\Programs: the monitor writes config.ini and the profiles
; beside itself, which a user may not do under Program Files, and the logon entry is the
; user's own anyway. So no elevation is asked for, and every key is in HKCU.
;
; Upgrading keeps what the user changed: config.ini and each kbhid.ini are written only when
; missing, and the profiles in config\ are never touched; uninstalling removes these only when
; the user says so. Each kbhid.ini shipped is files\kbhid.ini, for the real keyboard (the
; one in DIST points the developer's tree at the virtual keyboard). /S installs and
; uninstalls silently (a silent uninstall keeps the settings); a run that cannot finish
; exits with code 2 before it has replaced or removed a program.

!ifndef VERSION | PRODUCT_NAME | COMPANY | COPYRIGHT | DIST | OUTFILE | NAMES | ICON | WAVE_FILES
  !error "makensis needs -DVERSION -DPRODUCT_NAME -DCOMPANY -DCOPYRIGHT -DDIST -DOUTFILE -DNAMES -DICON -DWAVE_FILES"
!endif

; 64-bit like the programs it installs (and so it runs where only 64-bit Windows programs run).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!addincludedir "${__FILEDIR__}"
!include "${NAMES}"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include running_programs.nsh
!include file_steps.nsh
!include "${WAVE_FILES}"

!define MONITOR_EXE "Monitor.exe"
!define UPDATER_FOLDER "KeyFwFlash"
!define UPDATER_EXE "KeyFwFlash.exe"
!define SETTINGS_TOOL_EXE "BrenikSettings.exe"
!define UNINSTALLER_EXE "Uninstall.exe"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Brenik Monitor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\BrenikGamingKeyboard"
!define SHORTCUTS "$SMPROGRAMS\${PRODUCT_NAME}"
!define KEYBOARD_INI_FOLDER "${__FILEDIR__}/files"  ; its kbhid.ini: the real keyboard

Name "${PRODUCT_NAME}"
Caption "${PRODUCT_NAME} ${VERSION} Setup"
UninstallCaption "${PRODUCT_NAME} Uninstall"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT_NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT_NAME} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT_NAME} ${VERSION}: Brenik Monitor, which keeps your keyboard's profiles and runs in the notification area, its on-screen display and the firmware updater.$\r$\n$\r$\nA running Brenik Monitor is closed while the files are replaced and started again at the end. Your settings and profiles are kept.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_TEXT "${PRODUCT_NAME} ${VERSION} is installed.$\r$\n$\r$\nBrenik Monitor is running (its icon is in the notification area) and starts whenever you log on. The firmware updater is in the Start menu."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT_NAME} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT}"

!insertmacro BRENIK_RUNNING_PROGRAMS_FUNCTIONS ""
!insertmacro BRENIK_RUNNING_PROGRAMS_FUNCTIONS "un."

; Every program and library, relative to the install folder.
!macro BRENIK_FOR_EACH_PROGRAM step
  !insertmacro ${step} "$INSTDIR\${MONITOR_EXE}"
  !insertmacro ${step} "$INSTDIR\${kProgramOsd}"
  !insertmacro ${step} "$INSTDIR\${kProgramVolumeBar}"
  !insertmacro ${step} "$INSTDIR\${kProgramSystemGauge}"
  !insertmacro ${step} "$INSTDIR\${kProgramSettings}"
  !insertmacro ${step} "$INSTDIR\${SETTINGS_TOOL_EXE}"
  !insertmacro ${step} "$INSTDIR\kbhid.dll"
  !insertmacro ${step} "$INSTDIR\${UPDATER_FOLDER}\${UPDATER_EXE}"
  !insertmacro ${step} "$INSTDIR\${UPDATER_FOLDER}\kbhid.dll"
!macroend

; Closes our programs, then makes sure no other program holds one of ours; aborts (exit code
; 2) before anything is replaced or removed when one does and the user cancels.
!macro BRENIK_MAKE_WAY_FUNCTION un
Function ${un}MakeWay
  Call ${un}CloseRunningPrograms
  !insertmacro BRENIK_FOR_EACH_PROGRAM BRENIK_CHECK_FREE
FunctionEnd
!macroend
!insertmacro BRENIK_MAKE_WAY_FUNCTION ""
!insertmacro BRENIK_MAKE_WAY_FUNCTION "un."

; A run that stopped after it closed the monitor starts it again: the programs are whole.
Function .onInstFailed
  ${If} $BrenikMonitorWasRunning = 1
  ${AndIf} ${FileExists} "$INSTDIR\${MONITOR_EXE}"
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\${MONITOR_EXE}"'
  ${EndIf}
FunctionEnd

Section "${PRODUCT_NAME}" SecProgram
  SectionIn RO
  Call MakeWay

  SetOutPath "$INSTDIR"
  !insertmacro BRENIK_FILE "${DIST}" "${MONITOR_EXE}"
  !insertmacro BRENIK_FILE "${DIST}" "${kProgramOsd}"
  !insertmacro BRENIK_FILE "${DIST}" "${kProgramSettings}"
  !insertmacro BRENIK_FILE "${DIST}" "kbhid.dll"
  !if /FileExists "${DIST}/${SETTINGS_TOOL_EXE}"
    !insertmacro BRENIK_FILE "${DIST}" "${SETTINGS_TOOL_EXE}"
  !endif
  ; The user's settings, and a keyboard the user pointed kbhid.dll at: written only when missing.
  ${IfNot} ${FileExists} "$INSTDIR\${kConfigFileName}"
    !insertmacro BRENIK_FILE "${DIST}" "${kConfigFileName}"
  ${EndIf}
  ${IfNot} ${FileExists} "$INSTDIR\kbhid.ini"
    !insertmacro BRENIK_FILE "${KEYBOARD_INI_FOLDER}" "kbhid.ini"
  ${EndIf}
  CreateDirectory "$INSTDIR\config"  ; the monitor writes the profiles there; never shipped

  !insertmacro BRENIK_INSTALL_WAVE_FILES

  ; The applets the monitor starts, in their own folder (kProgramVolumeBar and
  ; kProgramSystemGauge name it).
  SetOutPath "$INSTDIR\Applets"
  !insertmacro BRENIK_FILE "${DIST}/Applets" "VolumeBar.exe"
  !insertmacro BRENIK_FILE "${DIST}/Applets" "SysGauge.exe"

  SetOutPath "$INSTDIR\${UPDATER_FOLDER}"
  !insertmacro BRENIK_FILE "${DIST}/${UPDATER_FOLDER}" "${UPDATER_EXE}"
  !insertmacro BRENIK_FILE "${DIST}/${UPDATER_FOLDER}" "kbhid.dll"
  !insertmacro BRENIK_FILE "${DIST}/${UPDATER_FOLDER}" "${kConfigFileName}"
  ${IfNot} ${FileExists} "$INSTDIR\${UPDATER_FOLDER}\kbhid.ini"
    !insertmacro BRENIK_FILE "${KEYBOARD_INI_FOLDER}" "kbhid.ini"
  ${EndIf}

  WriteUninstaller "$INSTDIR\${UNINSTALLER_EXE}"

  ; A shortcut starts in the current output folder: each program in its own.
  CreateDirectory "${SHORTCUTS}"
  SetOutPath "$INSTDIR"
  CreateShortcut "${SHORTCUTS}\Brenik Monitor.lnk" "$INSTDIR\${MONITOR_EXE}"
  CreateShortcut "${SHORTCUTS}\Keyboard Settings.lnk" "$INSTDIR\${kProgramSettings}"
  CreateShortcut "${SHORTCUTS}\Uninstall ${PRODUCT_NAME}.lnk" "$INSTDIR\${UNINSTALLER_EXE}"
  SetOutPath "$INSTDIR\${UPDATER_FOLDER}"
  CreateShortcut "${SHORTCUTS}\Firmware Update.lnk" "$INSTDIR\${UPDATER_FOLDER}\${UPDATER_EXE}"

  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${MONITOR_EXE}"'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${MONITOR_EXE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER_EXE}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER_EXE}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  DetailPrint "Starting Brenik Monitor"
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\${MONITOR_EXE}"'
SectionEnd

; The programs go first; the logon entry, the shortcuts and the list entry only once they
; are gone, so a run that stops leaves an installation the list can still remove.
Section "Uninstall"
  Call un.MakeWay

  StrCpy $2 0
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Remove your settings and keyboard profiles too (config.ini, the config folder and the keyboard's kbhid.ini)?$\r$\n$\r$\nChoose No to keep them for a later installation." \
    /SD IDNO IDNO +2
  StrCpy $2 1

  !insertmacro BRENIK_FOR_EACH_PROGRAM BRENIK_DELETE
  !insertmacro BRENIK_DELETE "$INSTDIR\${UPDATER_FOLDER}\${kConfigFileName}"
  !insertmacro BRENIK_REMOVE_WAVE_FILES  ; by name: files the user added there stay
  ${If} $2 = 1
    !insertmacro BRENIK_DELETE "$INSTDIR\${kConfigFileName}"
    !insertmacro BRENIK_DELETE "$INSTDIR\kbhid.ini"
    !insertmacro BRENIK_DELETE "$INSTDIR\${UPDATER_FOLDER}\kbhid.ini"
    RMDir /r "$INSTDIR\config"
  ${EndIf}
  RMDir "$INSTDIR\Applets"
  RMDir "$INSTDIR\${UPDATER_FOLDER}"
  Delete "$INSTDIR\${UNINSTALLER_EXE}"
  RMDir "$INSTDIR"  ; only when nothing of the user's is left in it

  Delete "${SHORTCUTS}\Brenik Monitor.lnk"
  Delete "${SHORTCUTS}\Keyboard Settings.lnk"
  Delete "${SHORTCUTS}\Firmware Update.lnk"
  Delete "${SHORTCUTS}\Uninstall ${PRODUCT_NAME}.lnk"
  RMDir "${SHORTCUTS}"

  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
