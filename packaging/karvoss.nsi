; The per-user installer of Karvoss (NSIS 3, Unicode, 64-bit). Built by scripts/package:
;   makensis -INPUTCHARSET UTF8 -DKARVOSS_VERSION_NSH=<build>/packaging/version.nsh
;            -DKARVOSS_EXE=<karvoss.exe> -DOUT_FILE=<setup.exe> [-DSIDE_BITMAP=<bmp>]
;            packaging/karvoss.nsi
; The version header is written by CMake from the values of the executable's version record, so
; the installer's version and publisher are the program's own.
;
; Karvoss keeps its Data folder beside the executable, so it is installed where the user can
; write, without administrator rights: %LOCALAPPDATA%\Programs\Karvoss. It runs as one background
; process per session; the installer starts it, and by default a Startup shortcut starts it at
; every logon.
;
; Package managers run it silently and believe its exit code, so every file operation is checked,
; and a failure leaves things as they were: the installed version registered, in place and
; running again; nothing unregistered while its files remain. The exit codes of the installer and
; of the uninstaller:
;   0  done
;   1  cancelled by the user
;   2  stopped for another reason
;   3  a file could not be written, replaced or removed (another program holds it)
;   4  another installer or uninstaller of Karvoss is running and did not end in time
;   5  a newer version is installed (a silent downgrade needs /ALLOWDOWNGRADE)
;   6  the running Karvoss could not be ended
; The installer's switches besides NSIS's own /S and /D=<folder> (which comes last):
;   /NOSTARTUP       no Startup shortcut (an earlier installation's is removed)
;   /NORUN           Karvoss is not started at the end
;   /ALLOWDOWNGRADE  a newer installed version is replaced without a question

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
!include WordFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Karvoss"
; makensis works in the folder of this script.
!define ICON "../resources/karvoss.ico"

!define EXIT_FILE_BUSY 3
!define EXIT_SETUP_RUNNING 4
!define EXIT_NEWER_INSTALLED 5
!define EXIT_STILL_RUNNING 6
; A held file is tried again for a few seconds (a virus scanner or an indexer lets go soon).
!define FILE_TRIES 20
!define FILE_RETRY_MS 250

Name "Karvoss"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Karvoss"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Karvoss ${KARVOSS_VERSION}"
ShowInstDetails nevershow
SpaceTexts none
ShowUninstDetails nevershow

; The uninstaller has the installer's version record; it describes itself as the uninstaller.
!uninstfinalize 'python3 "../scripts/describe_uninstaller.py" "%1"'

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
; The welcome and finish pages' picture (scripts/package makes it from the emblem).
!ifdef SIDE_BITMAP
  !define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_BITMAP}"
  !define MUI_UNWELCOMEFINISHPAGE_BITMAP "${SIDE_BITMAP}"
!endif

!define MUI_WELCOMEPAGE_TEXT "Karvoss будет установлен в вашу папку программ: права администратора не нужны.$\r$\n$\r$\nЕсли Karvoss уже установлен и работает, он будет завершён, обновлён и запущен снова. История, команды и настройки (папка Data) сохранятся.$\r$\n$\r$\nKarvoss — свободная программа под лицензией MIT.$\r$\n$\r$\nНажмите кнопку «Далее» для продолжения."
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

Var Path        ; the file a helper function works on
Var Target      ; where RenameRetrying puts it
Var Ok          ; a helper function's answer: 1 or 0
Var Running     ; 1: a Karvoss ran before it was ended (it is started again after a failure)
Var OldDir      ; the registered installation's folder; "" when there is none
Var OldVersion  ; its registered version
Var Moving      ; 1: installing into another folder than the registered installation's
Var HadStartup  ; 1: the Startup shortcut existed before
Var StateExe    ; what happened to a file: "" nothing, "new" it is new, "old" the old one is *.old
Var StateUn
Var StateOldExe
Var StateOldUn
Var CopiedData  ; 1: the registered installation's Data was copied into the new folder
Var Registered  ; 1: the program's entries were written
Var FailCode

; ---------------------------------------------------------------------------------------------
; Helpers of both the installer and the uninstaller.

!macro SHARED_FUNCTIONS un
; One installer or uninstaller of Karvoss at a time: two at once would end and start each other's
; Karvoss. The mutex is owned by the main thread until the process ends. A silent one waits for
; the other to finish; an interactive one asks.
Function ${un}TakeSetupMutex
  System::Call 'kernel32::CreateMutexW(p 0, i 0, w "KarvossSetup") p .r0'
  ${If} $0 P= 0
    Return
  ${EndIf}
  ${Do}
    ${If} ${Silent}
      System::Call 'kernel32::WaitForSingleObject(p r0, i 120000) i .r1'
    ${Else}
      System::Call 'kernel32::WaitForSingleObject(p r0, i 2000) i .r1'
    ${EndIf}
    ; WAIT_OBJECT_0, or WAIT_ABANDONED when the other one ended without letting go.
    ${If} $1 = 0
    ${OrIf} $1 = 0x80
      Return
    ${EndIf}
    ${If} ${Silent}
      ${Break}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Уже идёт установка или удаление Karvoss.$\r$\n$\r$\nДождитесь её окончания и нажмите «Повтор»." IDRETRY`
      ${Break}
    ${EndIf}
  ${Loop}
  SetErrorLevel ${EXIT_SETUP_RUNNING}
  Quit
FunctionEnd

; $Ok := 1 when a Karvoss runs in this session: its single-instance mutex exists.
Function ${un}KarvossRuns
  StrCpy $Ok 0
  System::Call 'kernel32::OpenMutexW(i 0x100000, i 0, w "Karvossz") p .r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    StrCpy $Ok 1
  ${EndIf}
FunctionEnd

; $Ok := 1 when $Path is missing or free to be renamed or removed, trying again for a few
; seconds. A running program's own file is free in this sense (Windows lets it be renamed), so
; this is asked before Karvoss is ended: a file that another program holds fails the whole
; operation while everything is still as it was.
Function ${un}WaitUntilFree
  StrCpy $1 0
  ${Do}
    ; DELETE access, sharing read, write and delete, OPEN_EXISTING.
    System::Call 'kernel32::CreateFileW(w "$Path", i 0x10000, i 7, p 0, i 3, i 0, p 0) p .r0 ?e'
    Pop $2
    ${If} $0 P<> -1
      System::Call 'kernel32::CloseHandle(p r0)'
      StrCpy $Ok 1
      Return
    ${EndIf}
    ; ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND
    ${If} $2 = 2
    ${OrIf} $2 = 3
      StrCpy $Ok 1
      Return
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 >= ${FILE_TRIES}
      StrCpy $Ok 0
      Return
    ${EndIf}
    Sleep ${FILE_RETRY_MS}
  ${Loop}
FunctionEnd

; $Ok := 1 when $Path is gone, trying again for a few seconds.
Function ${un}DeleteRetrying
  StrCpy $1 0
  ${Do}
    ClearErrors
    Delete "$Path"
    ${IfNot} ${Errors}
    ${AndIfNot} ${FileExists} "$Path"
      StrCpy $Ok 1
      Return
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 >= ${FILE_TRIES}
      StrCpy $Ok 0
      Return
    ${EndIf}
    Sleep ${FILE_RETRY_MS}
  ${Loop}
FunctionEnd

Function ${un}StartKarvossIn
  ; The working folder is the program's own, as the shortcuts give it. A Karvoss that is
  ; running already would only meet its single-instance guard and say so.
  Call ${un}KarvossRuns
  ${If} $Ok == 0
  ${AndIf} ${FileExists} "$Path\karvoss.exe"
    SetOutPath "$Path"
    Exec '"$Path\karvoss.exe"'
  ${EndIf}
FunctionEnd
!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

; ---------------------------------------------------------------------------------------------
; The installer.

; $Ok := 1 when $Path could be renamed to $Target, trying again for a few seconds.
Function RenameRetrying
  StrCpy $1 0
  ${Do}
    ClearErrors
    Rename "$Path" "$Target"
    ${IfNot} ${Errors}
      StrCpy $Ok 1
      Return
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 >= ${FILE_TRIES}
      StrCpy $Ok 0
      Return
    ${EndIf}
    Sleep ${FILE_RETRY_MS}
  ${Loop}
FunctionEnd

; Puts a file back as it was, from what its state variable says happened to it.
!macro RESTORE_FILE file state
  ${If} ${state} == "old"
    Delete "${file}"
    StrCpy $Path "${file}.old"
    StrCpy $Target "${file}"
    Call RenameRetrying
  ${ElseIf} ${state} == "new"
    Delete "${file}"
  ${EndIf}
  StrCpy ${state} ""
!macroend

; The program's entries for the user, for the installation in $Path of version $Target: the
; list of installed programs, the Start menu and, when chosen ($Ok), the Startup shortcut.
Function WriteEntries
  ${GetSize} "$Path" "/M=*.exe /S=0K /G=0" $0 $1 $2
  ClearErrors
  SetOutPath "$Path"
  CreateShortcut "$SMPROGRAMS\Karvoss.lnk" "$Path\karvoss.exe"
  ${If} $Ok == 1
    CreateShortcut "$SMSTARTUP\Karvoss.lnk" "$Path\karvoss.exe"
  ${Else}
    Delete "$SMSTARTUP\Karvoss.lnk"
  ${EndIf}
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Karvoss"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "$Target"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${KARVOSS_PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$Path\karvoss.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$Path"
  ; Run in place (_?=), the uninstaller waits for its own work and so returns its real result.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$Path\uninstall.exe" _?=$Path'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$Path\uninstall.exe" /S _?=$Path'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

; Undoes what the installation did so far, newest first, and starts the Karvoss it ended.
Function Rollback
  !insertmacro RESTORE_FILE "$OldDir\uninstall.exe" $StateOldUn
  !insertmacro RESTORE_FILE "$OldDir\karvoss.exe" $StateOldExe
  !insertmacro RESTORE_FILE "$INSTDIR\uninstall.exe" $StateUn
  !insertmacro RESTORE_FILE "$INSTDIR\karvoss.exe" $StateExe
  ${If} $Registered == 1
    ${If} $OldDir != ""
      StrCpy $Path "$OldDir"
      StrCpy $Target "$OldVersion"
      StrCpy $Ok "$HadStartup"
      Call WriteEntries
    ${Else}
      DeleteRegKey HKCU "${UNINSTALL_KEY}"
      Delete "$SMPROGRAMS\Karvoss.lnk"
      Delete "$SMSTARTUP\Karvoss.lnk"
    ${EndIf}
    StrCpy $Registered 0
  ${EndIf}
  Delete "$INSTDIR\karvoss.exe.new"
  Delete "$INSTDIR\uninstall.exe.new"
  ${If} $CopiedData == 1
    RMDir /r "$INSTDIR\Data"
    StrCpy $CopiedData 0
  ${EndIf}
  ; A new folder goes again; a folder with anything else in it stays.
  RMDir "$INSTDIR"
  ${If} $Running == 1
    ${If} $OldDir != ""
      StrCpy $Path "$OldDir"
    ${Else}
      StrCpy $Path "$INSTDIR"
    ${EndIf}
    Call StartKarvossIn
  ${EndIf}
FunctionEnd

; Ends the installation with $FailCode after undoing it; $0 is the text to show.
Function Fail
  Call Rollback
  MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
  SetErrorLevel $FailCode
  Abort
FunctionEnd

; Fails unless $Path is free (see WaitUntilFree); interactively the user may close the program
; that holds it and try again.
Function RequireFree
  ${Do}
    Call WaitUntilFree
    ${If} $Ok == 1
      Return
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Файл $Path открыт другой программой, и установка не может его заменить.$\r$\n$\r$\nЗакройте эту программу и нажмите «Повтор». Если нажать «Отмена», установленный Karvoss останется как был." /SD IDCANCEL IDRETRY`
      ${Break}
    ${EndIf}
  ${Loop}
  Call Rollback
  SetErrorLevel ${EXIT_FILE_BUSY}
  Abort
FunctionEnd

; Fails unless $Path is gone (leftovers of an installation that was cut off are ours to remove).
Function RemoveLeftover
  Call DeleteRetrying
  ${If} $Ok == 0
    Call RequireFree
  ${EndIf}
FunctionEnd

; Puts the staged file.new in the place of the file, keeping the old one as file.old, and records
; in the state variable what was done, for Rollback.
!macro SWAP_IN file state
  ${If} ${FileExists} "${file}"
    StrCpy $Path "${file}"
    StrCpy $Target "${file}.old"
    Call RenameRetrying
    ${If} $Ok == 0
      StrCpy $FailCode ${EXIT_FILE_BUSY}
      StrCpy $0 "Не удалось заменить файл ${file}.$\r$\n$\r$\nУстановленный Karvoss остался как был."
      Call Fail
    ${EndIf}
    StrCpy ${state} "old"
  ${Else}
    StrCpy ${state} "new"
  ${EndIf}
  StrCpy $Path "${file}.new"
  StrCpy $Target "${file}"
  Call RenameRetrying
  ${If} $Ok == 0
    StrCpy $FailCode ${EXIT_FILE_BUSY}
    StrCpy $0 "Не удалось записать файл ${file}.$\r$\n$\r$\nУстановленный Karvoss остался как был."
    Call Fail
  ${EndIf}
!macroend

; Moves an old installation's file aside as *.old (removed when the installation succeeds).
!macro RETIRE file state
  ${If} ${FileExists} "${file}"
    StrCpy $Path "${file}"
    StrCpy $Target "${file}.old"
    Call RenameRetrying
    ${If} $Ok == 0
      StrCpy $FailCode ${EXIT_FILE_BUSY}
      StrCpy $0 "Не удалось убрать файл ${file} прежней установки.$\r$\n$\r$\nУстановленный Karvoss остался как был."
      Call Fail
    ${EndIf}
    StrCpy ${state} "old"
  ${EndIf}
!macroend

Function StartKarvoss
  StrCpy $Path "$INSTDIR"
  Call StartKarvossIn
FunctionEnd

Section "Karvoss" SecProgram
  SectionIn RO
SectionEnd

Section "Запуск при входе в Windows" SecStartup
SectionEnd

; The whole installation, after the choices above, as one undoable step.
Section "-Install"
  StrCpy $Moving 0
  ${If} $OldDir != ""
  ${AndIf} $OldDir != $INSTDIR
    StrCpy $Moving 1
  ${EndIf}

  ; Leftovers of an installation that was cut off.
  StrCpy $Path "$INSTDIR\karvoss.exe.new"
  Call RemoveLeftover
  StrCpy $Path "$INSTDIR\uninstall.exe.new"
  Call RemoveLeftover
  StrCpy $Path "$INSTDIR\karvoss.exe.old"
  Call RemoveLeftover
  StrCpy $Path "$INSTDIR\uninstall.exe.old"
  Call RemoveLeftover

  ; Every file to be replaced or removed is free, or nothing changes.
  StrCpy $Path "$INSTDIR\karvoss.exe"
  Call RequireFree
  StrCpy $Path "$INSTDIR\uninstall.exe"
  Call RequireFree
  ${If} $Moving == 1
    StrCpy $Path "$OldDir\karvoss.exe"
    Call RequireFree
    StrCpy $Path "$OldDir\uninstall.exe"
    Call RequireFree
  ${EndIf}

  ; The new files beside the old ones.
  ClearErrors
  CreateDirectory "$INSTDIR"
  SetOutPath "$INSTDIR"
  SetOverwrite try
  File "/oname=$INSTDIR\karvoss.exe.new" "${KARVOSS_EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe.new"
  ${If} ${Errors}
    StrCpy $FailCode ${EXIT_FILE_BUSY}
    StrCpy $0 "Не удалось записать файлы в папку $INSTDIR.$\r$\n$\r$\nУстановленный Karvoss остался как был."
    Call Fail
  ${EndIf}

  ; Every running Karvoss of this user ends, whatever its folder, so that one Karvoss runs
  ; afterwards: the new program's own switch does it.
  Call KarvossRuns
  StrCpy $Running $Ok
  InitPluginsDir
  ClearErrors
  File "/oname=$PLUGINSDIR\karvoss.exe" "${KARVOSS_EXE}"
  ExecWait '"$PLUGINSDIR\karvoss.exe" /exit' $1
  ${If} ${Errors}
  ${OrIf} $1 != 0
    StrCpy $FailCode ${EXIT_STILL_RUNNING}
    StrCpy $0 "Не удалось завершить работающий Karvoss.$\r$\n$\r$\nЗавершите его (команда quit на панели Win+Z) и запустите установку снова. Установленный Karvoss остался как был."
    Call Fail
  ${EndIf}

  ; A new folder gets a copy of the registered installation's Data; the old one stays.
  ${If} $Moving == 1
  ${AndIf} ${FileExists} "$OldDir\Data\*.*"
  ${AndIfNot} ${FileExists} "$INSTDIR\Data\*.*"
    StrCpy $CopiedData 1
    ClearErrors
    CopyFiles /SILENT "$OldDir\Data" "$INSTDIR"
    ${If} ${Errors}
      StrCpy $FailCode ${EXIT_FILE_BUSY}
      StrCpy $0 "Не удалось скопировать папку $OldDir\Data в $INSTDIR.$\r$\n$\r$\nУстановленный Karvoss остался как был."
      Call Fail
    ${EndIf}
  ${EndIf}

  !insertmacro SWAP_IN "$INSTDIR\karvoss.exe" $StateExe
  !insertmacro SWAP_IN "$INSTDIR\uninstall.exe" $StateUn
  ${If} $Moving == 1
    ; The old uninstaller first: it would remove the new installation's entries.
    !insertmacro RETIRE "$OldDir\uninstall.exe" $StateOldUn
    !insertmacro RETIRE "$OldDir\karvoss.exe" $StateOldExe
  ${EndIf}

  StrCpy $Registered 1
  StrCpy $Path "$INSTDIR"
  StrCpy $Target "${KARVOSS_VERSION}"
  StrCpy $Ok 0
  ${If} ${SectionIsSelected} ${SecStartup}
    StrCpy $Ok 1
  ${EndIf}
  Call WriteEntries
  ${If} ${Errors}
    StrCpy $FailCode ${EXIT_FILE_BUSY}
    StrCpy $0 "Не удалось записать ярлыки Karvoss или его запись в списке программ.$\r$\n$\r$\nУстановленный Karvoss остался как был."
    Call Fail
  ${EndIf}

  ; Done: the old files go. What cannot go now is removed by the next installation.
  Delete "$INSTDIR\karvoss.exe.old"
  Delete "$INSTDIR\uninstall.exe.old"
  ${If} $Moving == 1
    Delete "$OldDir\karvoss.exe.old"
    Delete "$OldDir\uninstall.exe.old"
    ; Only when nothing else, such as its Data, is left in it.
    RMDir "$OldDir"
  ${EndIf}
SectionEnd

Function .onInit
  SetShellVarContext current
  Call TakeSetupMutex
  ${GetParameters} $R0

  ReadRegStr $OldDir HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $OldVersion HKCU "${UNINSTALL_KEY}" "DisplayVersion"
  StrCpy $HadStartup 0
  ${If} ${FileExists} "$SMSTARTUP\Karvoss.lnk"
    StrCpy $HadStartup 1
  ${EndIf}

  ; No silent downgrade: the installed program's own version is compared, not the list's.
  ${If} ${FileExists} "$OldDir\karvoss.exe"
    ${GetFileVersion} "$OldDir\karvoss.exe" $0
    ${VersionCompare} "$0" "${KARVOSS_FILE_VERSION}" $1
    ClearErrors
    ${GetOptions} "$R0" "/ALLOWDOWNGRADE" $2
    ${If} $1 == 1
    ${AndIf} ${Errors}
      ${IfNot} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Установлена более новая версия Karvoss ($OldVersion).$\r$\n$\r$\nЗаменить её версией ${KARVOSS_VERSION}?" /SD IDNO IDYES`
        SetErrorLevel ${EXIT_NEWER_INSTALLED}
        Quit
      ${EndIf}
    ${EndIf}
  ${EndIf}

  ; Over an installed copy, the option stays as the user left it.
  ${If} $OldDir != ""
  ${AndIf} $HadStartup == 0
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
  ClearErrors
  ${GetOptions} "$R0" "/NOSTARTUP" $0
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
FunctionEnd

Function .onInstSuccess
  ; The finish page offers it otherwise.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} "$R0" "/NORUN" $0
  ${If} ${Silent}
  ${AndIf} ${Errors}
    Call StartKarvoss
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------------------------
; The uninstaller. Run as the list of installed programs runs it (in place, with _?=), it waits
; for its work and returns the result; a helper copy in the temporary folder removes
; uninstall.exe and the folder once it has ended. Run without _?=, NSIS itself runs it from a
; copy in the temporary folder and returns at once.

Var InPlace     ; 1: running from the installation's folder
Var OwnsEntries ; 1: the registration is this folder's (an orphaned copy leaves a newer one alone)

; Ends the uninstallation with $FailCode, starting the Karvoss it ended; $0 is the text to show.
Function un.Fail
  ${If} $Running == 1
    StrCpy $Path "$INSTDIR"
    Call un.StartKarvossIn
  ${EndIf}
  MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
  SetErrorLevel $FailCode
  Abort
FunctionEnd

Function un.RequireFree
  ${Do}
    Call un.WaitUntilFree
    ${If} $Ok == 1
      Return
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Файл $Path открыт другой программой, и удаление не может его убрать.$\r$\n$\r$\nЗакройте эту программу и нажмите «Повтор». Если нажать «Отмена», Karvoss останется установленным." /SD IDCANCEL IDRETRY`
      ${Break}
    ${EndIf}
  ${Loop}
  SetErrorLevel ${EXIT_FILE_BUSY}
  Abort
FunctionEnd

Function un.RemoveOrFail
  Call un.DeleteRetrying
  ${If} $Ok == 0
    StrCpy $FailCode ${EXIT_FILE_BUSY}
    StrCpy $0 "Не удалось удалить файл $Path.$\r$\n$\r$\nKarvoss остался установленным; закройте программу, которая держит файл, и удалите его снова."
    Call un.Fail
  ${EndIf}
FunctionEnd

Section "un.Karvoss и его ярлыки" SecUnProgram
  SectionIn RO
SectionEnd

Section /o "un.История, команды и настройки (Data)" SecUnData
SectionEnd

Section "-un.Remove"
  StrCpy $Path "$INSTDIR\karvoss.exe"
  Call un.RequireFree
  ; Run in place, uninstall.exe is this process's own file, which it holds open.
  ${If} $InPlace == 0
    StrCpy $Path "$INSTDIR\uninstall.exe"
    Call un.RequireFree
  ${EndIf}

  ${If} $InPlace == 1
    ; uninstall.exe cannot remove itself while it runs: a copy removes it once this one ends.
    ClearErrors
    System::Call 'kernel32::GetCurrentProcessId() i .r1'
    InitPluginsDir
    CopyFiles /SILENT "$EXEPATH" "$PLUGINSDIR\cleanup.exe"
    Exec '"$PLUGINSDIR\cleanup.exe" /S /CLEANUPAFTER=$1 _?=$INSTDIR'
    ${If} ${Errors}
      StrCpy $FailCode ${EXIT_FILE_BUSY}
      StrCpy $0 "Не удалось запустить удаление из временной папки.$\r$\n$\r$\nKarvoss остался установленным."
      Call un.Fail
    ${EndIf}
  ${EndIf}

  ; The program's own switch ends the Karvoss of this session.
  Call un.KarvossRuns
  StrCpy $Running $Ok
  ${If} ${FileExists} "$INSTDIR\karvoss.exe"
    ClearErrors
    ExecWait '"$INSTDIR\karvoss.exe" /exit' $1
    ${If} ${Errors}
    ${OrIf} $1 != 0
      StrCpy $FailCode ${EXIT_STILL_RUNNING}
      StrCpy $0 "Не удалось завершить работающий Karvoss.$\r$\n$\r$\nЗавершите его (команда quit на панели Win+Z) и удалите Karvoss снова."
      Call un.Fail
    ${EndIf}
  ${EndIf}

  ${If} ${SectionIsSelected} ${SecUnData}
    ClearErrors
    RMDir /r "$INSTDIR\Data"
    ${If} ${Errors}
    ${OrIf} ${FileExists} "$INSTDIR\Data\*.*"
      StrCpy $FailCode ${EXIT_FILE_BUSY}
      StrCpy $0 "Не удалось удалить папку $INSTDIR\Data.$\r$\n$\r$\nKarvoss остался установленным."
      Call un.Fail
    ${EndIf}
  ${EndIf}

  StrCpy $Path "$INSTDIR\karvoss.exe"
  Call un.RemoveOrFail
  ; Karvoss cannot be started again from here on: nothing to start.
  StrCpy $Running 0
  Delete "$INSTDIR\karvoss.exe.old"
  Delete "$INSTDIR\karvoss.exe.new"
  Delete "$INSTDIR\uninstall.exe.old"
  Delete "$INSTDIR\uninstall.exe.new"
  ${If} $OwnsEntries == 1
    StrCpy $Path "$SMPROGRAMS\Karvoss.lnk"
    Call un.RemoveOrFail
    StrCpy $Path "$SMSTARTUP\Karvoss.lnk"
    Call un.RemoveOrFail
  ${EndIf}
  ${If} $InPlace == 0
    StrCpy $Path "$INSTDIR\uninstall.exe"
    Call un.RemoveOrFail
  ${EndIf}
  ; The registration goes last: while any file is left, the program stays listed.
  ${If} $OwnsEntries == 1
    ClearErrors
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${If} ${Errors}
      StrCpy $FailCode ${EXIT_FILE_BUSY}
      StrCpy $0 "Не удалось удалить запись Karvoss из списка программ."
      Call un.Fail
    ${EndIf}
  ${EndIf}
  ; Only when nothing else is left in it.
  ${If} $InPlace == 0
    RMDir "$INSTDIR"
  ${EndIf}
SectionEnd

; The helper copy: once the uninstaller that started it has ended with success, its file and
; the folder go, unless an installation has come to the folder meanwhile.
Function un.CleanUpAfter
  ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
  System::Call 'kernel32::OpenProcess(i 0x101000, i 0, i $0) p .r1'
  ${If} $1 P= 0
    Return
  ${EndIf}
  System::Call 'kernel32::WaitForSingleObject(p r1, i 60000)'
  StrCpy $3 1
  System::Call 'kernel32::GetExitCodeProcess(p r1, *i .r3)'
  System::Call 'kernel32::CloseHandle(p r1)'
  ${If} $3 != 0
    Return
  ${EndIf}
  Call un.TakeSetupMutex
  ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $2 != $INSTDIR
    StrCpy $Path "$INSTDIR\uninstall.exe"
    Call un.DeleteRetrying
    RMDir "$INSTDIR"
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} "$R0" "/CLEANUPAFTER=" $0
  ${IfNot} ${Errors}
    Call un.CleanUpAfter
    Quit
  ${EndIf}
  Call un.TakeSetupMutex
  StrCpy $InPlace 0
  ${If} $EXEDIR == $INSTDIR
    StrCpy $InPlace 1
  ${EndIf}
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  StrCpy $OwnsEntries 0
  ${If} $0 == $INSTDIR
    StrCpy $OwnsEntries 1
  ${EndIf}
FunctionEnd
