// Writing a file so that it is either complete or not there at all.
#ifndef MEADOWBROOKGATE_REPLACE_FILE_H
#define MEADOWBROOKGATE_REPLACE_FILE_H

#include <windows.h>

#include <stdio.h>

// Writes the whole contents to an open stream; 0 when every write succeeded.
typedef int (*WriteContentsProc)(FILE *file, const void *context);

enum
{
    TemporaryNameAttempts = 8
};

// The name of the new file beside path for one attempt (0 to
// TemporaryNameAttempts - 1): "~mbg", this process's id in hex, the
// attempt's digit and ".tmp", shorter than either target's name so that it
// fits wherever the target does. Returns 1 when it would not fit MAX_PATH.
int BuildTemporaryPath(char temporaryPath[MAX_PATH], const char *path, int attempt);

// Writes a new file beside path through a stream opened with mode ("wb" or
// "w"), then moves it over path. A file already at path is replaced only by
// a complete new one: when any open, write, close or move fails, the new
// file is removed, path is left as it was, and the result is 1. A read-only
// file at path is never replaced: the result is 1 and nothing is written.
// The new file is always one this call created: a name where anything
// already is (a file, a folder, a link) is skipped and left alone, and when
// every name is taken the result is 1. A target that another process holds
// open is tried again for about half a second before the move fails.
int ReplaceFileContents(const char *path, const char *mode, WriteContentsProc writeContents,
                        const void *context);

#endif
