#include "test_support.h"

#include "resource.h"
#include "setup_dialog.h"

#include "website_host.h"

#include <shlobj.h>
#include <string.h>

const char PromptText[] = "Click OK to create desktop icon.";
const char IconFailureText[] = "Failed to create icon file.";
const char ShortcutFailureText[] = "Failed to create shortcut.";
const char IconPath[] = "C:\\meadowbrookgate.ico";

static const WCHAR ShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::string DefaultDesktop()
{
    char path[MAX_PATH] = "";
    ExpandEnvironmentStringsA("%USERPROFILE%\\Desktop", path, MAX_PATH);
    return path;
}

std::string DefaultDesktopShortcut()
{
    return DefaultDesktop() + "\\Meadowbrook Gate.url";
}

std::string ExpectedShortcutText()
{
    return "[InternetShortcut]\r\n"
           "URL=https://" WEBSITE_HOST "\r\n"
           "Modified=80D95DEAB1CCBF01DC\r\n"
           "IconIndex=0\r\n"
           "IconFile=C:\\meadowbrookgate.ico\r\n";
}

// Reads an open file to its end and closes it; nothing for no file.
static std::string ReadAndClose(HANDLE file)
{
    std::string contents;
    if (file == INVALID_HANDLE_VALUE)
        return contents;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0)
        contents.append(buffer, got);
    CloseHandle(file);
    return contents;
}

std::string ReadWholeFile(const std::string &path)
{
    return ReadAndClose(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL));
}

bool WriteWholeFile(const std::string &path, const std::string &contents)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, contents.data(), (DWORD)contents.size(), &written, NULL);
    ok &= CloseHandle(file);
    return ok && written == contents.size();
}

bool FileExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDirectory(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemovePath(const std::string &path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (IsDirectory(path))
        RemoveDirectoryA(path.c_str());
    else
        DeleteFileA(path.c_str());
}

std::vector<std::string> DirectoryEntries(const std::string &directory)
{
    std::vector<std::string> names;
    std::string pattern = directory;
    if (pattern.empty() || pattern.back() != '\\')
        pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool CreateDirectoryTree(const std::string &path)
{
    for (size_t i = 3; i <= path.size(); ++i)
    {
        if (i == path.size() || path[i] == '\\')
        {
            std::string part = path.substr(0, i);
            if (!IsDirectory(part) && !CreateDirectoryA(part.c_str(), NULL))
                return false;
        }
    }
    return true;
}

std::string FreshFolder(const std::string &path)
{
    for (const std::string &name : DirectoryEntries(path))
        RemovePath(path + "\\" + name);
    CreateDirectoryTree(path);
    return path;
}

std::string ReadWholeFile(const std::wstring &path)
{
    return ReadAndClose(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL));
}

std::vector<std::wstring> DirectoryEntries(const std::wstring &directory)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((directory + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// Clears files and empty folders one level down, then makes the folder.
std::wstring FreshFolder(const std::wstring &path)
{
    for (const std::wstring &name : DirectoryEntries(path))
    {
        std::wstring entry = path + L"\\" + name;
        for (const std::wstring &inner : DirectoryEntries(entry))
            DeleteFileW((entry + L"\\" + inner).c_str());
        if (!RemoveDirectoryW(entry.c_str()))
            DeleteFileW(entry.c_str());
    }
    CreateDirectoryW(path.c_str(), NULL);
    return path;
}

std::vector<std::string> EntriesStartingWith(const std::string &directory, const char *prefix)
{
    std::vector<std::string> names;
    for (const std::string &name : DirectoryEntries(directory))
        if (name.compare(0, strlen(prefix), prefix) == 0)
            names.push_back(name);
    return names;
}

std::string StatusText(HWND dialog)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, IDC_STATUS, text, sizeof text);
    return text;
}

DesktopFolderSetting::DesktopFolderSetting() : hadValue_(false)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ShellFoldersKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    WCHAR value[1024];
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExW(key, L"Desktop", NULL, &type, (BYTE *)value, &size) == ERROR_SUCCESS)
    {
        saved_.assign(value, size >= sizeof(WCHAR) ? size / sizeof(WCHAR) - 1 : 0);
        hadValue_ = true;
    }
    RegCloseKey(key);
}

DesktopFolderSetting::~DesktopFolderSetting()
{
    if (hadValue_)
    {
        MoveTo(saved_);
        return;
    }
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ShellFoldersKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, L"Desktop");
    RegCloseKey(key);
}

bool DesktopFolderSetting::MoveTo(const std::string &path)
{
    WCHAR widePath[1024];
    return MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, 1024) != 0 &&
           MoveTo(std::wstring(widePath));
}

bool DesktopFolderSetting::MoveTo(const std::wstring &path)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, ShellFoldersKey, 0, NULL, 0, KEY_WRITE, NULL, &key,
                        NULL) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExW(key, L"Desktop", 0, REG_EXPAND_SZ, (const BYTE *)path.c_str(),
                                 (DWORD)(path.size() + 1) * sizeof(WCHAR));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void SetupDialogTest::SetUp()
{
    RemovePath(IconPath);
    RemovePath(DefaultDesktopShortcut());
    dialog_ = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SETUP), NULL,
                                 SetupDialogProc, 0);
    ASSERT_TRUE(dialog_ != NULL) << "the IDD_SETUP template did not make a dialog, error "
                                 << GetLastError();
    ASSERT_EQ(PromptText, StatusText(dialog_));
}

void SetupDialogTest::TearDown()
{
    if (dialog_ != NULL)
        DestroyWindow(dialog_);
    RemovePath(IconPath);
    RemovePath(DefaultDesktopShortcut());
}
