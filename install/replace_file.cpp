#include "replace_file.h"

#include <windows.h>

#include <string.h>

// The new contents go to a file of this process's own beside the target,
// "~mbg" and the process id in hex: no two running instances share it, and
// the name is shorter than either target's, so it fits wherever the target
// does.
static int BuildTemporaryPath(char temporaryPath[MAX_PATH], const char *path)
{
    char name[] = "~mbg00000000.tmp";
    DWORD id = GetCurrentProcessId();
    for (int i = 11; i >= 4; --i, id >>= 4)
        name[i] = "0123456789ABCDEF"[id & 15];
    const char *lastSeparator = strrchr(path, '\\');
    size_t directoryLength = lastSeparator != NULL ? (size_t)(lastSeparator - path) + 1 : 0;
    if (directoryLength + sizeof name > MAX_PATH)
        return 1;
    memcpy(temporaryPath, path, directoryLength);
    memcpy(temporaryPath + directoryLength, name, sizeof name);
    return 0;
}

static int WriteTemporaryFile(FILE *file, WriteContentsProc writeContents, const void *context)
{
    int failed = writeContents(file, context) != 0;
    failed |= fflush(file) != 0;
    failed |= ferror(file) != 0;
    failed |= fclose(file) != 0;
    return failed;
}

// The move refuses a read-only target on Windows but not everywhere (Wine
// replaces it), so the program honours the attribute itself.
static int IsReadOnlyFile(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

int ReplaceFileContents(const char *path, const char *mode, WriteContentsProc writeContents,
                        const void *context)
{
    char temporaryPath[MAX_PATH];
    if (IsReadOnlyFile(path) || BuildTemporaryPath(temporaryPath, path) != 0)
        return 1;
    FILE *file = fopen(temporaryPath, mode);
    if (file == NULL)
        return 1;
    // A full disk or a failed write never leaves a truncated file under the
    // target's name: the target changes only by the move of a whole file.
    if (WriteTemporaryFile(file, writeContents, context) != 0 ||
        !MoveFileExA(temporaryPath, path, MOVEFILE_REPLACE_EXISTING))
    {
        DeleteFileA(temporaryPath);
        return 1;
    }
    return 0;
}
