// Times the steps of one install inside a fresh process, with the program's
// own functions: the shell's desktop lookup, the icon file, the shortcut,
// and for comparison the icon's bytes written in place with no file beside
// and no move. Prints one line: "desktop icon shortcut in_place" in ms.
#include "desktop_directory.h"
#include "icon_file.h"
#include "install_sequence.h"
#include "shortcut_file.h"

#include <stdio.h>

static double Now()
{
    LARGE_INTEGER frequency, t;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&t);
    return 1000.0 * (double)t.QuadPart / (double)frequency.QuadPart;
}

int main()
{
    char iconDir[MAX_PATH];
    char desktopDir[MAX_PATH];
    GetIconDirectory(NULL, iconDir);
    double t0 = Now();
    int failed = GetDesktopDirectory(NULL, desktopDir);
    double t1 = Now();
    failed |= WriteIconFile(NULL, iconDir);
    double t2 = Now();
    failed |= WriteShortcutFile(NULL, iconDir, desktopDir);
    double t3 = Now();
    FILE *file = fopen("C:\\meadowbrookgate.ico", "wb");
    failed |= file == NULL;
    if (file != NULL)
    {
        failed |= fwrite(IconImage, 1, IconImageSize, file) != IconImageSize;
        failed |= fclose(file) != 0;
    }
    double t4 = Now();
    if (failed)
        return 1;
    printf("%.2f %.2f %.2f %.2f\n", t1 - t0, t2 - t1, t3 - t2, t4 - t3);
    return 0;
}
