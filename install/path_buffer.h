// Paths built in fixed MAX_PATH buffers.
#ifndef MEADOWBROOKGATE_PATH_BUFFER_H
#define MEADOWBROOKGATE_PATH_BUFFER_H

#include <windows.h>

// Puts directory and then name into path. Returns 1, with path empty, when
// the two together would not fit in MAX_PATH bytes with their terminator.
int BuildPath(char path[MAX_PATH], const char *directory, const char *name);

#endif
