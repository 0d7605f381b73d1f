#include "icon_file.h"

#include "path_buffer.h"
#include "replace_file.h"
#include "status_line.h"

const char IconFileName[] = "meadowbrookgate.ico";

static int WriteIconImage(FILE *file, const void *)
{
    return fwrite(IconImage, 1, IconImageSize, file) == IconImageSize ? 0 : 1;
}

int WriteIconFile(HWND dialog, const char *iconDir)
{
    char path[MAX_PATH];
    if (BuildPath(path, iconDir, IconFileName) != 0 ||
        ReplaceFileContents(path, "wb", WriteIconImage, NULL) != 0)
    {
        ShowStatusMessage(dialog, "Failed to create icon file.");
        return 1;
    }
    return 0;
}
