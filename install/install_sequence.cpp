#include "install_sequence.h"

#include "icon_file.h"
#include "path_buffer.h"
#include "shortcut_file.h"

#include <shlobj.h>

void GetIconDirectory(HWND, char dir[MAX_PATH])
{
    BuildPath(dir, "C:\\", "");
}

int GetDesktopDirectory(HWND dialog, char dir[MAX_PATH])
{
    dir[0] = '\0';
    LPITEMIDLIST idList = NULL;
    if (FAILED(SHGetSpecialFolderLocation(dialog, CSIDL_DESKTOPDIRECTORY, &idList)) ||
        idList == NULL)
        return 1;
    char path[MAX_PATH];
    BOOL found = SHGetPathFromIDListA(idList, path);
    CoTaskMemFree(idList);
    if (!found || path[0] == '\0')
        return 1;
    return BuildPath(dir, path, "");
}

int InstallDesktopShortcut(HWND dialog)
{
    char iconDir[MAX_PATH];
    char desktopDir[MAX_PATH];
    GetIconDirectory(dialog, iconDir);
    // A missing desktop leaves desktopDir empty, which the shortcut step
    // reports as its own failure.
    GetDesktopDirectory(dialog, desktopDir);

    // The shortcut is written even when the icon is not: it names the icon's
    // path, and the user can press OK again to put the icon there.
    int iconResult = WriteIconFile(dialog, iconDir);
    int shortcutResult = WriteShortcutFile(dialog, iconDir, desktopDir);
    return iconResult != 0 || shortcutResult != 0 ? 1 : 0;
}
