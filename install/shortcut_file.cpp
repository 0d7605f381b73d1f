#include "shortcut_file.h"

#include "icon_file.h"
#include "path_buffer.h"
#include "replace_file.h"
#include "status_line.h"
#include "website_host.h"

const char ShortcutFileName[] = "\\Meadowbrook Gate.url";

// Everything before the icon's path; the file is opened in text mode, which
// stores each "\n" as CR LF.
static const char ShortcutHead[] = "[InternetShortcut]\n"
                                   "URL=https://" WEBSITE_HOST "\n"
                                   "Modified=80D95DEAB1CCBF01DC\n"
                                   "IconIndex=0\n"
                                   "IconFile=";

static int WriteShortcutLines(FILE *file, const void *context)
{
    const char *iconPath = (const char *)context;
    return fputs(ShortcutHead, file) < 0 || fputs(iconPath, file) < 0 || fputs("\n", file) < 0;
}

int WriteShortcutFile(HWND dialog, const char *iconDir, const char *desktopDir)
{
    char shortcutPath[MAX_PATH];
    char iconPath[MAX_PATH];
    // An empty directory would put the shortcut in the root of the current
    // drive, which is nobody's desktop.
    if (desktopDir[0] == '\0' || BuildPath(shortcutPath, desktopDir, ShortcutFileName) != 0 ||
        BuildPath(iconPath, iconDir, IconFileName) != 0 ||
        ReplaceFileContents(shortcutPath, "w", WriteShortcutLines, iconPath) != 0)
    {
        ShowStatusMessage(dialog, "Failed to create shortcut.");
        return 1;
    }
    return 0;
}
