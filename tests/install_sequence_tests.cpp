// The whole install sequence, with the desktop folder where the current
// user's shell settings put it.
#include "icon_file.h"
#include "desktop_directory.h"
#include "install_sequence.h"
#include "test_support.h"

class InstallSequenceTest : public SetupDialogTest
{
  protected:
    // Moves the desktop to a new, empty folder on D: whose path is exactly
    // length characters long.
    std::string MoveDesktopToFolderOfLength(size_t length)
    {
        std::string path = "D:\\deep";
        while (length - path.size() > 50)
            path += "\\" + std::string(49, 'd');
        path += "\\" + std::string(length - path.size() - 1, 'e');
        FreshFolder(path);
        EXPECT_TRUE(IsDirectory(path));
        EXPECT_TRUE(desktop_.MoveTo(path));
        return path;
    }
};

TEST_F(InstallSequenceTest, WritesTheIconThenTheShortcutOnTheDesktop)
{
    ASSERT_EQ(0, InstallDesktopShortcut(dialog_));
    EXPECT_TRUE(ReadWholeFile(IconPath) == std::string((const char *)IconImage, IconImageSize));
    EXPECT_EQ(ExpectedShortcutText(), ReadWholeFile(DefaultDesktopShortcut()));
    EXPECT_EQ(PromptText, StatusText(dialog_));
}

TEST_F(InstallSequenceTest, SecondRunReplacesBothFilesWithTheSameBytes)
{
    ASSERT_EQ(0, InstallDesktopShortcut(dialog_));
    std::string icon = ReadWholeFile(IconPath);
    std::string shortcut = ReadWholeFile(DefaultDesktopShortcut());
    ASSERT_EQ(0, InstallDesktopShortcut(dialog_));
    EXPECT_TRUE(icon == ReadWholeFile(IconPath));
    EXPECT_EQ(shortcut, ReadWholeFile(DefaultDesktopShortcut()));
}

TEST_F(InstallSequenceTest, DesktopMovedElsewhereGetsTheShortcut)
{
    std::string moved = FreshFolder("D:\\Moved Desktop");
    ASSERT_TRUE(desktop_.MoveTo(moved));
    char dir[MAX_PATH];
    ASSERT_EQ(0, GetDesktopDirectory(dialog_, dir));
    EXPECT_EQ(moved, dir);

    ASSERT_EQ(0, InstallDesktopShortcut(dialog_));
    EXPECT_EQ(ExpectedShortcutText(), ReadWholeFile(moved + "\\Meadowbrook Gate.url"));
    EXPECT_FALSE(FileExists(DefaultDesktopShortcut()));
}

TEST_F(InstallSequenceTest, DesktopDirectoryComesWithoutTrailingBackslash)
{
    char dir[MAX_PATH];
    ASSERT_EQ(0, GetDesktopDirectory(dialog_, dir));
    EXPECT_EQ(DefaultDesktop(), dir);
    GetIconDirectory(dialog_, dir);
    EXPECT_STREQ("C:\\", dir);
}

TEST_F(InstallSequenceTest, FailedIconStillWritesTheShortcutThatNamesIt)
{
    ASSERT_TRUE(CreateDirectoryA(IconPath, NULL));
    EXPECT_EQ(1, InstallDesktopShortcut(dialog_));
    EXPECT_EQ(IconFailureText, StatusText(dialog_));
    EXPECT_EQ(ExpectedShortcutText(), ReadWholeFile(DefaultDesktopShortcut()));
}

TEST_F(InstallSequenceTest, BothFailingShowsTheShortcutMessageThenARetrySucceeds)
{
    ASSERT_TRUE(CreateDirectoryA(IconPath, NULL));
    ASSERT_TRUE(CreateDirectoryA(DefaultDesktopShortcut().c_str(), NULL));
    EXPECT_EQ(1, InstallDesktopShortcut(dialog_));
    EXPECT_EQ(ShortcutFailureText, StatusText(dialog_));
    EXPECT_TRUE(IsDirectory(IconPath));
    EXPECT_TRUE(IsDirectory(DefaultDesktopShortcut()));
    EXPECT_EQ(std::vector<std::string>{"Meadowbrook Gate.url"}, DirectoryEntries(DefaultDesktop()));

    RemovePath(IconPath);
    RemovePath(DefaultDesktopShortcut());
    EXPECT_EQ(0, InstallDesktopShortcut(dialog_));
    EXPECT_TRUE(FileExists(IconPath));
    EXPECT_TRUE(FileExists(DefaultDesktopShortcut()));
}

// 238 characters of desktop and the 21 of "\Meadowbrook Gate.url" fill a
// MAX_PATH buffer exactly; one more and the shortcut has no valid path.
TEST_F(InstallSequenceTest, DesktopPathAtTheLimitStillGetsTheShortcut)
{
    std::string deep = MoveDesktopToFolderOfLength(238);
    ASSERT_EQ(0, InstallDesktopShortcut(dialog_));
    EXPECT_EQ(ExpectedShortcutText(), ReadWholeFile(deep + "\\Meadowbrook Gate.url"));
}

TEST_F(InstallSequenceTest, DesktopPathPastTheLimitFailsWithoutWriting)
{
    std::string deep = MoveDesktopToFolderOfLength(239);
    EXPECT_EQ(1, InstallDesktopShortcut(dialog_));
    EXPECT_EQ(ShortcutFailureText, StatusText(dialog_));
    EXPECT_TRUE(DirectoryEntries(deep).empty());
    EXPECT_TRUE(FileExists(IconPath)) << "the icon step does not depend on the desktop";
}

// A desktop setting that names no existing folder leaves the shell without
// an answer: the shortcut step fails and nothing lands in a drive's root.
TEST_F(InstallSequenceTest, MissingDesktopSkipsTheShortcutWithItsMessage)
{
    RemovePath("D:\\Gone");
    ASSERT_TRUE(desktop_.MoveTo("D:\\Gone\\Desktop"));
    char dir[MAX_PATH] = "stale";
    EXPECT_EQ(1, GetDesktopDirectory(dialog_, dir));
    EXPECT_STREQ("", dir);

    EXPECT_EQ(1, InstallDesktopShortcut(dialog_));
    EXPECT_EQ(ShortcutFailureText, StatusText(dialog_));
    EXPECT_TRUE(FileExists(IconPath));
    EXPECT_FALSE(FileExists("C:\\Meadowbrook Gate.url"));
    EXPECT_FALSE(FileExists("D:\\Meadowbrook Gate.url"));
    EXPECT_FALSE(FileExists("\\Meadowbrook Gate.url"));
}

// A read-only file under a target name is the user's: the step fails with
// its message and the file keeps its bytes, until the user clears the
// attribute and presses OK again.
TEST_F(InstallSequenceTest, ReadOnlyTargetsAreKeptUntilTheAttributeIsCleared)
{
    struct
    {
        bool shortcutReadOnly;
        const char *message;
    } cases[] = {{false, IconFailureText}, {true, ShortcutFailureText}};
    const std::string oldIcon = "an icon the user keeps";
    const std::string oldShortcut = "[InternetShortcut]\r\nURL=https://kept.example\r\n";
    const std::string shortcut = DefaultDesktopShortcut();
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.shortcutReadOnly ? "both files read-only" : "the icon read-only");
        SetDlgItemTextA(dialog_, 101, PromptText);
        ASSERT_TRUE(WriteWholeFile(IconPath, oldIcon));
        ASSERT_TRUE(SetFileAttributesA(IconPath, FILE_ATTRIBUTE_READONLY));
        if (c.shortcutReadOnly)
        {
            ASSERT_TRUE(WriteWholeFile(shortcut, oldShortcut));
            ASSERT_TRUE(SetFileAttributesA(shortcut.c_str(), FILE_ATTRIBUTE_READONLY));
        }

        EXPECT_EQ(1, InstallDesktopShortcut(dialog_));
        EXPECT_EQ(c.message, StatusText(dialog_));
        EXPECT_TRUE(ReadWholeFile(IconPath) == oldIcon) << "the read-only icon was replaced";
        EXPECT_EQ(c.shortcutReadOnly ? oldShortcut : ExpectedShortcutText(),
                  ReadWholeFile(shortcut));
        EXPECT_TRUE(EntriesStartingWith("C:\\", "~mbg").empty()) << "a temporary file was left";
        EXPECT_TRUE(EntriesStartingWith(DefaultDesktop(), "~mbg").empty())
            << "a temporary file was left";

        ASSERT_TRUE(SetFileAttributesA(IconPath, FILE_ATTRIBUTE_NORMAL));
        ASSERT_TRUE(SetFileAttributesA(shortcut.c_str(), FILE_ATTRIBUTE_NORMAL));
        EXPECT_EQ(0, InstallDesktopShortcut(dialog_));
        EXPECT_TRUE(ReadWholeFile(IconPath) == std::string((const char *)IconImage, IconImageSize));
        EXPECT_EQ(ExpectedShortcutText(), ReadWholeFile(shortcut));
    }
}
