// The setup dialog: asks the user to confirm, then installs on OK.
#ifndef MEADOWBROOKGATE_SETUP_DIALOG_H
#define MEADOWBROOKGATE_SETUP_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
