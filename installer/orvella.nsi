; The setup program of Orvella, built by CMake with makensis:
;   makensis -DVERSION=4.08.5 -DVERSION_NUMBERS=4.8.5.0 -DIMAGE=<install image>
;            -DSPANISH_DEFAULTS=<file>
;            -DLICENSE_FILE=<file> -DICON=<file> -DOUTFILE=<setup.exe> installer/orvella.nsi
; It installs or upgrades in place; TVRAUninstaller.exe removes what it leaves.
; Silent with /S: the system's user interface language picks the defaults file.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvella"
!define PUBLISHER "The Orvella developers"

Name "Orvella"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Orvella"
; An upgrade goes where the last install went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=0 "ProductName" "Orvella"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Orvella setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "MIT licence, ${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "StrFunc.nsh"
${StrStr}

!define MUI_ICON "${ICON}"
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Spanish"

Function .onInit
  SetRegView 64
  ; Silent: NSIS has already taken the user interface language (English otherwise).
  ${IfNot} ${Silent}
    !insertmacro MUI_LANGDLL_DISPLAY
  ${EndIf}
FunctionEnd

; A running menu is asked to end (1127) and its process waited for, so that its files can
; be replaced.
Function EndRunningMenu
  FindWindow $0 "TVRA_MainWindow"
  ${If} $0 == 0
    Return
  ${EndIf}
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
  System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
  SendMessage $0 1127 0 0 /TIMEOUT=7000
  ${If} $2 != 0
    System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i'
    System::Call 'kernel32::CloseHandle(p r2) i'
  ${EndIf}
FunctionEnd

; Stops the service, waits until it has, and deletes it; it is created anew after the copy.
Function RemoveService
  nsExec::ExecToLog '"$SYSDIR\sc.exe" stop TVRAService'
  Pop $0
  ${For} $1 1 100
    nsExec::ExecToStack '"$SYSDIR\sc.exe" query TVRAService'
    Pop $0
    Pop $2
    ${StrStr} $3 $2 "STOPPED"
    ${If} $0 != 0
    ${OrIf} $3 != ""
      ${Break}
    ${EndIf}
    Sleep 100
  ${Next}
  nsExec::ExecToLog '"$SYSDIR\sc.exe" delete TVRAService'
  Pop $0
FunctionEnd

; The shell may still map the hook library: it cannot be replaced then, but it can be
; renamed aside and removed at the next restart.
Function SetHookLibraryAside
  Delete "$INSTDIR\hallet.dll"
  ${If} ${FileExists} "$INSTDIR\hallet.dll"
    GetTempFileName $0 "$INSTDIR"
    Delete $0
    Rename "$INSTDIR\hallet.dll" $0
    Delete /REBOOTOK $0
  ${EndIf}
FunctionEnd

Function CreateService
  ; A service that was just deleted may linger a moment until its last handle closes.
  ${For} $1 1 50
    nsExec::ExecToLog '"$SYSDIR\sc.exe" create TVRAService binPath= "\"$INSTDIR\TVRAService.exe\"" start= auto DisplayName= "Orvella session service"'
    Pop $0
    ${IfThen} $0 == 0 ${|} ${Break} ${|}
    Sleep 100
  ${Next}
  nsExec::ExecToLog '"$SYSDIR\sc.exe" start TVRAService'
  Pop $0
FunctionEnd

Section "Orvella"
  Call EndRunningMenu
  Call RemoveService
  SetOutPath "$INSTDIR"
  Call SetHookLibraryAside
  File "${IMAGE}\tvra.exe"
  File "${IMAGE}\hallet.dll"
  File "${IMAGE}\TVRAService.exe"
  File "${IMAGE}\brisel.exe"
  File "${IMAGE}\TVRAUninstaller.exe"
  ${If} $LANGUAGE == ${LANG_SPANISH}
    File "/oname=settings_default.ini" "${SPANISH_DEFAULTS}"
  ${Else}
    File "${IMAGE}\settings_default.ini"
  ${EndIf}
  File "/oname=LICENSE.txt" "${LICENSE_FILE}"
  SetOutPath "$INSTDIR\images"
  File "${IMAGE}\images\*.png"
  SetOutPath "$INSTDIR"
  Call CreateService

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Orvella"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\TVRAUninstaller.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\tvra.exe",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The shell starts the menu, so it runs as the user who is logged on, not elevated.
Function .onInstSuccess
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\tvra.exe"'
FunctionEnd
