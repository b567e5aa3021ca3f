; Closing our running programs before files are replaced or removed: a running program's
; files cannot be overwritten or deleted. The monitor is asked to close as the updater asks it
; (WM_CLOSE to its window, by either title it has had) and, as it ends, closes our on-screen
; display; one display left over is asked itself. The installer then waits on each program's
; process, because a window or mutex that is gone does not yet mean the program's files are
; free. Last, each program's instance mutex must be gone too (a program starting or ending
; without a window). Every wait is bounded: a program that hangs makes the installer ask
; (Retry/Cancel), and a silent run give up with exit code 2.
; Needs the defines of program_names.nsh, LogicLib and WinMessages.

!define BRENIK_MONITOR_CLOSE_MS 30000  ; the monitor saves the profiles and stops its threads
!define BRENIK_OSD_CLOSE_MS 10000
!define BRENIK_MUTEX_GONE_MS 10000
!define BRENIK_POLL_MS 100
!define BRENIK_SYNCHRONIZE 0x00100000
!define BRENIK_ERROR_ACCESS_DENIED 5
!define BRENIK_WAIT_OBJECT_0 0

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
  Pop $1
  Exch $0
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
    SendMessage $2 ${WM_CLOSE} 0 0 /TIMEOUT=$1
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
  Pop $1
  Exch $0
FunctionEnd

; Pushes 1 when the monitor (either title) and the display have ended, 0 when one still runs.
Function ${un}CloseEachProgram
  Push "${kTitleMonitor}"
  Push ${BRENIK_MONITOR_CLOSE_MS}
  Call ${un}CloseProgramWindow
  Pop $0
  ${IfThen} $0 = 0 ${|} Goto done ${|}
  Push "${kTitleMonitorEarlier}"
  Push ${BRENIK_MONITOR_CLOSE_MS}
  Call ${un}CloseProgramWindow
  Pop $0
  ${IfThen} $0 = 0 ${|} Goto done ${|}
  Push "${kTitleOsd}"
  Push ${BRENIK_OSD_CLOSE_MS}
  Call ${un}CloseProgramWindow
  Pop $0
  ${IfThen} $0 = 0 ${|} Goto done ${|}
  Push "${kMonitorInstanceMutex}"
  Push ${BRENIK_MUTEX_GONE_MS}
  Call ${un}WaitMutexGone
  Pop $0
  ${IfThen} $0 = 0 ${|} Goto done ${|}
  Push "${kOsdInstanceMutex}"
  Push ${BRENIK_MUTEX_GONE_MS}
  Call ${un}WaitMutexGone
  Pop $0
  done:
  Push $0
FunctionEnd

; Returns once every program has ended; aborts the run when one has not and the user cancels
; (always, in a silent run).
Function ${un}CloseRunningPrograms
  Push $0
  ${Do}
    Call ${un}CloseEachProgram
    Pop $0
    ${If} $0 = 1
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Brenik Monitor or its on-screen display is still running and did not close.$\r$\n$\r$\nClose it (tray icon, Exit), then click Retry." \
      /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort "Brenik Monitor is still running."
    retry:
  ${Loop}
  Pop $0
FunctionEnd

!macroend
