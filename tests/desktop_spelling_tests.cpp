// Desktops whose names the ANSI code page (1252 here) spells, spells only
// with a look-alike, or can't spell at all: the shortcut goes into the
// desktop folder itself and nowhere else.
#include "ansi_path.h"
#include "desktop_directory.h"
#include "install_sequence.h"
#include "test_support.h"

#include <string.h>

#include <algorithm>

struct DesktopName
{
    const WCHAR *folder;
    const WCHAR *lookAlike; // what best-fit makes of folder, created beside it
    bool spelledAsIs;       // the desktop's own path, not a short one
};

static const DesktopName DesktopNames[] = {
    {L"Bureau élève", NULL, true},
    {L"Doğan Desk", L"Dogan Desk", false},
    {L"Επιφάνεια εργασίας", NULL, false},
};

using DesktopSpellingTest = SetupDialogTest;

TEST_F(DesktopSpellingTest, ShortcutLandsInTheDesktopFolderItself)
{
    const std::wstring parent = L"D:\\Desktops";
    for (const DesktopName &name : DesktopNames)
    {
        SCOPED_TRACE(testing::Message() << "desktop name " << (&name - DesktopNames));
        FreshFolder(parent);
        std::wstring desktop = FreshFolder(parent + L"\\" + name.folder);
        std::vector<std::wstring> expectedFolders = {name.folder};
        if (name.lookAlike != NULL)
        {
            FreshFolder(parent + L"\\" + name.lookAlike);
            expectedFolders.push_back(name.lookAlike);
        }
        ASSERT_TRUE(desktop_.MoveTo(desktop));

        char dir[MAX_PATH];
        ASSERT_EQ(0, GetDesktopDirectory(dialog_, dir));
        EXPECT_EQ(name.spelledAsIs, strchr(dir, '~') == NULL) << dir;
        ASSERT_EQ(0, InstallDesktopShortcut(dialog_));
        EXPECT_EQ(PromptText, StatusText(dialog_));

        EXPECT_EQ(ExpectedShortcutText(), ReadWholeFile(desktop + L"\\Meadowbrook Gate.url"));
        EXPECT_EQ(std::vector<std::wstring>{L"Meadowbrook Gate.url"}, DirectoryEntries(desktop));
        if (name.lookAlike != NULL)
        {
            EXPECT_TRUE(DirectoryEntries(parent + L"\\" + name.lookAlike).empty());
        }
        std::vector<std::wstring> folders = DirectoryEntries(parent);
        std::sort(folders.begin(), folders.end());
        std::sort(expectedFolders.begin(), expectedFolders.end());
        EXPECT_EQ(expectedFolders, folders) << "a folder or file appeared beside the desktop";
        EXPECT_FALSE(FileExists(DefaultDesktopShortcut()));
        EXPECT_FALSE(FileExists("D:\\Meadowbrook Gate.url"));
        EXPECT_FALSE(FileExists("C:\\Meadowbrook Gate.url"));
    }
}

TEST(AnsiPath, SpellsOnlyWhatTheCodePageHasBytesFor)
{
    char ansi[MAX_PATH] = "stale";
    EXPECT_EQ(0, ConvertPathToAnsi(L"D:\\Bureau élève", ansi));
    EXPECT_STREQ("D:\\Bureau \xE9l\xE8ve", ansi);
    EXPECT_EQ(1, ConvertPathToAnsi(L"D:\\Doğan Desk", ansi)) << "best fit gives " << ansi;
    EXPECT_STREQ("", ansi);
    EXPECT_EQ(1, ConvertPathToAnsi(L"D:\\Ελένη", ansi)) << "substitutes give " << ansi;
    EXPECT_STREQ("", ansi);
}

// A folder with no short path (here: one that is not there) and a name the
// code page can't spell has no ANSI spelling at all.
TEST(AnsiPath, NoShortPathMeansNoSpelling)
{
    RemoveDirectoryW(L"D:\\Ελένη");
    char ansi[MAX_PATH] = "stale";
    EXPECT_EQ(1, ConvertShortPathToAnsi(L"D:\\Ελένη", ansi));
    EXPECT_STREQ("", ansi);
}
