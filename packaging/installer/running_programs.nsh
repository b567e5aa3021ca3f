; Closing our running programs before files are replaced or removed: a running program's
; files cannot be overwritten or deleted. The monitor is asked to close as the updater asks it
; (WM_CLOSE to its window, by either title it has had) and, as it ends, closes our on-screen
; display; one display left over is asked itself. The installer then waits on each program's
; process, because a window or mutex that is gone does not yet mean the program's files are
; free. Last, each program's instance mutex must be gone too (a program starting or ending
; without a window). Every wait is bounded: a program that hangs makes the installer ask
; (Retry/Cancel), and a silent run give up with exit code 2.
; Two programs are never closed: a running updater may be writing the keyboard's firmware, so
; the run is refused while it holds its mutex; a settings-tool run holds its mutex for one
; change, which the installer waits out.
; Needs the defines of program_names.nsh, LogicLib and WinMessages.

!define BRENIK_MONITOR_CLOSE_MS 30000  ; the monitor saves the profiles and stops its threads
!define BRENIK_OSD_CLOSE_MS 10000
!define BRENIK_SETTINGS_CLOSE_MS 10000  ; the settings program closes at once when asked
!define BRENIK_MUTEX_GONE_MS 10000
!define BRENIK_SETTINGS_TOOL_MS 30000  ; one change: write, announce, the monitor's answer
!define BRENIK_POLL_MS 100
!define BRENIK_SYNCHRONIZE 0x00100000
!define BRENIK_ERROR_ACCESS_DENIED 5
!define BRENIK_WAIT_OBJECT_0 0

Var BrenikMonitorWasRunning  ; 1 once a running monitor was found (and asked to close)

!macro BRENIK_RUNNING_PROGRAMS_FUNCTIONS un

; Push <mutex name>; Call MutexExists; Pop <1 or 0>. A mutex we may not open is there all the same.
Function ${un}MutexExists
  Exch $0
  Push $1
  Push $2
  System::Call 'kernel32::OpenMutexW(i ${BRENIK_SYNCHRONIZE}, i 0, w r0) p.r1 ?e'
  Pop $2
  ${If} $1 P<> 0
    System::Call 'kernel32::CloseHandle(p r1)'
    StrCpy $0 1
  ${ElseIf} $2 = ${BRENIK_ERROR_ACCESS_DENIED}
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Push <mutex name>; Push <ms>; Call WaitMutexGone; Pop <1 gone, 0 still there>.
Function ${un}WaitMutexGone
  Exch $1  ; ms
  Exch
  Exch $0  ; mutex
  Push $2
  ${Do}
    Push $0
    Call ${un}MutexExists
    Pop $2
    ${If} $2 = 0
    ${OrIf} $1 <= 0
      ${Break}
    ${EndIf}
    Sleep ${BRENIK_POLL_MS}
    IntOp $1 $1 - ${BRENIK_POLL_MS}
  ${Loop}
  IntOp $0 1 - $2
  Pop $2
  Exch $0  ; the result for the earlier $0
  Exch
  Pop $1
FunctionEnd

; Push <window title>; Push <ms>; Call CloseProgramWindow; Pop <1 ended or not running, 0 still
; running>. Sends the window WM_CLOSE and waits for its process to end.
Function ${un}CloseProgramWindow
  Exch $1  ; ms
  Exch
  Exch $0  ; title
  Push $2
  Push $3
  Push $4
  StrCpy $4 1
  FindWindow $2 "" "$0"
  ${If} $2 <> 0
    System::Call 'user32::GetWindowThreadProcessId(p r2, *i .r3)'
    System::Call 'kernel32::OpenProcess(i ${BRENIK_SYNCHRONIZE}, i 0, i r3) p.r3'
    DetailPrint "Closing the running program (its window $\"$0$\")"
    ; One time limit for the whole close: a hung program costs it once, not once per wait.
    System::Call 'kernel32::GetTickCount() i.r4'
    SendMessage $2 ${WM_CLOSE} 0 0 /TIMEOUT=$1
    System::Call 'kernel32::GetTickCount() i.r2'
    IntOp $2 $2 - $4
    IntOp $1 $1 - $2
    ${If} $1 < 0
      StrCpy $1 0
    ${EndIf}
    StrCpy $4 1
    ${If} $3 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r3, i r1) i.r2'
      System::Call 'kernel32::CloseHandle(p r3)'
      ${If} $2 <> ${BRENIK_WAIT_OBJECT_0}
        StrCpy $4 0
      ${EndIf}
    ${Else}
      ; A process we may not wait on: at least its window must go.
      ${Do}
        FindWindow $2 "" "$0"
        ${If} $2 = 0
          ${Break}
        ${ElseIf} $1 <= 0
          StrCpy $4 0
          ${Break}
        ${EndIf}
        Sleep ${BRENIK_POLL_MS}
        IntOp $1 $1 - ${BRENIK_POLL_MS}
      ${Loop}
    ${EndIf}
  ${EndIf}
  StrCpy $0 $4
  Pop $4
  Pop $3
  Pop $2
  Exch $0  ; the result for the earlier $0
  Exch
  Pop $1
FunctionEnd

; Pushes "" when the monitor (either title), the display, the system gauge and the settings program have ended,
; else what still runs.
Function ${un}CloseEachProgram
  Push $0
  StrCpy $0 ""
  FindWindow $1 "" "${kTitleMonitor}"
  ${If} $1 <> 0
    StrCpy $BrenikMonitorWasRunning 1
  ${EndIf}
  Push "${kTitleMonitor}"
  Push ${BRENIK_MONITOR_CLOSE_MS}
  Call ${un}CloseProgramWindow
  Pop $1
  ${IfThen} $1 = 0 ${|} Goto running ${|}
  Push "${kTitleMonitorEarlier}"
  Push ${BRENIK_MONITOR_CLOSE_MS}
  Call ${un}CloseProgramWindow
  Pop $1
  ${IfThen} $1 = 0 ${|} Goto running ${|}
  Push "${kTitleOsd}"
  Push ${BRENIK_OSD_CLOSE_MS}
  Call ${un}CloseProgramWindow
  Pop $1
  ${IfThen} $1 = 0 ${|} Goto running ${|}
  ; The monitor closes its applets as it ends; ones started on their own are closed here.
  Push "${kTitleVolumeController}"
  Push ${BRENIK_OSD_CLOSE_MS}
  Call ${un}CloseProgramWindow
  Pop $1
  ${IfThen} $1 = 0 ${|} Goto running ${|}
  Push "${kTitleSystemGauge}"
  Push ${BRENIK_OSD_CLOSE_MS}
  Call ${un}CloseProgramWindow
  Pop $1
  ${IfThen} $1 = 0 ${|} Goto running ${|}
  Push "${kTitleSettings}"
  Push ${BRENIK_SETTINGS_CLOSE_MS}
  Call ${un}CloseProgramWindow
  Pop $1
  ${IfThen} $1 = 0 ${|} Goto running ${|}
  Push "${kSettingsInstanceMutex}"
  Push ${BRENIK_MUTEX_GONE_MS}
  Call ${un}WaitMutexGone
  Pop $1
  ${IfThen} $1 = 0 ${|} Goto running ${|}
  Push "${kMonitorInstanceMutex}"
  Push ${BRENIK_MUTEX_GONE_MS}
  Call ${un}WaitMutexGone
  Pop $1
  ${IfThen} $1 = 0 ${|} Goto running ${|}
  Push "${kVolumeBarInstanceMutex}"
  Push ${BRENIK_MUTEX_GONE_MS}
  Call ${un}WaitMutexGone
  Pop $1
  ${IfThen} $1 = 0 ${|} Goto running ${|}
  Push "${kOsdInstanceMutex}"
  Push ${BRENIK_MUTEX_GONE_MS}
  Call ${un}WaitMutexGone
  Pop $1
  ${IfThen} $1 = 0 ${|} Goto running ${|}
  Push "${kSystemGaugeInstanceMutex}"
  Push ${BRENIK_MUTEX_GONE_MS}
  Call ${un}WaitMutexGone
  Pop $1
  ${IfThen} $1 = 1 ${|} Goto done ${|}
  running:
  StrCpy $0 "Brenik Monitor, its on-screen display, one of its applets or its settings program is still running and did not close.$\r$\n$\r$\nEnd it (Brenik Monitor's tray icon has Exit; without a keyboard it has no icon, so end Monitor.exe, $\"${kProgramOsd}$\", VolumeBar.exe and SysGauge.exe in Task Manager), then click Retry."
  done:
  Exch $0
FunctionEnd

; Pushes "" when neither the updater nor a settings-tool change runs, else what runs. The
; updater is only looked at; a settings-tool change is waited for.
Function ${un}CheckOtherPrograms
  Push $0
  StrCpy $0 ""
  Push "${kUpdaterInstanceMutex}"
  Call ${un}MutexExists
  Pop $1
  ${If} $1 = 1
    StrCpy $0 "The firmware updater (${UPDATER_EXE}) is running. It may be writing the keyboard's firmware, so Setup does not close it.$\r$\n$\r$\nLet it finish, close it, then click Retry."
  ${Else}
    Push "${kSettingsToolMutex}"
    Push ${BRENIK_SETTINGS_TOOL_MS}
    Call ${un}WaitMutexGone
    Pop $1
    ${If} $1 = 0
      StrCpy $0 "The settings tool (${SETTINGS_TOOL_EXE}) is still making a change.$\r$\n$\r$\nWait until it has finished (or end it in Task Manager), then click Retry."
    ${EndIf}
  ${EndIf}
  Exch $0
FunctionEnd

; Returns once none of our programs runs; aborts the run with exit code 2 when one still runs
; and the user cancels (always, in a silent run). Changes $0 and $1.
Function ${un}CloseRunningPrograms
  ${Do}
    Call ${un}CheckOtherPrograms
    Pop $0
    ${If} $0 == ""
      Call ${un}CloseEachProgram
      Pop $0
    ${EndIf}
    ${If} $0 == ""
      ${Break}
    ${EndIf}
    DetailPrint "$0"
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$0" /SD IDCANCEL IDRETRY`
      SetErrorLevel 2
      Abort "A program of ${PRODUCT_NAME} is still running."
    ${EndIf}
  ${Loop}
FunctionEnd

!macroend
