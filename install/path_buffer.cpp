#include "path_buffer.h"

#include <string.h>

static int AppendToPath(char path[MAX_PATH], size_t *used, const char *text)
{
    size_t length = strlen(text);
    if (length >= MAX_PATH - *used)
        return 1;
    memcpy(path + *used, text, length + 1);
    *used += length;
    return 0;
}

int BuildPath(char path[MAX_PATH], const char *directory, const char *name)
{
    size_t used = 0;
    path[0] = '\0';
    if (AppendToPath(path, &used, directory) != 0 || AppendToPath(path, &used, name) != 0)
    {
        path[0] = '\0';
        return 1;
    }
    return 0;
}
