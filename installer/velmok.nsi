; The Windows installer of ベルモック: a per-user installation (no administrator rights) of
; VELMOK.exe into its own folder, with Start-menu and desktop shortcuts and an uninstaller.
; It never touches the ".cwj" association: the print run relies on ClarisWorks' own.
;
; One installer for every Windows from 7 SP1 on: a 32-bit program itself, so that a 32-bit Windows
; runs it too, it carries both programs and installs the 64-bit one on a 64-bit (x64) Windows and
; the 32-bit one on any other (32-bit, or ARM, which runs 32-bit programs).
;
;   makensis -DVERSION=2.0.49 -DEXE64=<64-bit VELMOK.exe> -DEXE32=<32-bit VELMOK.exe>
;            -DOUTFILE=<setup.exe> [-DTARGET=amd64-unicode] installer/velmok.nsi
;
; TARGET=amd64-unicode builds the same installer as a 64-bit program, for a machine that runs no
; 32-bit code (the installer's test).

!ifndef TARGET
  !define TARGET x86-unicode
!endif
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION
  !define VERSION "2.0.49"
!endif
!ifndef EXE64
  !error "EXE64 must name the 64-bit VELMOK.exe"
!endif
!ifndef EXE32
  !error "EXE32 must name the 32-bit VELMOK.exe"
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
!include "x64.nsh"
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
  ${If} ${IsNativeAMD64}
    File "/oname=VELMOK.exe" "${EXE64}"
  ${Else}
    File "/oname=VELMOK.exe" "${EXE32}"
  ${EndIf}
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
