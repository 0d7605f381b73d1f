#include "desktop_directory.h"

#include "ansi_path.h"
#include "system_library.h"

#include <shlobj.h>
#include <string.h>

// The shell's functions that the lookup calls. SHELL32 and ole32 are not
// bound to the program: they, and whatever they load, come from the system
// folder, and only once the library search has been restricted to it.
struct ShellFunctions
{
    decltype(&::SHGetSpecialFolderLocation) SHGetSpecialFolderLocation;
    decltype(&::SHGetPathFromIDListA) SHGetPathFromIDListA;
    decltype(&::SHGetPathFromIDListW) SHGetPathFromIDListW;
    decltype(&::CoTaskMemFree) CoTaskMemFree;
};

static int FindShellFunctions(ShellFunctions *shell)
{
    HMODULE shell32 = LoadSystemLibrary(L"shell32.dll");
    HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
    return FindFunction(shell32, "SHGetSpecialFolderLocation", &shell->SHGetSpecialFolderLocation) |
           FindFunction(shell32, "SHGetPathFromIDListA", &shell->SHGetPathFromIDListA) |
           FindFunction(shell32, "SHGetPathFromIDListW", &shell->SHGetPathFromIDListW) |
           FindFunction(ole32, "CoTaskMemFree", &shell->CoTaskMemFree);
}

int GetDesktopDirectory(HWND dialog, char dir[MAX_PATH])
{
    dir[0] = '\0';
    ShellFunctions shell;
    LPITEMIDLIST idList = NULL;
    if (FindShellFunctions(&shell) != 0 ||
        FAILED(shell.SHGetSpecialFolderLocation(dialog, CSIDL_DESKTOPDIRECTORY, &idList)) ||
        idList == NULL)
        return 1;
    char path[MAX_PATH];
    WCHAR widePath[MAX_PATH];
    BOOL found = shell.SHGetPathFromIDListA(idList, path);
    BOOL foundWide = shell.SHGetPathFromIDListW(idList, widePath);
    shell.CoTaskMemFree(idList);
    if (!foundWide || widePath[0] == L'\0')
        return 1;

    // The ANSI answer may hold a look-alike or "?" for characters the code
    // page lacks, and so name another folder or none: it is used only when
    // it is exactly the folder's own name.
    if (found && ConvertPathToAnsi(widePath, dir) == 0 && strcmp(dir, path) == 0)
        return 0;
    return ConvertShortPathToAnsi(widePath, dir);
}
