// The built meadowbrookgate_setup.exe as Windows loads it: a 32-bit GUI
// program whose one resource is the setup dialog's template, read back
// field by field from the binary (resource compilers add and drop style bits
// of their own).
#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

static std::string ProgramPath()
{
    char path[MAX_PATH] = "";
    GetEnvironmentVariableA("SETUP_EXE", path, sizeof path);
    return path;
}

class ProgramImage : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        module_ = LoadLibraryExA(ProgramPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module_ != NULL) << "cannot load SETUP_EXE='" << ProgramPath() << "'";
    }
    void TearDown() override
    {
        if (module_ != NULL)
            FreeLibrary(module_);
    }
    HMODULE module_ = NULL;
};

static BOOL CALLBACK AddType(HMODULE, LPSTR type, LONG_PTR list)
{
    ((std::vector<ULONG_PTR> *)list)->push_back((ULONG_PTR)type);
    return TRUE;
}

static BOOL CALLBACK AddName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list)
{
    ((std::vector<ULONG_PTR> *)list)->push_back((ULONG_PTR)name);
    return TRUE;
}

static BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list)
{
    ((std::vector<ULONG_PTR> *)list)->push_back(language);
    return TRUE;
}

TEST_F(ProgramImage, IsA32BitGuiProgram)
{
    const BYTE *base = (const BYTE *)((ULONG_PTR)module_ & ~(ULONG_PTR)3);
    const IMAGE_DOS_HEADER *dos = (const IMAGE_DOS_HEADER *)base;
    ASSERT_EQ(IMAGE_DOS_SIGNATURE, dos->e_magic);
    const IMAGE_NT_HEADERS32 *nt = (const IMAGE_NT_HEADERS32 *)(base + dos->e_lfanew);
    ASSERT_EQ(IMAGE_NT_SIGNATURE, nt->Signature);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, nt->FileHeader.Machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, nt->OptionalHeader.Magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt->OptionalHeader.Subsystem);
}

TEST_F(ProgramImage, OnlyResourceIsTheEnglishSetupDialog)
{
    std::vector<ULONG_PTR> types, names, languages;
    EnumResourceTypesA(module_, AddType, (LONG_PTR)&types);
    EXPECT_EQ(std::vector<ULONG_PTR>{(ULONG_PTR)RT_DIALOG}, types)
        << "no icon, version or manifest";
    EnumResourceNamesA(module_, RT_DIALOG, AddName, (LONG_PTR)&names);
    EXPECT_EQ(std::vector<ULONG_PTR>{IDD_SETUP}, names);
    EnumResourceLanguagesA(module_, RT_DIALOG, MAKEINTRESOURCEA(IDD_SETUP), AddLanguage,
                           (LONG_PTR)&languages);
    EXPECT_EQ(std::vector<ULONG_PTR>{0x0409}, languages);
}

// Reads a classic dialog template in order: DWORD-aligned items, WORD
// ordinals and NUL-terminated UTF-16 strings.
class TemplateReader
{
  public:
    explicit TemplateReader(const BYTE *start) : start_(start), at_(start)
    {
    }
    DWORD Dword()
    {
        DWORD value;
        memcpy(&value, at_, 4);
        at_ += 4;
        return value;
    }
    int Short()
    {
        short value;
        memcpy(&value, at_, 2);
        at_ += 2;
        return value;
    }
    std::string Text()
    {
        std::string text;
        for (WORD c; (c = (WORD)Short()) != 0;)
            text += (char)c;
        return text;
    }
    // An ordinal (0xFFFF then a WORD) as "#n", or a string.
    std::string OrdinalOrText()
    {
        WORD first;
        memcpy(&first, at_, 2);
        if (first == 0xFFFF)
        {
            at_ += 2;
            return "#" + std::to_string((WORD)Short());
        }
        return Text();
    }
    void AlignToDword()
    {
        while ((at_ - start_) % 4)
            ++at_;
    }

  private:
    const BYTE *start_;
    const BYTE *at_;
};

struct ExpectedControl
{
    DWORD style;
    int x, y, cx, cy, id;
    const char *windowClass;
    const char *text;
};

TEST_F(ProgramImage, DialogTemplateMatchesFieldForField)
{
    HRSRC found = FindResourceExA(module_, RT_DIALOG, MAKEINTRESOURCEA(IDD_SETUP), 0x0409);
    ASSERT_TRUE(found != NULL);
    TemplateReader t((const BYTE *)LockResource(LoadResource(module_, found)));

    EXPECT_EQ(0x90C800C0u, t.Dword()) << "style";
    EXPECT_EQ(0u, t.Dword()) << "extended style";
    EXPECT_EQ(3, t.Short()) << "controls";
    EXPECT_EQ(7, t.Short());
    EXPECT_EQ(20, t.Short());
    EXPECT_EQ(189, t.Short());
    EXPECT_EQ(75, t.Short());
    EXPECT_EQ("", t.OrdinalOrText()) << "menu";
    EXPECT_EQ("", t.OrdinalOrText()) << "class";
    EXPECT_EQ("meadowbrookgate_setup", t.Text());
    EXPECT_EQ(8, t.Short()) << "point size";
    EXPECT_EQ("Helv", t.Text());

    const ExpectedControl controls[3] = {
        {0x50010001, 149, 6, 40, 14, IDOK, "#128", "OK"},
        {0x50010000, 149, 23, 40, 14, IDCANCEL, "#128", "Cancel"},
        {0x5002000B, 20, 28, 115, 14, IDC_STATUS, "#130", "Click OK to create desktop icon."},
    };
    for (const ExpectedControl &c : controls)
    {
        SCOPED_TRACE(c.text);
        t.AlignToDword();
        EXPECT_EQ(c.style, t.Dword()) << "style";
        EXPECT_EQ(0u, t.Dword()) << "extended style";
        EXPECT_EQ(c.x, t.Short());
        EXPECT_EQ(c.y, t.Short());
        EXPECT_EQ(c.cx, t.Short());
        EXPECT_EQ(c.cy, t.Short());
        EXPECT_EQ(c.id, (WORD)t.Short());
        EXPECT_EQ(c.windowClass, t.OrdinalOrText()) << "#128 is Button, #130 Static";
        EXPECT_EQ(c.text, t.OrdinalOrText());
        EXPECT_EQ(0, t.Short()) << "creation data";
    }
}
