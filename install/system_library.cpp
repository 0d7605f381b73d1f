#include "system_library.h"

#include <string.h>
#include <wchar.h>

void RestrictLibrarySearchToSystemFolder()
{
    // Looked up, not imported, so that the program still starts where the
    // functions don't exist.
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    BOOL(WINAPI * setDefaultDllDirectories)(DWORD) = NULL;
    if (FindFunction(kernel32, "SetDefaultDllDirectories", &setDefaultDllDirectories) == 0 &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    BOOL(WINAPI * setDllDirectoryA)(LPCSTR) = NULL;
    if (FindFunction(kernel32, "SetDllDirectoryA", &setDllDirectoryA) == 0)
        setDllDirectoryA("");
}

// The system folder is asked for in Unicode, so that no ANSI stand-in for
// a character of its path can name another folder.
HMODULE LoadSystemLibrary(const WCHAR *library)
{
    WCHAR path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    size_t libraryLength = wcslen(library);
    if (length == 0 || length >= MAX_PATH || libraryLength + 1 >= MAX_PATH - length)
        return NULL;
    path[length] = L'\\';
    memcpy(path + length + 1, library, (libraryLength + 1) * sizeof(WCHAR));
    return LoadLibraryW(path);
}
