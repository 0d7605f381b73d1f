#include "setup_dialog.h"

#include "install_sequence.h"

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
    case WM_INITDIALOG:
        // TRUE: the dialog manager puts the focus on OK, the first tab stop.
        return TRUE;

    case WM_COMMAND:
        // Only the control identifier counts, so Enter acts as OK (the
        // default button) and Escape as Cancel.
        switch (LOWORD(wParam))
        {
        case IDOK:
            // On failure the dialog stays open with the message in its
            // status line, and OK tries the whole install again.
            if (InstallDesktopShortcut(dialog) == 0)
                EndDialog(dialog, 0);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;

    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}
