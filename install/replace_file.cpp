#include "replace_file.h"

#include <windows.h>

// The new contents go to a uniquely named file beside the target first, so
// that a full disk or a failed write never leaves a truncated file under the
// target's name.
static int WriteTemporaryFile(const char *temporaryPath, const char *mode,
                              WriteContentsProc writeContents, const void *context)
{
    FILE *file = fopen(temporaryPath, mode);
    if (file == NULL)
        return 1;
    int failed = writeContents(file, context) != 0;
    failed |= fflush(file) != 0;
    failed |= ferror(file) != 0;
    failed |= fclose(file) != 0;
    return failed;
}

int ReplaceFileContents(const char *directory, const char *path, const char *mode,
                        WriteContentsProc writeContents, const void *context)
{
    char temporaryPath[MAX_PATH];
    if (GetTempFileNameA(directory, "mbg", 0, temporaryPath) == 0)
        return 1;
    if (WriteTemporaryFile(temporaryPath, mode, writeContents, context) != 0 ||
        !MoveFileExA(temporaryPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        DeleteFileA(temporaryPath);
        return 1;
    }
    return 0;
}
