// The work confirmed with OK: the icon file, then the desktop shortcut.
#ifndef MEADOWBROOKGATE_INSTALL_SEQUENCE_H
#define MEADOWBROOKGATE_INSTALL_SEQUENCE_H

#include <windows.h>

// Writes both files; 0 when both are in place, 1 when either failed, its
// message then being in the status line (the shortcut's, when both failed).
int InstallDesktopShortcut(HWND dialog);

// The icon always goes to the root of drive C: "C:\".
void GetIconDirectory(HWND dialog, char dir[MAX_PATH]);

#endif
