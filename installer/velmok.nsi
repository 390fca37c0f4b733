; The Windows installer of ベルモック: a per-user installation (no administrator rights) of
; VELMOK.exe into its own folder, with Start-menu and desktop shortcuts and an uninstaller.
; It never touches the ".cwj" association: the print run relies on ClarisWorks' own.
;
;   makensis -DVERSION=2.0.49 -DEXE=<path of VELMOK.exe> -DOUTFILE=<setup.exe> installer/velmok.nsi

; A 64-bit installer for the 64-bit program (it also runs where only 64-bit programs can).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION
  !define VERSION "2.0.49"
!endif
!ifndef EXE
  !error "EXE must name the VELMOK.exe to install"
!endif
!ifndef OUTFILE
  !define OUTFILE "VELMOK-${VERSION}-setup.exe"
!endif

!define PRODUCT "ベルモック"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VELMOK"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\VELMOK"
InstallDirRegKey HKCU "Software\${PRODUCT}\Install" "Folder"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "2.0.0.49"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "${PRODUCT}"

!include "MUI2.nsh"
!define MUI_ICON "..\res\art\velmok.ico"
!define MUI_UNICON "..\res\art\velmok.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\VELMOK.exe"
!define MUI_FINISHPAGE_RUN_TEXT "${PRODUCT}を起動する"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "${PRODUCT}" SecMain
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=VELMOK.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; A folder or documents dropped on a shortcut arrive on the program's command line.
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\VELMOK.exe" "" "$INSTDIR\VELMOK.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}のアンインストール.lnk" "$INSTDIR\uninstall.exe"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\VELMOK.exe" "" "$INSTDIR\VELMOK.exe" 0

  WriteRegStr HKCU "Software\${PRODUCT}\Install" "Folder" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\VELMOK.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what was installed and nothing else: the log beside the program, the user's settings
; (HKCU\Software\ベルモック, apart from the installer's own record) and documents stay.
Section "Uninstall"
  SetShellVarContext current
  Delete "$DESKTOP\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}のアンインストール.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$INSTDIR\VELMOK.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"  ; only when empty: a log file keeps the folder
  DeleteRegKey HKCU "Software\${PRODUCT}\Install"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
