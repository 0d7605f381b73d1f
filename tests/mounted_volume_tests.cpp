// Volumes that really refuse: the tests run with C: mounted read-only, R: a
// read-only volume holding an empty Desktop folder and F: a 16 KiB volume
// (scripts/wine/with-test-volumes). Where mounting is not allowed they skip.
#include "icon_file.h"
#include "install_sequence.h"
#include "shortcut_file.h"
#include "test_support.h"

class MountedVolumeTest : public SetupDialogTest
{
  protected:
    void SetUp() override
    {
        char state[512] = "";
        GetEnvironmentVariableA("MBG_TEST_VOLUMES", state, sizeof state);
        if (lstrcmpA(state, "mounted") != 0)
            GTEST_SKIP() << "test volumes not mounted (" << state
                         << "); run through scripts/wine/with-test-volumes";
        SetupDialogTest::SetUp();
    }
};

TEST_F(MountedVolumeTest, RefusingRootOfCFailsTheIconButWritesTheShortcut)
{
    std::string desktop = FreshFolder("D:\\Desktop");
    ASSERT_TRUE(desktop_.MoveTo(desktop));
    EXPECT_EQ(1, InstallDesktopShortcut(dialog_));
    EXPECT_EQ(IconFailureText, StatusText(dialog_));
    EXPECT_FALSE(FileExists(IconPath));
    EXPECT_EQ(ExpectedShortcutText(), ReadWholeFile(desktop + "\\Meadowbrook Gate.url"));
}

TEST_F(MountedVolumeTest, RefusingDesktopFailsTheShortcutWithItsMessage)
{
    EXPECT_EQ(1, WriteShortcutFile(dialog_, "C:\\", "R:\\Desktop"));
    EXPECT_EQ(ShortcutFailureText, StatusText(dialog_));
    EXPECT_TRUE(DirectoryEntries("R:\\Desktop").empty());
}

TEST_F(MountedVolumeTest, BothRefusingLeavesTheShortcutMessageAndNoFile)
{
    ASSERT_TRUE(desktop_.MoveTo("R:\\Desktop"));
    EXPECT_EQ(1, InstallDesktopShortcut(dialog_));
    EXPECT_EQ(ShortcutFailureText, StatusText(dialog_));
    EXPECT_FALSE(FileExists(IconPath));
    EXPECT_TRUE(DirectoryEntries("R:\\Desktop").empty());
    EXPECT_EQ(1, InstallDesktopShortcut(dialog_)) << "a second OK runs the sequence again";
    EXPECT_EQ(ShortcutFailureText, StatusText(dialog_));
}

// The volume runs out after the first 8 KiB of the new icon: the step fails
// and the earlier file stays, byte for byte.
TEST_F(MountedVolumeTest, DiskFullMidWriteKeepsTheEarlierIcon)
{
    std::string earlier(8000, 'o');
    ASSERT_TRUE(WriteWholeFile("F:\\meadowbrookgate.ico", earlier));
    EXPECT_EQ(1, WriteIconFile(dialog_, "F:\\"));
    EXPECT_EQ(IconFailureText, StatusText(dialog_));
    EXPECT_EQ(earlier, ReadWholeFile("F:\\meadowbrookgate.ico"));
    EXPECT_EQ(std::vector<std::string>{"meadowbrookgate.ico"}, DirectoryEntries("F:\\"));
}

TEST_F(MountedVolumeTest, DiskFullKeepsTheEarlierShortcut)
{
    ASSERT_TRUE(CreateDirectoryA("F:\\Desktop", NULL));
    std::string earlier = "[InternetShortcut]\r\nURL=https://old.example\r\n";
    ASSERT_TRUE(WriteWholeFile("F:\\Desktop\\Meadowbrook Gate.url", earlier));
    // Fill every block that is left.
    HANDLE filler = CreateFileA("F:\\filler", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, filler);
    char block[512] = {0};
    DWORD written = 0;
    while (WriteFile(filler, block, sizeof block, &written, NULL) && written == sizeof block)
        ;
    CloseHandle(filler);

    EXPECT_EQ(1, WriteShortcutFile(dialog_, "C:\\", "F:\\Desktop"));
    EXPECT_EQ(ShortcutFailureText, StatusText(dialog_));
    EXPECT_EQ(earlier, ReadWholeFile("F:\\Desktop\\Meadowbrook Gate.url"));
    EXPECT_EQ(std::vector<std::string>{"Meadowbrook Gate.url"}, DirectoryEntries("F:\\Desktop"));
}
