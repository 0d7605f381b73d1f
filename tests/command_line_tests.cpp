// Stepping over the program name on the command line the system hands over.
#include "command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, StepsOverTheProgramNameAndTheBlanksAfterIt)
{
    EXPECT_STREQ("", SkipProgramName("setup.exe"));
    EXPECT_STREQ("/quiet now", SkipProgramName("setup.exe \t /quiet now"));
    EXPECT_STREQ("-x", SkipProgramName("\"C:\\Program Files\\setup.exe\" -x"));
    EXPECT_STREQ("", SkipProgramName("\"C:\\a b\\setup.exe\""));
    EXPECT_STREQ("", SkipProgramName(""));
}

TEST(CommandLine, UnclosedQuoteEndsAtTheEndOfTheLine)
{
    const char line[] = "\"C:\\a b\\setup.exe -x";
    EXPECT_EQ(line + sizeof line - 1, SkipProgramName(line));
    EXPECT_STREQ("", SkipProgramName("\""));
}
