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

; Closes a running clock and waits until its process has ended, so that its files can be
; replaced or deleted. The clock answers the registered message "TockwenQuit" as Exit answered
; Yes: it saves its settings and takes its icon away, asking nothing.
!macro CloseClock
    System::Call 'user32::RegisterWindowMessageW(w "TockwenQuit") i .r1'
    StrCpy $4 0
    ${Do}
        FindWindow $0 "TockwenClockCal"
        ${If} $0 = 0
        ${OrIf} $1 = 0
            ${Break}
        ${EndIf}
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r2)'
        ; SYNCHRONIZE
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r2) p .r3'
        SendMessage $0 $1 0 0 /TIMEOUT=5000
        ${If} $3 <> 0
            System::Call 'kernel32::WaitForSingleObject(p r3, i 10000)'
            System::Call 'kernel32::CloseHandle(p r3)'
        ${Else}
            Sleep 200
        ${EndIf}
        ; a clock that does not end is left alone after a few tries
        IntOp $4 $4 + 1
    ${LoopUntil} $4 >= 5
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

    ; start with Windows: the per-user value, and the machine-wide one where rights allow. The
    ; uninstaller has the program's bitness, so it sees the Run key the program wrote (on 64-bit
    ; Windows, the 32-bit program's is redirected to WOW6432Node).
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
    ; what Windows' Startup-apps switch keeps beside them; a 32-bit program's machine-wide value
    ; on 64-bit Windows has its own list, in the 64-bit view
    DeleteRegValue HKCU "${APPROVED_KEY}\Run" "${RUN_VALUE}"
    ${If} ${IsWow64}
        SetRegView 64
        DeleteRegValue HKLM "${APPROVED_KEY}\Run32" "${RUN_VALUE}"
        SetRegView default
    ${Else}
        DeleteRegValue HKLM "${APPROVED_KEY}\Run" "${RUN_VALUE}"
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
