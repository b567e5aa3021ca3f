; The Windows installer: installs the tree the dist target lays out (build/dist, without the
; developer's tools\) for the installing user, starts the monitor at logon, and uninstalls.
; Built by the installer target (packaging/installer/CMakeLists.txt), which passes:
;   VERSION       the project's version (top-level CMakeLists.txt), x.y.z
;   PRODUCT_NAME, COMPANY, COPYRIGHT   as in the programs' version blocks
;   DIST          the install tree         OUTFILE  the installer to write
;   NAMES         program_names.nsh, generated from shared/contracts/program_windows.h
;   ICON          the monitor's icon
;
; Per user, under %LOCALAPPDATA%\Programs: the monitor writes config.ini and the profiles
; beside itself, which a user may not do under Program Files, and the logon entry is the
; user's own anyway. So no elevation is asked for, and every key is in HKCU.
;
; Upgrading keeps what the user changed: config.ini and each kbhid.ini are written only when
; missing, and the profiles in config\ are never touched. /S installs and uninstalls silently
; (a silent uninstall keeps the profiles).

!ifndef VERSION | PRODUCT_NAME | COMPANY | COPYRIGHT | DIST | OUTFILE | NAMES | ICON
  !error "makensis needs -DVERSION -DPRODUCT_NAME -DCOMPANY -DCOPYRIGHT -DDIST -DOUTFILE -DNAMES -DICON"
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

!define MONITOR_EXE "Monitor.exe"
!define UPDATER_FOLDER "KeyFwFlash"
!define UPDATER_EXE "KeyFwFlash.exe"
!define SETTINGS_TOOL_EXE "BrenikSettings.exe"
!define UNINSTALLER_EXE "Uninstall.exe"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Brenik Monitor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\BrenikGamingKeyboard"
!define SHORTCUTS "$SMPROGRAMS\${PRODUCT_NAME}"

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

Section "${PRODUCT_NAME}" SecProgram
  SectionIn RO
  Call CloseRunningPrograms

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "${DIST}/${MONITOR_EXE}"
  File "${DIST}/${kProgramOsd}"
  File "${DIST}/kbhid.dll"
  !if /FileExists "${DIST}/${SETTINGS_TOOL_EXE}"
    File "${DIST}/${SETTINGS_TOOL_EXE}"
  !endif
  SetOverwrite off  ; the user's settings, and a keyboard the user pointed kbhid.dll at
  File "${DIST}/${kConfigFileName}"
  File "${DIST}/kbhid.ini"
  SetOverwrite on
  CreateDirectory "$INSTDIR\config"  ; the monitor writes the profiles there; never shipped

  SetOutPath "$INSTDIR\Wave"
  File /r "${DIST}/Wave/*"

  SetOutPath "$INSTDIR\${UPDATER_FOLDER}"
  File "${DIST}/${UPDATER_FOLDER}/${UPDATER_EXE}"
  File "${DIST}/${UPDATER_FOLDER}/kbhid.dll"
  File "${DIST}/${UPDATER_FOLDER}/${kConfigFileName}"
  SetOverwrite off
  File "${DIST}/${UPDATER_FOLDER}/kbhid.ini"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\${UNINSTALLER_EXE}"

  ; A shortcut starts in the current output folder: each program in its own.
  CreateDirectory "${SHORTCUTS}"
  SetOutPath "$INSTDIR"
  CreateShortcut "${SHORTCUTS}\Brenik Monitor.lnk" "$INSTDIR\${MONITOR_EXE}"
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

Section "Uninstall"
  Call un.CloseRunningPrograms

  StrCpy $0 0
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Remove your settings and keyboard profiles too (config.ini and the config folder)?$\r$\n$\r$\nChoose No to keep them for a later installation." \
    /SD IDNO IDNO +2
  StrCpy $0 1

  Delete "$INSTDIR\${MONITOR_EXE}"
  Delete "$INSTDIR\${kProgramOsd}"
  Delete "$INSTDIR\${SETTINGS_TOOL_EXE}"
  Delete "$INSTDIR\kbhid.dll"
  Delete "$INSTDIR\kbhid.ini"
  RMDir /r "$INSTDIR\Wave"
  Delete "$INSTDIR\${UPDATER_FOLDER}\${UPDATER_EXE}"
  Delete "$INSTDIR\${UPDATER_FOLDER}\kbhid.dll"
  Delete "$INSTDIR\${UPDATER_FOLDER}\kbhid.ini"
  Delete "$INSTDIR\${UPDATER_FOLDER}\${kConfigFileName}"
  RMDir "$INSTDIR\${UPDATER_FOLDER}"
  ${If} $0 = 1
    Delete "$INSTDIR\${kConfigFileName}"
    RMDir /r "$INSTDIR\config"
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER_EXE}"
  RMDir "$INSTDIR"  ; only when nothing of the user's is left in it

  Delete "${SHORTCUTS}\Brenik Monitor.lnk"
  Delete "${SHORTCUTS}\Firmware Update.lnk"
  Delete "${SHORTCUTS}\Uninstall ${PRODUCT_NAME}.lnk"
  RMDir "${SHORTCUTS}"

  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
