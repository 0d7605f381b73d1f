// System libraries, and only from the system folder: the program is run
// from download folders, where a file named like a system DLL may be a
// stranger's, and would run its code under the program's signature.
#ifndef MEADOWBROOKGATE_SYSTEM_LIBRARY_H
#define MEADOWBROOKGATE_SYSTEM_LIBRARY_H

#include <windows.h>

// The process's first action: every later library load, and the libraries
// those load in turn, look in the system folder only. Where the system
// can't do that (before Windows 8 without its update), the working folder
// at least is taken out of the search; Windows 2000 has neither.
void RestrictLibrarySearchToSystemFolder();

// Loads library (such as L"shell32.dll") from the system folder by its full
// path; NULL when it can't be had.
HMODULE LoadSystemLibrary(const WCHAR *library);

// Points *function at the export name of module, which may be NULL for a
// library that could not be loaded. Returns 1 when there is no such export.
template <typename Function> int FindFunction(HMODULE module, const char *name, Function *function)
{
    FARPROC found = module != NULL ? GetProcAddress(module, name) : NULL;
    // Through the one function type that converts to any other.
    *function = reinterpret_cast<Function>(reinterpret_cast<void (*)(void)>(found));
    return found != NULL ? 0 : 1;
}

#endif
