// The Internet Shortcut on the desktop that opens the product's website.
#ifndef MEADOWBROOKGATE_SHORTCUT_FILE_H
#define MEADOWBROOKGATE_SHORTCUT_FILE_H

#include <windows.h>

// Joined to the desktop directory, which the shell gives without a trailing
// backslash.
extern const char ShortcutFileName[];

// Writes "Meadowbrook Gate.url" into desktopDir, naming the icon file in
// iconDir. Returns 0 when the whole file is in place; otherwise (an empty
// desktopDir included) puts "Failed to create shortcut." in the status line
// and returns 1.
int WriteShortcutFile(HWND dialog, const char *iconDir, const char *desktopDir);

#endif
