// The setup dialog's status line, the one place where messages appear.
#ifndef MEADOWBROOKGATE_STATUS_LINE_H
#define MEADOWBROOKGATE_STATUS_LINE_H

#include <windows.h>

// Replaces the status line's text with message and repaints the line, so
// that no part of a longer earlier text stays visible behind it.
void ShowStatusMessage(HWND dialog, const char *message);

#endif
