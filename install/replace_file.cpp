#include "replace_file.h"

#include <windows.h>

#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <string.h>
#include <sys/stat.h>

int BuildTemporaryPath(char temporaryPath[MAX_PATH], const char *path, int attempt)
{
    char name[] = "~mbg000000000.tmp";
    name[12] = (char)('0' + attempt % 10);
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

// Anyone who can write into the target's folder can guess the names, and
// may have put a file, a folder or a link at one of them: such a name is
// skipped, never opened, followed, truncated or deleted. The stream is
// opened only on a file this call has just created.
static FILE *CreateTemporaryFile(char temporaryPath[MAX_PATH], const char *path, const char *mode)
{
    int textOrBinary = strchr(mode, 'b') != NULL ? _O_BINARY : _O_TEXT;
    for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt)
    {
        if (BuildTemporaryPath(temporaryPath, path, attempt) != 0)
            return NULL;
        int descriptor = _open(temporaryPath, _O_CREAT | _O_EXCL | _O_WRONLY | textOrBinary,
                               _S_IREAD | _S_IWRITE);
        if (descriptor != -1)
        {
            FILE *file = _fdopen(descriptor, mode);
            if (file == NULL)
            {
                _close(descriptor);
                DeleteFileA(temporaryPath);
            }
            return file;
        }
        // A folder at the name may be refused as access denied rather than
        // as existing; a folder that refuses new files fails every name.
        if (errno != EEXIST && errno != EACCES)
            return NULL;
    }
    return NULL;
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

// A target that another process has open for a moment refuses the move: a
// second copy of the program replacing it too, the shell reading the new
// icon, a virus scanner. Such a refusal passes; any other is final.
static int IsBusyTarget(const char *path, DWORD error)
{
    if (error == ERROR_SHARING_VIOLATION)
        return 1;
    DWORD attributes = GetFileAttributesA(path);
    return error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

enum
{
    BusyRetries = 10,
    BusyRetryDelay = 50 // milliseconds: half a second in all
};

static int MoveOverTarget(const char *temporaryPath, const char *path)
{
    for (int retry = 0;; ++retry)
    {
        if (MoveFileExA(temporaryPath, path, MOVEFILE_REPLACE_EXISTING))
            return 0;
        if (retry == BusyRetries || !IsBusyTarget(path, GetLastError()))
            return 1;
        Sleep(BusyRetryDelay);
    }
}

int ReplaceFileContents(const char *path, const char *mode, WriteContentsProc writeContents,
                        const void *context)
{
    char temporaryPath[MAX_PATH];
    if (IsReadOnlyFile(path))
        return 1;
    FILE *file = CreateTemporaryFile(temporaryPath, path, mode);
    if (file == NULL)
        return 1;
    // A full disk or a failed write never leaves a truncated file under the
    // target's name: the target changes only by the move of a whole file.
    // Only the file created above is ever deleted.
    if (WriteTemporaryFile(file, writeContents, context) != 0 ||
        MoveOverTarget(temporaryPath, path) != 0)
    {
        DeleteFileA(temporaryPath);
        return 1;
    }
    return 0;
}
