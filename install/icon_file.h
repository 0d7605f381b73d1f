// The product icon, carried as a complete .ico file and written to disk.
#ifndef MEADOWBROOKGATE_ICON_FILE_H
#define MEADOWBROOKGATE_ICON_FILE_H

#include <windows.h>

enum
{
    IconImageSize = 10134
};

// The icon file's bytes: six images, 48, 32 and 16 pixels in 16 and in 256
// colours. Made by the build from resources/meadowbrookgate.ico.
extern const unsigned char IconImage[IconImageSize];

extern const char IconFileName[];

// Writes IconImage as "meadowbrookgate.ico" in iconDir (which ends with a
// backslash). Returns 0 when the whole file is in place; otherwise puts
// "Failed to create icon file." in the status line and returns 1.
int WriteIconFile(HWND dialog, const char *iconDir);

#endif
