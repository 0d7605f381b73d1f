#include "desktop_directory.h"

#include "ansi_path.h"

#include <shlobj.h>
#include <string.h>

int GetDesktopDirectory(HWND dialog, char dir[MAX_PATH])
{
    dir[0] = '\0';
    LPITEMIDLIST idList = NULL;
    if (FAILED(SHGetSpecialFolderLocation(dialog, CSIDL_DESKTOPDIRECTORY, &idList)) ||
        idList == NULL)
        return 1;
    char path[MAX_PATH];
    WCHAR widePath[MAX_PATH];
    BOOL found = SHGetPathFromIDListA(idList, path);
    BOOL foundWide = SHGetPathFromIDListW(idList, widePath);
    CoTaskMemFree(idList);
    if (!foundWide || widePath[0] == L'\0')
        return 1;

    // The ANSI answer may hold a look-alike or "?" for characters the code
    // page lacks, and so name another folder or none: it is used only when
    // it is exactly the folder's own name.
    if (found && ConvertPathToAnsi(widePath, dir) == 0 && strcmp(dir, path) == 0)
        return 0;
    return ConvertShortPathToAnsi(widePath, dir);
}
