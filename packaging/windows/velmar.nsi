; The Windows installer of Velmar, made with NSIS (makensis) from the program folder that
; `cmake --install build-windows` makes; packaging/windows/make_packages.cmake runs it with:
;   VERSION        the program's version, 0.24.0
;   PROGRAM        the program folder to ship
;   FILES          the file list made from that folder (one File line for each file)
;   UNFILES        the same files as Delete lines, and their folders as RMDir lines
;   ICON, OUTFILE  the icon, and the installer to write
;
; It installs for every user of the machine into Program Files (the usual place, which only an
; administrator may change), adds Velmar to the Start menu and to the "Open with" list of .nes
; files, and registers its uninstaller with Windows. The uninstaller removes exactly the files
; and registry entries the installer made: the user's settings, sample image and recovery copy
; in %APPDATA%\Velmar, and any file of the user's in the program folder, stay.
;
; Silent: velmar-<version>-windows-x64-setup.exe /S [/D=C:\Other\Folder]; Uninstall.exe /S.

; A 64-bit installer, as Velmar is a 64-bit program (and 64-bit Wine runs no 32-bit one).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmar"
!define PROGID "Velmar.nes"

Name "Velmar ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velmar"
InstallDirRegKey HKLM "Software\Velmar" "InstallDir"
RequestExecutionLevel admin
BrandingText "Velmar ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Velmar"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Velmar ${VERSION} installer"
VIAddVersionKey "CompanyName" "The Velmar developers"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 the Velmar developers. MIT License."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\velmar.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Velmar"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.md"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the README"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_LICENSE "${PROGRAM}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Velmar"
  ; An earlier version in the same folder is uninstalled first, so that none of its files stays
  ; behind unlisted (its uninstaller keeps the user's files too).
  ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
    ExecWait '"$INSTDIR\Uninstall.exe" /S _?=$INSTDIR'
    Delete "$INSTDIR\Uninstall.exe"
  ${EndIf}

  !include "${FILES}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "Software\Velmar" "InstallDir" "$INSTDIR"

  CreateShortcut "$SMPROGRAMS\Velmar.lnk" "$INSTDIR\velmar.exe" "" "$INSTDIR\velmar.exe" 0 \
    SW_SHOWNORMAL "" "Level editor for the ROM image of an NES action game"

  ; .nes files: Velmar joins their "Open with" list and their context menu ("Open with Velmar"),
  ; and does not take the double-click from the emulator that may have it.
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "NES ROM image"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" '"$INSTDIR\velmar.exe",0'
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open" "" "Open with Velmar"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\velmar.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\.nes\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKLM "Software\Classes\Applications\velmar.exe" "FriendlyAppName" "Velmar"
  WriteRegStr HKLM "Software\Classes\Applications\velmar.exe\SupportedTypes" ".nes" ""
  WriteRegStr HKLM "Software\Classes\Applications\velmar.exe\shell\open\command" "" '"$INSTDIR\velmar.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\SystemFileAssociations\.nes\shell\Velmar" "" "Open with Velmar"
  WriteRegStr HKLM "Software\Classes\SystemFileAssociations\.nes\shell\Velmar" "Icon" '"$INSTDIR\velmar.exe",0'
  WriteRegStr HKLM "Software\Classes\SystemFileAssociations\.nes\shell\Velmar\command" "" \
    '"$INSTDIR\velmar.exe" "%1"'

  ; Apps & features: the name, version, size and the uninstaller.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Velmar"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Velmar developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\velmar.exe",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ; Explorer reads the file types again.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  ; The installed files one by one, then their folders where they are empty: a folder that holds
  ; a file of the user's stays, with that file.
  !include "${UNFILES}"
  Delete "$SMPROGRAMS\Velmar.lnk"

  DeleteRegKey HKLM "Software\Classes\${PROGID}"
  DeleteRegValue HKLM "Software\Classes\.nes\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKLM "Software\Classes\.nes\OpenWithProgids"
  DeleteRegKey /ifempty HKLM "Software\Classes\.nes"
  DeleteRegKey HKLM "Software\Classes\Applications\velmar.exe"
  DeleteRegKey HKLM "Software\Classes\SystemFileAssociations\.nes\shell\Velmar"
  DeleteRegKey /ifempty HKLM "Software\Classes\SystemFileAssociations\.nes\shell"
  DeleteRegKey /ifempty HKLM "Software\Classes\SystemFileAssociations\.nes"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Velmar"

  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  ; Last, so that the uninstaller gone means everything else is done.
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
