// Paths from the system, which are Unicode, spelled in the ANSI code page
// that the program's file calls use, or not at all.
#ifndef MEADOWBROOKGATE_ANSI_PATH_H
#define MEADOWBROOKGATE_ANSI_PATH_H

#include <windows.h>

// Converts path to the ANSI code page only when every character has bytes
// of its own there: no best-fit look-alike ("G" for "Ğ") and no "?".
// Returns 1, with ansi empty, when the code page can't spell it exactly or
// it does not fit in MAX_PATH bytes.
int ConvertPathToAnsi(const WCHAR *path, char ansi[MAX_PATH]);

// The same for the folder's short (8.3) path, which names the same folder
// and is usually plain ASCII. Returns 1, with ansi empty, when the folder
// has no short path that the code page spells exactly.
int ConvertShortPathToAnsi(const WCHAR *path, char ansi[MAX_PATH]);

#endif
