; The per-user installer of Karvoss (NSIS 3, Unicode, 64-bit). Built by scripts/package:
;   makensis -INPUTCHARSET UTF8 -DKARVOSS_VERSION_NSH=<build>/packaging/version.nsh
;            -DKARVOSS_EXE=<karvoss.exe> -DOUT_FILE=<setup.exe> packaging/karvoss.nsi
; The version header is written by CMake from the values of the executable's version record, so
; the installer's version and publisher are the program's own.
;
; Karvoss keeps its Data folder beside the executable, so it is installed where the user can
; write, without administrator rights: %LOCALAPPDATA%\Programs\Karvoss. It runs as one background
; process per session; the installer starts it, and by default a Startup shortcut starts it at
; every logon.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef KARVOSS_VERSION_NSH | KARVOSS_EXE | OUT_FILE
  !error "Give -DKARVOSS_VERSION_NSH=..., -DKARVOSS_EXE=... and -DOUT_FILE=... (see scripts/package)"
!endif
!include "${KARVOSS_VERSION_NSH}"

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Karvoss"
; makensis works in the folder of this script.
!define ICON "../resources/karvoss.ico"

Name "Karvoss"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Karvoss"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Karvoss ${KARVOSS_VERSION}"
ShowInstDetails nevershow
SpaceTexts none
ShowUninstDetails nevershow

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
; The welcome and finish pages' picture (scripts/package makes it from the emblem).
!ifdef SIDE_BITMAP
  !define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_BITMAP}"
  !define MUI_UNWELCOMEFINISHPAGE_BITMAP "${SIDE_BITMAP}"
!endif

!define MUI_WELCOMEPAGE_TEXT "Karvoss будет установлен в вашу папку программ: права администратора не нужны.$\r$\n$\r$\nЕсли Karvoss уже установлен и работает, он будет завершён, обновлён и запущен снова. История, команды и настройки (папка Data) сохранятся.$\r$\n$\r$\nНажмите кнопку «Далее» для продолжения."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_COMPONENTSPAGE_TEXT_TOP "Karvoss работает в фоне и ждёт клавиш Win+Z. Чтобы он был готов после каждого входа в Windows, оставьте отметку «Запуск при входе в Windows»."
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Запустить Karvoss (вызов панели: Win+Z)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartKarvoss
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "Программа, её ярлыки и запись в списке программ будут удалены. История, команды и настройки (папка Data) останутся для следующей установки, если не отметить их."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${KARVOSS_FILE_VERSION}"
VIFileVersion "${KARVOSS_FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "Karvoss"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "${KARVOSS_PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка Karvoss"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${KARVOSS_FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${KARVOSS_VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "© ${KARVOSS_PUBLISHER}"

; Ends the Karvoss that runs from $INSTDIR as the end of a session would, so that its file can
; be replaced or removed: every top-level TForm1 window whose process image is the installed
; karvoss.exe (other programs may have a window of that class) gets WM_QUERYENDSESSION and
; WM_ENDSESSION(TRUE, ENDSESSION_CLOSEAPP); a process that has not ended within 5 s is
; terminated.
!macro END_RUNNING_KARVOSS un
Function ${un}EndRunningKarvoss
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $0 0 ; the window after which the search goes on
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r0, w "TForm1", p 0) p .r1'
    ${If} $1 P= 0
      ${Break}
    ${EndIf}
    StrCpy $0 $1
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    ; PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE
    System::Call 'kernel32::OpenProcess(i 0x101001, i 0, i r2) p .r3'
    ${If} $3 P= 0
      ${Continue}
    ${EndIf}
    StrCpy $4 ""
    System::Call 'kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r4, *i ${NSIS_MAX_STRLEN})'
    ; StrCmp, and so ${If} ==, compares without regard to case, as the file system does.
    ${If} $4 == "$INSTDIR\karvoss.exe"
      DetailPrint "Завершение работающей копии Karvoss"
      System::Call 'user32::SendMessageTimeoutW(p r1, i 0x0011, p 0, p 1, i 2, i 5000, *p .r5)'
      System::Call 'user32::SendMessageTimeoutW(p r1, i 0x0016, p 1, p 1, i 2, i 5000, *p .r5)'
      System::Call 'kernel32::WaitForSingleObject(p r3, i 5000) i .r5'
      ${If} $5 != 0
        System::Call 'kernel32::TerminateProcess(p r3, i 1)'
        System::Call 'kernel32::WaitForSingleObject(p r3, i 5000) i .r5'
      ${EndIf}
      ${If} $5 == 0
        ; Its windows are gone: search again from the first window.
        StrCpy $0 0
      ${EndIf}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r3)'
  ${Loop}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro END_RUNNING_KARVOSS ""
!insertmacro END_RUNNING_KARVOSS "un."

Function StartKarvoss
  ; The working folder is the program's own, as the shortcuts give it.
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\karvoss.exe"'
FunctionEnd

Section "Karvoss" SecProgram
  SectionIn RO
  Call EndRunningKarvoss
  SetOutPath "$INSTDIR"
  File "/oname=karvoss.exe" "${KARVOSS_EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Karvoss.lnk" "$INSTDIR\karvoss.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Karvoss"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${KARVOSS_FILE_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${KARVOSS_PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\karvoss.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/M=*.exe /S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Запуск при входе в Windows" SecStartup
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMSTARTUP\Karvoss.lnk" "$INSTDIR\karvoss.exe"
SectionEnd

Section "-StartupOff"
  ; An upgrade without the option takes back the shortcut an earlier installation made.
  ${IfNot} ${SectionIsSelected} ${SecStartup}
    Delete "$SMSTARTUP\Karvoss.lnk"
  ${EndIf}
SectionEnd

Function .onInit
  SetShellVarContext current
  ; Over an installed copy, the option stays as the user left it.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIfNot} ${FileExists} "$SMSTARTUP\Karvoss.lnk"
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
FunctionEnd

Function .onInstSuccess
  ; The finish page offers it otherwise.
  ${If} ${Silent}
    Call StartKarvoss
  ${EndIf}
FunctionEnd

Section "un.Karvoss и его ярлыки" SecUnProgram
  SectionIn RO
  Call un.EndRunningKarvoss
  Delete "$INSTDIR\karvoss.exe"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Karvoss.lnk"
  Delete "$SMSTARTUP\Karvoss.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.История, команды и настройки (Data)" SecUnData
  RMDir /r "$INSTDIR\Data"
SectionEnd

Section "-un.Folder"
  ; Only when nothing else is left in it.
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd
