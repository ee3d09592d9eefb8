; The Tastron installer and its uninstaller, in Korean. scripts/make-dist builds it once per
; Windows build:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DARCH=x64|x86 -DSTAGE=FOLDER -DOUTFILE=FILE
; STAGE holds the files of the zip of the same build (the uninstaller's list below names them).
;
; It installs for the current user only, without administrator rights, into
; %LOCALAPPDATA%\Programs\Tastron: the program writes nothing outside the user's own profile,
; so nothing here needs more. /S installs or removes silently.

!macro Require NAME
  !ifndef ${NAME}
    !error "makensis needs -D${NAME}: -DVERSION, -DARCH (x86 or x64), -DSTAGE and -DOUTFILE"
  !endif
!macroend
!insertmacro Require VERSION
!insertmacro Require ARCH
!insertmacro Require STAGE
!insertmacro Require OUTFILE

Unicode true
!if ${ARCH} == x64
  Target amd64-unicode
!else if ${ARCH} == x86
  Target x86-unicode
!else
  !error "ARCH must be x86 or x64, not ${ARCH}"
!endif
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tastron"
!define APP_KEY "Software\Orvanne\Velloran"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Tastron"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tastron"
; An update goes where the installed version is, whatever folder the user chose then.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ManifestDPIAware true

!define MUI_ICON "${STAGE}\TrayIcon.Ico"
!define MUI_UNICON "${STAGE}\TrayIcon.Ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tastron.exe"
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "Tastron을 제거합니다. 규칙(%APPDATA%\tastron)과 창의 설정은 남겨 두며, 함께 지우려면 아래에서 선택하세요."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Korean"

; No copyright holder is named anywhere in the product, so that key is left out on purpose.
!pragma warning disable 9100
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_KOREAN} "ProductName" "Tastron"
VIAddVersionKey /LANG=${LANG_KOREAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_KOREAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_KOREAN} "FileDescription" "Tastron 설치 프로그램"

; A running Tastron answers 0x7F11 with 0x8080 at the window it publishes as Main; a second
; start of the program asks the same way. The window also comes to the front, so the user sees
; what to close. A handle left behind by a crash names no window, or one that does not answer
; so. The program files of a running Tastron cannot be replaced or deleted, and its
; rules and autostart value are in use, so neither the installer nor the uninstaller goes on.
!macro RefuseWhileTastronRuns
  ReadRegDWORD $0 HKCU "${APP_KEY}" "Main"
  StrCpy $1 0
  ${If} $0 <> 0
    SendMessage $0 0x7F11 0 0 $1 /TIMEOUT=5000
  ${EndIf}
  ${If} $1 = 0x8080
    MessageBox MB_OK|MB_ICONSTOP "Tastron이 실행 중입니다.$\r$\nTastron을 종료한 뒤 다시 시도해 주세요." /SD IDOK
    Abort
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileTastronRuns
FunctionEnd

Section "Tastron"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\Tastron.exe"
  File "${STAGE}\trellin_192.dll"
  ; The 32-bit program runs dc64.exe on 64-bit Windows, so the x86 build carries both tools.
  File "${STAGE}\dc*.exe"
  File "${STAGE}\TrayIcon.Ico"
  File "${STAGE}\version.cfg"
  File "${STAGE}\읽어보기.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tastron.lnk" "$INSTDIR\Tastron.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tastron"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tastron.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  !insertmacro RefuseWhileTastronRuns
FunctionEnd

Section "un.Tastron"
  SectionIn RO
  SetShellVarContext current
  Delete "$INSTDIR\Tastron.exe"
  Delete "$INSTDIR\trellin_192.dll"
  Delete "$INSTDIR\dc32.exe"
  Delete "$INSTDIR\dc64.exe"
  Delete "$INSTDIR\TrayIcon.Ico"
  Delete "$INSTDIR\version.cfg"
  Delete "$INSTDIR\읽어보기.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only if empty: whatever the user put there stays.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tastron.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Tastron"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Not selected unless the user ticks it, so /S keeps the rules and settings.
Section /o "un.설정과 규칙도 지우기"
  SetShellVarContext current
  RMDir /r "$APPDATA\tastron"
  DeleteRegKey HKCU "${APP_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Orvanne"
SectionEnd
