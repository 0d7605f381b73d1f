#include "ansi_path.h"

int ConvertPathToAnsi(const WCHAR *path, char ansi[MAX_PATH])
{
    // A UTF-8 code page spells every valid path, takes neither the best-fit
    // flag nor the substitute report, and refuses a lone surrogate instead.
    bool utf8 = GetACP() == CP_UTF8;
    BOOL usedSubstitute = FALSE;
    int length = WideCharToMultiByte(CP_ACP, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                                     path, -1, ansi, MAX_PATH, NULL, utf8 ? NULL : &usedSubstitute);
    if (length == 0 || usedSubstitute)
    {
        ansi[0] = '\0';
        return 1;
    }
    return 0;
}

int ConvertShortPathToAnsi(const WCHAR *path, char ansi[MAX_PATH])
{
    WCHAR shortPath[MAX_PATH];
    DWORD length = GetShortPathNameW(path, shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
    {
        ansi[0] = '\0';
        return 1;
    }
    return ConvertPathToAnsi(shortPath, ansi);
}
