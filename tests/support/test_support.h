// Helpers for tests that run against the real Win32 of Wine: the real setup
// dialog, real files and the current user's real shell folder settings.
#ifndef MEADOWBROOKGATE_TEST_SUPPORT_H
#define MEADOWBROOKGATE_TEST_SUPPORT_H

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

extern const char PromptText[];
extern const char IconFailureText[];
extern const char ShortcutFailureText[];
extern const char IconPath[];

// The user's desktop where a new profile has it, %USERPROFILE%\Desktop,
// and the shortcut in it.
std::string DefaultDesktop();
std::string DefaultDesktopShortcut();

// The five lines every shortcut holds, CR LF and all.
std::string ExpectedShortcutText();

std::string ReadWholeFile(const std::string &path);
bool WriteWholeFile(const std::string &path, const std::string &contents);
bool FileExists(const std::string &path);
bool IsDirectory(const std::string &path);
// Deletes a file or an empty directory, whichever is there.
void RemovePath(const std::string &path);
// Names of the entries in a directory, "." and ".." left out.
std::vector<std::string> DirectoryEntries(const std::string &directory);
// Creates every missing directory along path.
bool CreateDirectoryTree(const std::string &path);
// Makes path an empty directory, clearing files and empty folders from an
// earlier run. Returns path.
std::string FreshFolder(const std::string &path);

// The same for folders and files whose names the ANSI code page can't
// spell, named as Unicode.
std::string ReadWholeFile(const std::wstring &path);
std::vector<std::wstring> DirectoryEntries(const std::wstring &directory);
std::wstring FreshFolder(const std::wstring &path);

// The names of a directory's entries that start with prefix.
std::vector<std::string> EntriesStartingWith(const std::string &directory, const char *prefix);

std::string StatusText(HWND dialog);

// Sets where the shell finds the current user's desktop folder, as the user
// would by moving it, and puts the earlier setting back when it goes.
class DesktopFolderSetting
{
  public:
    DesktopFolderSetting();
    ~DesktopFolderSetting();
    bool MoveTo(const std::string &path);
    bool MoveTo(const std::wstring &path);

  private:
    std::wstring saved_;
    bool hadValue_;
};

// Every test of the install logic gets the real setup dialog, modeless, with
// its prompt in the status line, and a clean C:\ and desktop.
class SetupDialogTest : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    HWND dialog_ = NULL;
    DesktopFolderSetting desktop_;
};

#endif
