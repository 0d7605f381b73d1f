// BuildPath at its exact limit, with a guard byte right after the MAX_PATH
// buffer: a bound that is off by one writes the terminator into it.
#include "path_buffer.h"

#include <string.h>

#include <string>

#include <gtest/gtest.h>

struct GuardedPath
{
    char path[MAX_PATH];
    char guard;
};

// Builds a path of the given length, split between directory and name as
// the writers split it, and checks the buffer and the byte after it.
static void ExpectBuildPath(size_t length, size_t nameLength, int expected)
{
    SCOPED_TRACE(testing::Message() << length << " characters, " << nameLength << " in the name");
    GuardedPath buffer;
    memset(&buffer, 'G', sizeof buffer);
    std::string directory(length - nameLength, 'd');
    std::string name(nameLength, 'n');
    EXPECT_EQ(expected, BuildPath(buffer.path, directory.c_str(), name.c_str()));
    EXPECT_EQ('G', buffer.guard) << "BuildPath wrote past the buffer";
    if (expected == 0)
    {
        EXPECT_EQ(directory + name, std::string(buffer.path, strnlen(buffer.path, MAX_PATH)));
        EXPECT_EQ('\0', buffer.path[MAX_PATH - 1]);
    }
    else
    {
        EXPECT_EQ('\0', buffer.path[0]) << "a refused path leaves the buffer empty";
    }
}

TEST(BuildPath, FillsTheBufferToItsLastByteAndNoFurther)
{
    for (size_t nameLength : {0, 21})
    {
        ExpectBuildPath(MAX_PATH - 1, nameLength, 0);
        ExpectBuildPath(MAX_PATH, nameLength, 1);
    }
}
