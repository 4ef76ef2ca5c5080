; Tockwen's installer: per user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Tockwen, with a Start-menu shortcut and an entry in the installed apps.
; Made by scripts/release-parts.sh (`installer`), which defines
;   VERSION  the version resource's FileVersion text, from app/Version.h
;   COMPANY  the version resource's CompanyName, from resources/Tockwen.rc
;   STAGE    the folder with Tockwen.exe, README.txt and LICENSE.txt, as they go into the zip
;   OUTFILE  the installer to write
;   TARGET   x86-unicode for the shipped installer; amd64-unicode to test a 64-bit build
; The same script and files always give the same bytes.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define ROOT "${__FILEDIR__}/.."
!define EXE "Tockwen.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tockwen"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved"
!define RUN_VALUE "Tockwen"
!define SETTINGS_KEY "Software\Tockwen"

!define PRODUCT "Tockwen"
; 1 once CloseClock has closed a running clock
Var ClosedClock
; the version numbers of the program's own version resource
!getdllversion "${STAGE}/${EXE}" EXE_VERSION_
!searchparse /file "${ROOT}/LICENSE" `Copyright ` COPYRIGHT

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; an upgrade goes where the last install went
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!define MUI_ICON "${ROOT}/resources/AAA.ico"
!define MUI_UNICON "${ROOT}/resources/AAA.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${NSISDIR}/Contrib/Graphics/Wizard/nsis3-metro.bmp"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; Korean pages on a Korean Windows, English everywhere else (the first language is the fallback)
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Korean"

VIProductVersion "${EXE_VERSION_1}.${EXE_VERSION_2}.${EXE_VERSION_3}.${EXE_VERSION_4}"
VIFileVersion "${EXE_VERSION_1}.${EXE_VERSION_2}.${EXE_VERSION_3}.${EXE_VERSION_4}"
VIAddVersionKey /LANG=${LANG_KOREAN} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_KOREAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_KOREAN} "FileDescription" "${PRODUCT} 설치"
VIAddVersionKey /LANG=${LANG_KOREAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_KOREAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_KOREAN} "LegalCopyright" "Copyright ${COPYRIGHT}"

; The size of a WTS_PROCESS_INFOW: two DWORDs and two pointers.
!if ${NSIS_PTR_SIZE} > 4
    !define WTS_PROCESS_INFO_SIZE 24
!else
    !define WTS_PROCESS_INFO_SIZE 16
!endif

; $9 := the text of the SID at address $R7, copied up to its end. Uses $R6 and $R9.
!macro SidText
    System::Call 'advapi32::ConvertSidToStringSidW(p R7, *p .R6) i .R9'
    ${If} $R9 <> 0
        System::Call 'kernel32::lstrcpynW(w .r9, p R6, i ${NSIS_MAX_STRLEN})'
        System::Call 'kernel32::LocalFree(p R6)'
    ${EndIf}
!macroend

; $9 := the text form of the SID of the user that runs process $8 ("S-1-5-21-..."), or "" when it
; cannot be learnt. The Remote Desktop Services list of processes names each one's user, an
; elevated one's too, whose token a program that is not elevated may not open; where the list
; names none (Wine), the process's token is asked (another account's cannot be opened, as a rule).
; Uses $5 to $7, $R4 to $R7 and $R9.
!macro UserSidOfProcess
    StrCpy $9 ""
    System::Call 'wtsapi32::WTSEnumerateProcessesW(p 0, i 0, i 1, *p .r5, *i .r6) i .r7'
    ${If} $7 <> 0
        StrCpy $7 $5
        ${DoWhile} $6 > 0
            System::Call '*$7(i .R4, i .R5, p .R6, p .R7)'
            ${If} $R5 = $8
                ${If} $R7 P<> 0
                    !insertmacro SidText
                ${EndIf}
                ${ExitDo}
            ${EndIf}
            IntPtrOp $7 $7 + ${WTS_PROCESS_INFO_SIZE}
            IntOp $6 $6 - 1
        ${Loop}
        System::Call 'wtsapi32::WTSFreeMemory(p r5)'
    ${EndIf}
    ${If} $9 == ""
        ; PROCESS_QUERY_LIMITED_INFORMATION, then TOKEN_QUERY
        System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r8) p .r5'
        ${If} $5 P<> 0
            System::Call 'advapi32::OpenProcessToken(p r5, i 8, *p .r6) i .r7'
            ${If} $7 <> 0
                ; TokenUser (1): a TOKEN_USER, whose first member points to the SID
                System::Alloc 1024
                Pop $7
                System::Call 'advapi32::GetTokenInformation(p r6, i 1, p r7, i 1024, *i 0) i .R9'
                ${If} $R9 <> 0
                    System::Call '*$7(p .R7)'
                    !insertmacro SidText
                ${EndIf}
                System::Free $7
                System::Call 'kernel32::CloseHandle(p r6)'
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p r5)'
        ${EndIf}
    ${EndIf}
!macroend

; $0 := the program file of process $R2, in the form Run values are compared in (RunProgramPath),
; or "" when it cannot be read. Uses $1, $2 and $5.
!macro ProcessProgramPath
    StrCpy $0 ""
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i R2) p .r5'
    ${If} $5 P<> 0
        System::Call 'kernel32::QueryFullProcessImageNameW(p r5, i 0, w .r0, *i ${NSIS_MAX_STRLEN}) i .r1'
        System::Call 'kernel32::CloseHandle(p r5)'
        ${If} $1 = 0
            StrCpy $0 ""
        ${Else}
            !insertmacro RunProgramPath
        ${EndIf}
    ${EndIf}
!macroend

; Closes the running clock of the user that runs this program, when it runs this installation's
; Tockwen.exe, and waits until its process has ended, so that its files can be replaced or
; deleted. A clock from another folder (a copy from the zip) runs on, and so does another account's
; clock in the same session (Run as): its window is told apart by the user its process runs as.
; The clock answers the registered message "TockwenQuit" as Exit answered Yes: it saves its
; settings and takes its icon away, asking nothing. Sets ClosedClock to 1 when it closed one. Uses
; $0 to $9, $R0 to $R9.
!macro CloseClock
    StrCpy $ClosedClock 0
    StrCpy $0 "$INSTDIR\${EXE}"
    !insertmacro RunProgramPath
    StrCpy $R3 $0
    System::Call 'user32::RegisterWindowMessageW(w "TockwenQuit") i .R1'
    System::Call 'kernel32::GetCurrentProcessId() i .r8'
    !insertmacro UserSidOfProcess
    StrCpy $R8 $9
    StrCpy $4 0
    ${Do}
        StrCpy $R0 0
        ${Do}
            System::Call 'user32::FindWindowExW(p 0, p R0, w "TockwenClockCal", p 0) p .R0'
            ${If} $R0 P= 0
                ${Break}
            ${EndIf}
            System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R2)'
            StrCpy $8 $R2
            !insertmacro UserSidOfProcess
            ; with no SID of its own to compare, the installer takes the user's clocks to be all
            ${If} $R8 == ""
            ${OrIf} $9 == $R8
                !insertmacro ProcessProgramPath
                ${If} $0 == $R3
                    ${Break}
                ${EndIf}
            ${EndIf}
        ${Loop}
        ${If} $R0 P= 0
        ${OrIf} $R1 = 0
            ${Break}
        ${EndIf}
        ; SYNCHRONIZE
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R2) p .r3'
        SendMessage $R0 $R1 0 0 /TIMEOUT=5000
        StrCpy $ClosedClock 1
        ${If} $3 P<> 0
            System::Call 'kernel32::WaitForSingleObject(p r3, i 10000)'
            System::Call 'kernel32::CloseHandle(p r3)'
        ${Else}
            Sleep 200
        ${EndIf}
        ; a clock that does not end is left alone after a few tries
        IntOp $4 $4 + 1
    ${LoopUntil} $4 >= 5
!macroend

; $0 := the program that the Run value text $0 starts, in the form the program compares them in:
; without the quotation marks and blanks around it, environment variables expanded, short names
; spelled out where the file exists (letter case does not count in a LogicLib comparison). Uses
; $1 and $2.
!macro RunProgramPath
    ExpandEnvStrings $0 $0
    ${Do}
        StrCpy $1 $0 1
        ${If} $1 != '"'
        ${AndIf} $1 != " "
        ${AndIf} $1 != "$\t"
            ${ExitDo}
        ${EndIf}
        StrCpy $0 $0 "" 1
    ${Loop}
    ${Do}
        StrCpy $1 $0 "" -1
        ${If} $1 != '"'
        ${AndIf} $1 != " "
        ${AndIf} $1 != "$\t"
            ${ExitDo}
        ${EndIf}
        StrCpy $0 $0 -1
    ${Loop}
    System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
    ${If} $2 <> 0
    ${AndIf} $2 < ${NSIS_MAX_STRLEN}
        StrCpy $0 $1
    ${EndIf}
!macroend

Section
    !insertmacro CloseClock
    SetOutPath "$INSTDIR"
    File "${STAGE}/${EXE}"
    File "${STAGE}/README.txt"
    File "${STAGE}/LICENSE.txt"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; in KiB, as the installed apps list reads it
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    ; Silent, as package managers upgrade, it starts the clock it closed again, as the finish page
    ; would; an interactive install leaves that to its finish page.
    ${If} ${Silent}
    ${AndIf} $ClosedClock = 1
        Exec '"$INSTDIR\${EXE}"'
    ${EndIf}
SectionEnd

Section Uninstall
    ; first, or the clock would write its settings again as it ends
    !insertmacro CloseClock

    ; start with Windows: the per-user value, and the machine-wide one where rights allow, each
    ; only when it starts this installation's Tockwen.exe (another copy's stays, with its place in
    ; Windows' Startup-apps list). The uninstaller has the program's bitness, so it sees the Run key
    ; the program wrote (on 64-bit Windows, the 32-bit program's is redirected to WOW6432Node).
    StrCpy $0 "$INSTDIR\${EXE}"
    !insertmacro RunProgramPath
    StrCpy $3 $0
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    !insertmacro RunProgramPath
    ${If} $0 == $3
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
        DeleteRegValue HKCU "${APPROVED_KEY}\Run" "${RUN_VALUE}"
    ${EndIf}
    ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
    !insertmacro RunProgramPath
    ${If} $0 == $3
        DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
        ; a 32-bit program's machine-wide value on 64-bit Windows has its own list, in the 64-bit view
        ${If} ${IsWow64}
            SetRegView 64
            DeleteRegValue HKLM "${APPROVED_KEY}\Run32" "${RUN_VALUE}"
            SetRegView default
        ${Else}
            DeleteRegValue HKLM "${APPROVED_KEY}\Run" "${RUN_VALUE}"
        ${EndIf}
    ${EndIf}

    ; the settings are shared by every copy of this user: they stay while a Run value names another
    ; copy (a value that names this one is one that could not be removed)
    StrCpy $4 0
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    !insertmacro RunProgramPath
    ${If} $0 != ""
    ${AndIf} $0 != $3
        StrCpy $4 1
    ${EndIf}
    ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
    !insertmacro RunProgramPath
    ${If} $0 != ""
    ${AndIf} $0 != $3
        StrCpy $4 1
    ${EndIf}
    ${If} $4 = 0
        DeleteRegKey HKCU "${SETTINGS_KEY}"
    ${EndIf}
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    ; only the files this installer put there: the folder may have been chosen with others in it
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
