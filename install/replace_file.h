// Writing a file so that it is either complete or not there at all.
#ifndef MEADOWBROOKGATE_REPLACE_FILE_H
#define MEADOWBROOKGATE_REPLACE_FILE_H

#include <stdio.h>

// Writes the whole contents to an open stream; 0 when every write succeeded.
typedef int (*WriteContentsProc)(FILE *file, const void *context);

// Writes a new file beside path through a stream opened with mode ("wb" or
// "w"), then moves it over path. A file already at path is replaced only by
// a complete new one: when any open, write, close or move fails, the new
// file is removed, path is left as it was, and the result is 1. A read-only
// file at path is never replaced: the result is 1 and nothing is written.
int ReplaceFileContents(const char *path, const char *mode, WriteContentsProc writeContents,
                        const void *context);

#endif
