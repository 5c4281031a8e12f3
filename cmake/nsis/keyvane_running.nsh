; Ending the Keyvane that runs from the program folder before its files are replaced or removed.
; It is asked to close as its tray menu's Exit does, by a close request to its hidden TKeyvane
; window, and never ended by force. Instances started from other folders are left alone.

Var KvOwnExe

!macro KV_DEFINE_CLOSE_RUNNING PREFIX
; $R0 = the next TKeyvane window whose process runs $KvOwnExe, with $R3 a handle to that
; process (the caller closes it); $R0 = 0 when there is none.
Function ${PREFIX}KvFindOwnInstance
  StrCpy $R0 0
  ${Do}
    FindWindow $R0 "TKeyvane" "" 0 $R0
    ${If} $R0 = 0
      Return
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p $R0, *i .R1)'
    ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
    System::Call 'kernel32::OpenProcess(i 0x101000, i 0, i $R1) p .R3'
    ${If} $R3 <> 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p $R3, i 0, w .R5, *i ${NSIS_MAX_STRLEN}) i .R6'
      ${If} $R6 <> 0
        System::Call 'kernel32::GetLongPathNameW(w R5, w .R5, i ${NSIS_MAX_STRLEN})'
        ${If} $R5 == $KvOwnExe
          Return
        ${EndIf}
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p $R3)'
    ${EndIf}
  ${Loop}
FunctionEnd

Function ${PREFIX}CloseRunningKeyvane
  ; A program folder without Keyvane.exe has nothing running from it.
  System::Call 'kernel32::GetLongPathNameW(w "$INSTDIR\Keyvane.exe", w .R5, i ${NSIS_MAX_STRLEN}) i .R6'
  ${If} $R6 = 0
    Return
  ${EndIf}
  StrCpy $KvOwnExe $R5
  ${Do}
    Call ${PREFIX}KvFindOwnInstance
    ${If} $R0 = 0
      Return
    ${EndIf}
    DetailPrint "Closing the running Keyvane"
    System::Call 'user32::PostMessageW(p $R0, i 0x10, p 0, p 0)'  ; WM_CLOSE
    ; Its files stay locked until the process has ended, not merely its window.
    System::Call 'kernel32::WaitForSingleObject(p $R3, i 15000) i .R2'
    System::Call 'kernel32::CloseHandle(p $R3)'
    ${If} $R2 <> 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Keyvane is still running and did not close.$\r$\n$\r$\nLet its macro finish, or choose Exit in its tray menu, then choose Retry." \
        /SD IDCANCEL IDRETRY kv_retry
      Abort "Keyvane is still running; nothing was changed."
      kv_retry:
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
