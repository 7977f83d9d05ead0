; The Octavane installer. packaging/windows/make-windows builds it with
;   makensis -DVERSION=<x.y.z> -DOUTFILE=<setup.exe> -DFILES=<folder> octavane.nsi
; where FILES holds octavane.ico and the generated lists install-files.nsh and
; uninstall-files.nsh that name every file of the zip's folder.
;
; Per-user (into the user's own programs folder) or per-machine (into Program Files): asked on
; the first page; /CurrentUser or /AllUsers on the command line, and /S for a silent install.
; The uninstaller removes every file it installed, the Start-menu entry and its own registry
; entries; the game's settings key only when asked (a question, or /RemoveSettings with /S).

; A 64-bit installer: the game is 64-bit only, and it runs where no 32-bit subsystem is.
Target amd64-unicode
SetCompressor /SOLID lzma

!define APPNAME "Octavane"
!define COMPANY "Bellwick Software"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APPNAME}"
!define SETTINGSKEY "Software\Bellwick\Octavane"

Name "${APPNAME} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APPNAME} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${APPNAME}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTKEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTKEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh

!define MUI_ICON "${FILES}\octavane.ico"
!define MUI_UNICON "${FILES}\octavane.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\octavane.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The version information of the installer and of the uninstaller it writes, as Explorer's
; Details tab shows it; Windows wants four numbers where the project has three.
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${APPNAME} ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) ${COMPANY}"

Function .onInit
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Octavane" SecMain
  SetOutPath "$INSTDIR"
  !include "${FILES}\install-files.nsh"
  File "/oname=octavane.ico" "${FILES}\octavane.ico"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut starts the game in its own folder; the game finds Sound\ and fonts\ beside
  ; itself from any working directory anyway.
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${APPNAME}.lnk" "$INSTDIR\octavane.exe" "" "$INSTDIR\octavane.ico"

  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayName" "${APPNAME}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTKEY}" "Publisher" "${COMPANY}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\octavane.ico"
  WriteRegStr SHCTX "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTKEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTKEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  !include "${FILES}\uninstall-files.nsh"
  Delete "$INSTDIR\octavane.ico"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APPNAME}.lnk"
  DeleteRegKey SHCTX "${UNINSTKEY}"

  ; The settings belong to the user: kept unless asked.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RemoveSettings" $1
  ${IfNot} ${Errors}
    DeleteRegKey HKCU "${SETTINGSKEY}"
  ${ElseIfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "Remove your ${APPNAME} settings (board colour, fog, move marks) too?" /SD IDNO IDNO keep
      DeleteRegKey HKCU "${SETTINGSKEY}"
    keep:
  ${EndIf}
  DeleteRegKey /ifempty HKCU "Software\Bellwick"
SectionEnd
