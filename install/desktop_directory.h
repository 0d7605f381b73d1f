// Where the desktop shortcut goes: the current user's desktop folder.
#ifndef MEADOWBROOKGATE_DESKTOP_DIRECTORY_H
#define MEADOWBROOKGATE_DESKTOP_DIRECTORY_H

#include <windows.h>

// The current user's desktop folder as the shell gives it, in an ANSI
// spelling that names exactly that folder: the path itself, or its short
// path when the code page can't spell the path. Returns 1, with dir empty,
// when the shell has no such folder to give or no exact spelling exists.
int GetDesktopDirectory(HWND dialog, char dir[MAX_PATH]);

#endif
