// Entry of meadowbrookgate_setup: one modal dialog, and its result is the
// process exit status (-1 when the dialog can't be created).
#include "command_line.h"
#include "resource.h"
#include "setup_dialog.h"
#include "system_library.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), NULL, SetupDialogProc, 0);
}

int main()
{
    // Before anything can load a library: DLLs beside the program, in its
    // download folder, must never stand in for the system's.
    RestrictLibrarySearchToSystemFolder();
    // The program takes no arguments; they are stepped over, not read.
    char *arguments = (char *)SkipProgramName(GetCommandLineA());
    return WinMain(GetModuleHandleA(NULL), NULL, arguments, SW_SHOWNORMAL);
}
