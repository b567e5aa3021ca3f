; Writing and removing one file, where a failure stops the run instead of passing unnoticed.
; A file may be held open by a program the installer did not know to close; NSIS's own
; answer would be its Abort/Retry/Ignore box, whose Ignore leaves a mix of old and new files.
; Here a failure asks Retry/Cancel; Cancel (always, in a silent run) aborts with exit code 2.
; The installer checks the programs before it writes anything (running_programs.nsh), so
; this box is the exception.
; Needs LogicLib.

; BRENIK_FILE <folder> <name>: File <folder>/<name> into the current output folder. "try"
; skips a file it cannot write without NSIS's box and sets the error flag.
!macro BRENIK_FILE folder name
  SetOverwrite try
  ${Do}
    ClearErrors
    File "${folder}/${name}"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Could not write $OUTDIR\${name}: a program may be using it.$\r$\n$\r$\nClose it, then click Retry." /SD IDCANCEL IDRETRY`
      SetErrorLevel 2
      Abort "Could not write $OUTDIR\${name}."
    ${EndIf}
  ${Loop}
  SetOverwrite on
!macroend

; BRENIK_DELETE <path>: Delete <path>; a file that is not there is no failure.
!macro BRENIK_DELETE path
  ${Do}
    ClearErrors
    Delete "${path}"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Could not remove ${path}: a program may be using it.$\r$\n$\r$\nClose it, then click Retry." /SD IDCANCEL IDRETRY`
      SetErrorLevel 2
      Abort "Could not remove ${path}."
    ${EndIf}
  ${Loop}
!macroend

; BRENIK_CHECK_FREE <path>: returns once <path> is missing or may be written (opened for
; writing without sharing, as replacing it needs); a file in use asks Retry/Cancel first.
; Checked for every program and library before the first file is replaced or removed, so a
; program in use stops the run while the installation is still whole. Changes $0 and $1.
!define BRENIK_GENERIC_WRITE 0x40000000
!define BRENIK_OPEN_EXISTING 3
!define BRENIK_ERROR_FILE_NOT_FOUND 2
!define BRENIK_ERROR_PATH_NOT_FOUND 3
!macro BRENIK_CHECK_FREE path
  ${Do}
    System::Call 'kernel32::CreateFileW(w "${path}", i ${BRENIK_GENERIC_WRITE}, i 0, p 0, i ${BRENIK_OPEN_EXISTING}, i 0, p 0) p.r0 ?e'
    Pop $1
    ${If} $0 P<> -1
      System::Call 'kernel32::CloseHandle(p r0)'
      ${Break}
    ${ElseIf} $1 = ${BRENIK_ERROR_FILE_NOT_FOUND}
    ${OrIf} $1 = ${BRENIK_ERROR_PATH_NOT_FOUND}
      ${Break}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${path} is in use (error $1).$\r$\n$\r$\nClose the program using it (or end it in Task Manager), then click Retry." /SD IDCANCEL IDRETRY`
      SetErrorLevel 2
      Abort "${path} is in use."
    ${EndIf}
  ${Loop}
!macroend
