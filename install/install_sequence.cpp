#include "install_sequence.h"

#include "desktop_directory.h"
#include "icon_file.h"
#include "path_buffer.h"
#include "shortcut_file.h"

void GetIconDirectory(HWND, char dir[MAX_PATH])
{
    BuildPath(dir, "C:\\", "");
}

int InstallDesktopShortcut(HWND dialog)
{
    char iconDir[MAX_PATH];
    char desktopDir[MAX_PATH];
    GetIconDirectory(dialog, iconDir);
    // A missing desktop, or one that the code page can't name exactly,
    // leaves desktopDir empty, which the shortcut step reports as its own
    // failure.
    GetDesktopDirectory(dialog, desktopDir);

    // The shortcut is written even when the icon is not: it names the icon's
    // path, and the user can press OK again to put the icon there.
    int iconResult = WriteIconFile(dialog, iconDir);
    int shortcutResult = WriteShortcutFile(dialog, iconDir, desktopDir);
    return iconResult != 0 || shortcutResult != 0 ? 1 : 0;
}
