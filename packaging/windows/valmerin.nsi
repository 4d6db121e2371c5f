; Valmerin's installer: per user, no administrator rights. The program goes to
; %LOCALAPPDATA%\Programs\Valmerin; its data folder is %APPDATA%\Valmerin, which
; the uninstaller leaves alone. Built by scripts/windows-package:
;   makensis -DVERSION=1.0.0 -DSOURCE=<folder> -DOUTFILE=<setup.exe> -DICON=<ico> valmerin.nsi
; The program is 64-bit only, and so is the installer (it runs under a 64-bit
; Wine without its 32-bit part, too).
Target amd64-unicode
!include "MUI2.nsh"

Name "Valmerin ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Valmerin"
SetCompressor /SOLID lzma
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Valmerin"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "Valmerin"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di Valmerin"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "Valmerin developers"

!define MUI_FINISHPAGE_RUN "$INSTDIR\valmerin.exe"
!define MUI_FINISHPAGE_TEXT "Valmerin è installato. Dal menu Start lavora nella cartella dei dati $APPDATA\Valmerin, creata al primo avvio."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Section "Valmerin"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  ; Started in this folder, the program works in the user's data folder instead.
  FileOpen $0 "$INSTDIR\valmerin-installato.txt" w
  FileWrite $0 "Installato da Valmerin-${VERSION}-setup.exe: i dati sono in $APPDATA\Valmerin.$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\Disinstalla Valmerin.exe"

  ; The shortcut starts the program in its own folder (the folder current when
  ; the shortcut is made): seeing the file above, it moves to $APPDATA\Valmerin,
  ; and makes it when it is missing.
  CreateShortCut "$SMPROGRAMS\Valmerin.lnk" "$INSTDIR\valmerin.exe" "" "$INSTDIR\valmerin.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Valmerin"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Valmerin developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\valmerin.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Disinstalla Valmerin.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Disinstalla Valmerin.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The user's data folder ($APPDATA\Valmerin) stays: it holds their settings.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Valmerin.lnk"
  RMDir /r "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
