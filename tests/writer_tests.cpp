// The two writers against Wine's real file system: exact bytes on disk,
// replacement of earlier files, refused targets and their messages.
#include "icon_file.h"
#include "replace_file.h"
#include "shortcut_file.h"
#include "test_support.h"

static std::string IconImageBytes()
{
    return std::string((const char *)IconImage, IconImageSize);
}

using IconFileTest = SetupDialogTest;
using ShortcutFileTest = SetupDialogTest;

TEST_F(IconFileTest, WritesTheImageByteForByteWithoutInsertingCarriageReturns)
{
    ASSERT_EQ(0, WriteIconFile(dialog_, "C:\\"));
    std::string written = ReadWholeFile(IconPath);
    EXPECT_EQ(10134u, written.size());
    EXPECT_TRUE(written == IconImageBytes()) << "the icon on disk differs from IconImage";
    EXPECT_EQ(PromptText, StatusText(dialog_));
}

TEST_F(IconFileTest, ReplacesAnEarlierFileAndLeavesNothingElseBehind)
{
    std::string folder = FreshFolder("D:\\icons");
    ASSERT_TRUE(WriteWholeFile(folder + "\\meadowbrookgate.ico", std::string(20000, 'x')));
    ASSERT_EQ(0, WriteIconFile(dialog_, "D:\\icons\\"));
    EXPECT_TRUE(ReadWholeFile(folder + "\\meadowbrookgate.ico") == IconImageBytes());
    EXPECT_EQ(std::vector<std::string>{"meadowbrookgate.ico"}, DirectoryEntries(folder));
}

TEST_F(IconFileTest, DirectoryInTheWayFailsWithItsMessage)
{
    ASSERT_TRUE(CreateDirectoryA(IconPath, NULL));
    EXPECT_EQ(1, WriteIconFile(dialog_, "C:\\"));
    EXPECT_EQ(IconFailureText, StatusText(dialog_));
    EXPECT_TRUE(IsDirectory(IconPath));
    EXPECT_TRUE(DirectoryEntries(IconPath).empty());
}

TEST_F(IconFileTest, MissingFolderFailsWithItsMessage)
{
    EXPECT_EQ(1, WriteIconFile(dialog_, "D:\\no such folder\\"));
    EXPECT_EQ(IconFailureText, StatusText(dialog_));
    EXPECT_FALSE(IsDirectory("D:\\no such folder"));
}

// What anyone may put at the new file's guessable names, a folder or a file
// of theirs, is skipped and left as it was; with every name taken the step
// fails with its message.
TEST_F(IconFileTest, TakenTemporaryNamesAreSkippedAndLeftAlone)
{
    std::string folder = FreshFolder("D:\\icons");
    std::string target = folder + "\\meadowbrookgate.ico";
    char taken[TemporaryNameAttempts][MAX_PATH];
    for (int i = 0; i < TemporaryNameAttempts; ++i)
        ASSERT_EQ(0, BuildTemporaryPath(taken[i], target.c_str(), i));
    ASSERT_TRUE(CreateDirectoryA(taken[0], NULL));
    ASSERT_TRUE(WriteWholeFile(taken[1], "a stranger's file"));
    ASSERT_EQ(0, WriteIconFile(dialog_, "D:\\icons\\"));
    EXPECT_TRUE(ReadWholeFile(target) == IconImageBytes());
    EXPECT_TRUE(IsDirectory(taken[0]));
    EXPECT_EQ("a stranger's file", ReadWholeFile(taken[1]));
    EXPECT_EQ(3u, DirectoryEntries(folder).size()) << "a temporary file was left";

    RemovePath(target);
    for (int i = 2; i < TemporaryNameAttempts; ++i)
        ASSERT_TRUE(CreateDirectoryA(taken[i], NULL));
    EXPECT_EQ(1, WriteIconFile(dialog_, "D:\\icons\\"));
    EXPECT_EQ(IconFailureText, StatusText(dialog_));
    EXPECT_EQ("a stranger's file", ReadWholeFile(taken[1]));
    EXPECT_EQ((size_t)TemporaryNameAttempts, DirectoryEntries(folder).size());
    for (const char *name : taken)
        RemovePath(name);
}

struct HeldFile
{
    HANDLE file;
    DWORD milliseconds;
};

static DWORD WINAPI CloseWhenTimeIsUp(void *held)
{
    Sleep(((HeldFile *)held)->milliseconds);
    CloseHandle(((HeldFile *)held)->file);
    return 0;
}

// A target that another process has open for a moment (another copy of the
// program, the shell, a scanner) is waited for; one held for long fails the
// step and keeps its bytes.
TEST_F(IconFileTest, TargetHeldOpenIsWaitedForAMomentOnly)
{
    const std::string oldIcon = "an icon being read";
    const struct
    {
        DWORD heldFor;
        int result;
    } cases[] = {{100, 0}, {2000, 1}};
    std::string folder = FreshFolder("D:\\icons");
    std::string target = folder + "\\meadowbrookgate.ico";
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.heldFor);
        ASSERT_TRUE(WriteWholeFile(target, oldIcon));
        HeldFile held = {CreateFileA(target.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL),
                         c.heldFor};
        ASSERT_NE(INVALID_HANDLE_VALUE, held.file);
        HANDLE releaser = CreateThread(NULL, 0, CloseWhenTimeIsUp, &held, 0, NULL);
        ASSERT_TRUE(releaser != NULL);
        EXPECT_EQ(c.result, WriteIconFile(dialog_, "D:\\icons\\"));
        WaitForSingleObject(releaser, INFINITE);
        CloseHandle(releaser);
        EXPECT_TRUE(ReadWholeFile(target) == (c.result == 0 ? IconImageBytes() : oldIcon));
        EXPECT_EQ(std::vector<std::string>{"meadowbrookgate.ico"}, DirectoryEntries(folder));
    }
    EXPECT_EQ(IconFailureText, StatusText(dialog_));
}

TEST_F(ShortcutFileTest, WritesFiveLinesEndingInCrLf)
{
    std::string folder = FreshFolder("D:\\Desktop");
    ASSERT_EQ(0, WriteShortcutFile(dialog_, "C:\\", folder.c_str()));
    EXPECT_EQ(ExpectedShortcutText(), ReadWholeFile(folder + "\\Meadowbrook Gate.url"));
    EXPECT_EQ(std::vector<std::string>{"Meadowbrook Gate.url"}, DirectoryEntries(folder));
    EXPECT_EQ(PromptText, StatusText(dialog_));
}

TEST_F(ShortcutFileTest, ReplacesAnEarlierShortcutWithTheSameBytes)
{
    std::string folder = FreshFolder("D:\\Desktop");
    std::string shortcut = folder + "\\Meadowbrook Gate.url";
    ASSERT_TRUE(WriteWholeFile(shortcut, std::string(5000, '\n')));
    ASSERT_EQ(0, WriteShortcutFile(dialog_, "C:\\", folder.c_str()));
    std::string first = ReadWholeFile(shortcut);
    ASSERT_EQ(0, WriteShortcutFile(dialog_, "C:\\", folder.c_str()));
    EXPECT_EQ(ExpectedShortcutText(), first);
    EXPECT_EQ(first, ReadWholeFile(shortcut));
}

// A desktop at the root of a drive comes with its backslash; joined with
// the file name it makes two in a row, which still names a file in the root.
TEST_F(ShortcutFileTest, DesktopAtADriveRootGetsTheShortcutInTheRoot)
{
    RemovePath("D:\\Meadowbrook Gate.url");
    ASSERT_EQ(0, WriteShortcutFile(dialog_, "C:\\", "D:\\"));
    EXPECT_EQ(ExpectedShortcutText(), ReadWholeFile("D:\\Meadowbrook Gate.url"));
    RemovePath("D:\\Meadowbrook Gate.url");
}

TEST_F(ShortcutFileTest, NamesTheIconDirectoryItIsGiven)
{
    std::string folder = FreshFolder("D:\\Desktop");
    ASSERT_EQ(0, WriteShortcutFile(dialog_, "D:\\icons\\", folder.c_str()));
    std::string text = ReadWholeFile(folder + "\\Meadowbrook Gate.url");
    EXPECT_NE(std::string::npos, text.find("\r\nIconFile=D:\\icons\\meadowbrookgate.ico\r\n"));
}

TEST_F(ShortcutFileTest, RefusedTargetsFailWithItsMessage)
{
    std::string folder = FreshFolder("D:\\Desktop");
    ASSERT_TRUE(CreateDirectoryA((folder + "\\Meadowbrook Gate.url").c_str(), NULL));
    EXPECT_EQ(1, WriteShortcutFile(dialog_, "C:\\", folder.c_str()));
    EXPECT_EQ(ShortcutFailureText, StatusText(dialog_));
    EXPECT_EQ(std::vector<std::string>{"Meadowbrook Gate.url"}, DirectoryEntries(folder));

    SetDlgItemTextA(dialog_, 101, PromptText);
    EXPECT_EQ(1, WriteShortcutFile(dialog_, "C:\\", "D:\\no such folder"));
    EXPECT_EQ(ShortcutFailureText, StatusText(dialog_));
}

// An empty directory is no desktop: the shortcut must not land in the root
// of the current drive.
TEST_F(ShortcutFileTest, EmptyDesktopDirectoryWritesNothing)
{
    char currentRoot[MAX_PATH];
    ASSERT_TRUE(GetFullPathNameA("\\Meadowbrook Gate.url", MAX_PATH, currentRoot, NULL));
    RemovePath(currentRoot);
    EXPECT_EQ(1, WriteShortcutFile(dialog_, "C:\\", ""));
    EXPECT_EQ(ShortcutFailureText, StatusText(dialog_));
    EXPECT_FALSE(FileExists(currentRoot));
    EXPECT_FALSE(FileExists("C:\\Meadowbrook Gate.url"));
}
