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

; $9 := the text form of the SID of the user that runs process $8 ("S-1-5-21-..."), or "" when it
; cannot be read (another account's process, as a rule). Uses $5 to $8 and $R9.
!macro UserSidOfProcess
    StrCpy $9 ""
    ; PROCESS_QUERY_LIMITED_INFORMATION, then TOKEN_QUERY
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r8) p .r5'
    ${If} $5 P<> 0
        System::Call 'advapi32::OpenProcessToken(p r5, i 8, *p .r6) i .r7'
        ${If} $7 <> 0
            ; TokenUser (1): a TOKEN_USER, whose first member points to the SID
            System::Alloc 1024
            Pop $7
            System::Call 'advapi32::GetTokenInformation(p r6, i 1, p r7, i 1024, *i 0) i .r8'
            ${If} $8 <> 0
                System::Call '*$7(p .r8)'
                System::Call 'advapi32::ConvertSidToStringSidW(p r8, *p .r8) i .R9'
                ${If} $R9 <> 0
                    System::Call '*$8(&w256 .r9)'
                    System::Call 'kernel32::LocalFree(p r8)'
                ${EndIf}
            ${EndIf}
            System::Free $7
            System::Call 'kernel32::CloseHandle(p r6)'
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r5)'
    ${EndIf}
!macroend

; Closes the running clock of the user that runs this program and waits until its process has
; ended, so that its files can be replaced or deleted. Another account's clock in the same session
; (Run as) is left alone: its window is told apart by the user its process runs as. The clock
; answers the registered message "TockwenQuit" as Exit answered Yes: it saves its settings and
; takes its icon away, asking nothing. Uses $0 to $9, $R8 and $R9.
!macro CloseClock
    System::Call 'user32::RegisterWindowMessageW(w "TockwenQuit") i .r1'
    System::Call 'kernel32::GetCurrentProcessId() i .r8'
    !insertmacro UserSidOfProcess
    StrCpy $R8 $9
    StrCpy $4 0
    ${Do}
        StrCpy $0 0
        ${Do}
            System::Call 'user32::FindWindowExW(p 0, p r0, w "TockwenClockCal", p 0) p .r0'
            ${If} $0 P= 0
                ${Break}
            ${EndIf}
            System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r2)'
            StrCpy $8 $2
            !insertmacro UserSidOfProcess
            ; with no SID of its own to compare, the installer takes the first clock, as it did
            ${If} $R8 == ""
            ${OrIf} $9 == $R8
                ${Break}
            ${EndIf}
        ${Loop}
        ${If} $0 P= 0
        ${OrIf} $1 = 0
            ${Break}
        ${EndIf}
        ; SYNCHRONIZE
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r2) p .r3'
        SendMessage $0 $1 0 0 /TIMEOUT=5000
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

    DeleteRegKey HKCU "${SETTINGS_KEY}"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    ; only the files this installer put there: the folder may have been chosen with others in it
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
