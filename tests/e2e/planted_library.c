// A stand-in for a system DLL, as a stranger would leave one in a download
// folder. Each process that loads it is recorded as an empty file named
// "<program> loaded <this DLL>" in the folder "loaded" beside it, so that a
// test can tell the program from whatever started it.
#include <windows.h>

#include <stdio.h>
#include <string.h>

static const char *NameOf(const char *path)
{
    const char *separator = strrchr(path, '\\');
    return separator != NULL ? separator + 1 : path;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    char library[MAX_PATH], program[MAX_PATH], record[3 * MAX_PATH];
    if (reason != DLL_PROCESS_ATTACH || !GetModuleFileNameA(self, library, MAX_PATH) ||
        !GetModuleFileNameA(NULL, program, MAX_PATH))
        return TRUE;
    const char *name = NameOf(library);
    int written = snprintf(record, sizeof record, "%.*sloaded\\%s loaded %s",
                           (int)(name - library), library, NameOf(program), name);
    if (written <= 0 || written >= (int)sizeof record)
        return TRUE;
    HANDLE file = CreateFileA(record, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return TRUE;
}

// For rundll32, which the test uses to load the DLL on purpose.
__declspec(dllexport) void CALLBACK Record(HWND window, HINSTANCE instance, LPSTR line, int show)
{
    (void)window;
    (void)instance;
    (void)line;
    (void)show;
}
