#include "shortcut_file.h"

#include "icon_file.h"
#include "path_buffer.h"
#include "replace_file.h"
#include "status_line.h"
#include "website_host.h"

const char ShortcutFileName[] = "\\Meadowbrook Gate.url";

// The file is opened in text mode, which stores each "\n" as CR LF.
static int WriteShortcutLines(FILE *file, const void *context)
{
    const char *iconPath = (const char *)context;
    int failed = fprintf(file, "[InternetShortcut]\n") < 0;
    failed |= fprintf(file, "URL=https://" WEBSITE_HOST "\n") < 0;
    failed |= fprintf(file, "Modified=80D95DEAB1CCBF01DC\n") < 0;
    failed |= fprintf(file, "IconIndex=0\n") < 0;
    failed |= fprintf(file, "IconFile=%s\n", iconPath) < 0;
    return failed;
}

int WriteShortcutFile(HWND dialog, const char *iconDir, const char *desktopDir)
{
    char shortcutPath[MAX_PATH];
    char iconPath[MAX_PATH];
    // An empty directory would put the shortcut in the root of the current
    // drive, which is nobody's desktop.
    if (desktopDir[0] == '\0' || BuildPath(shortcutPath, desktopDir, ShortcutFileName) != 0 ||
        BuildPath(iconPath, iconDir, IconFileName) != 0 ||
        ReplaceFileContents(desktopDir, shortcutPath, "w", WriteShortcutLines, iconPath) != 0)
    {
        ShowStatusMessage(dialog, "Failed to create shortcut.");
        return 1;
    }
    return 0;
}
