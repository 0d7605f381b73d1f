; The same job done with the NSIS installer compiler, for comparison: ask
; with OK/Cancel, then write the icon to C:\ and the five-line shortcut on
; the current user's desktop.
;   makensis -DOUT=peer.exe -DICON=resources/meadowbrookgate.ico -DHOST=... peer.nsi
Unicode false
Name "Meadowbrook Gate"
Caption "meadowbrookgate_setup"
OutFile "${OUT}"
RequestExecutionLevel user
SilentInstall silent
SetCompressor /SOLID lzma

Section
  MessageBox MB_OKCANCEL "Click OK to create desktop icon." IDOK install
  Quit
install:
  SetOverwrite on
  File "/oname=C:\meadowbrookgate.ico" "${ICON}"
  FileOpen $0 "$DESKTOP\Meadowbrook Gate.url" w
  FileWrite $0 "[InternetShortcut]$\r$\nURL=https://${HOST}$\r$\nModified=80D95DEAB1CCBF01DC$\r$\nIconIndex=0$\r$\nIconFile=C:\meadowbrookgate.ico$\r$\n"
  FileClose $0
SectionEnd
