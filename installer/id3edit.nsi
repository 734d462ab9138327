; Per-user installer of Quelmo ID3TAG EDITOR: no administrator rights, the
; program under the user's local programs folder, the "Edit ID3 Tag" verb,
; and an entry in the user's list of installed apps. /S runs it silently.
;
; Beside the editor, id3v1.exe, the command-line tool, for a console.
;
; Defined by the build: TARGET (x86-unicode or amd64-unicode), PROGRAM (the
; built id3edit.exe), TOOL (the built id3v1.exe), OUTFILE, VERSION
; (major.minor.revision), APP_TITLE.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma

!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuelmoID3TagEditor"
!define SETTINGS_KEY "Software\${APP_TITLE}"

Name "${APP_TITLE}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${APP_TITLE}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "${APP_TITLE}"
VIAddVersionKey FileDescription "${APP_TITLE} Setup"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey LegalCopyright ""

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
  SetOutPath "$INSTDIR"
  File "/oname=id3edit.exe" "${PROGRAM}"
  File "/oname=id3v1.exe" "${TOOL}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_TITLE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\id3edit.exe$\""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  ; -user: the verbs go into the user's own classes, as everything else of a
  ; per-user install does. -quiet: the program's own message box would stop a
  ; silent install; its exit code tells the outcome instead.
  ExecWait '"$INSTDIR\id3edit.exe" -register -user -quiet' $0
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "The $\"Edit ID3 Tag$\" entry could not be added to the context menu of MP3 files." /SD IDOK
  ${EndIf}
SectionEnd

Section Uninstall
  ExecWait '"$INSTDIR\id3edit.exe" -unregister -user -quiet'
  Delete "$INSTDIR\id3edit.exe"
  Delete "$INSTDIR\id3v1.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
