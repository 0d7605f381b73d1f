// The embedded icon file: header, directory and each image's bitmap header,
// field by field, read from the bytes the program writes.
#include "icon_file.h"

#include <gtest/gtest.h>

#include <stdint.h>

static unsigned Word(size_t offset)
{
    return IconImage[offset] | IconImage[offset + 1] << 8;
}

static uint32_t Dword(size_t offset)
{
    return Word(offset) | (uint32_t)Word(offset + 2) << 16;
}

struct DirectoryRow
{
    unsigned size, colourCount, bitsPerPixel;
    uint32_t bytes, offset;
};

static const DirectoryRow Rows[6] = {
    {48, 16, 4, 1640, 102}, {32, 16, 4, 744, 1742}, {16, 16, 4, 296, 2486},
    {48, 0, 8, 3752, 2782}, {32, 0, 8, 2216, 6534}, {16, 0, 8, 1384, 8750},
};

TEST(IconImage, HeaderDeclaresSixIcons)
{
    EXPECT_EQ(10134u, sizeof IconImage);
    EXPECT_EQ(0u, Word(0));
    EXPECT_EQ(1u, Word(2));
    EXPECT_EQ(6u, Word(4));
}

TEST(IconImage, DirectoryMatchesTheImagesBackToBack)
{
    for (int i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(i);
        size_t entry = 6 + 16 * i;
        EXPECT_EQ(Rows[i].size, IconImage[entry]);
        EXPECT_EQ(Rows[i].size, IconImage[entry + 1]);
        EXPECT_EQ(Rows[i].colourCount, IconImage[entry + 2]);
        EXPECT_EQ(0u, IconImage[entry + 3]);
        EXPECT_EQ(1u, Word(entry + 4));
        EXPECT_EQ(Rows[i].bitsPerPixel, Word(entry + 6));
        EXPECT_EQ(Rows[i].bytes, Dword(entry + 8));
        EXPECT_EQ(Rows[i].offset, Dword(entry + 12));
        uint32_t end = i < 5 ? Rows[i + 1].offset : (uint32_t)IconImageSize;
        EXPECT_EQ(end, Rows[i].offset + Rows[i].bytes)
            << "images must follow each other with no gap";
    }
}

TEST(IconImage, EachImageHasAFullBitmapInfoHeader)
{
    for (int i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(i);
        size_t h = Rows[i].offset;
        unsigned colours = 1u << Rows[i].bitsPerPixel;
        EXPECT_EQ(40u, Dword(h));
        EXPECT_EQ(Rows[i].size, Dword(h + 4));
        EXPECT_EQ(2 * Rows[i].size, Dword(h + 8));
        EXPECT_EQ(1u, Word(h + 12));
        EXPECT_EQ(Rows[i].bitsPerPixel, Word(h + 14));
        EXPECT_EQ(0u, Dword(h + 16)) << "compression";
        EXPECT_EQ(0u, Dword(h + 20)) << "image size";
        EXPECT_EQ(0u, Dword(h + 24));
        EXPECT_EQ(0u, Dword(h + 28));
        EXPECT_EQ(colours, Dword(h + 32)) << "colours used";
        EXPECT_EQ(0u, Dword(h + 36)) << "important colours";
        uint32_t row = (Rows[i].size * Rows[i].bitsPerPixel + 31) / 32 * 4;
        uint32_t maskRow = (Rows[i].size + 31) / 32 * 4;
        EXPECT_EQ(Rows[i].bytes, 40 + 4 * colours + Rows[i].size * (row + maskRow));
    }
}

// The mask gives the icon its round shape at every size and depth: corners
// transparent, centre opaque.
TEST(IconImage, MaskCutsOutARoundShape)
{
    for (int i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(i);
        unsigned size = Rows[i].size;
        uint32_t row = (size * Rows[i].bitsPerPixel + 31) / 32 * 4;
        uint32_t maskRow = (size + 31) / 32 * 4;
        size_t mask = Rows[i].offset + 40 + 4 * (1u << Rows[i].bitsPerPixel) + size * row;
        auto transparent = [&](unsigned x, unsigned y) {
            return (IconImage[mask + y * maskRow + x / 8] >> (7 - x % 8)) & 1;
        };
        EXPECT_TRUE(transparent(0, 0));
        EXPECT_TRUE(transparent(size - 1, 0));
        EXPECT_TRUE(transparent(0, size - 1));
        EXPECT_TRUE(transparent(size - 1, size - 1));
        EXPECT_FALSE(transparent(size / 2, size / 2));
        EXPECT_FALSE(transparent(size / 2, 0));
        EXPECT_FALSE(transparent(0, size / 2));
    }
}

// Windows itself can make an icon of each image: the bytes are a real icon.
TEST(IconImage, WindowsAcceptsEveryImage)
{
    for (int i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(i);
        HICON icon = CreateIconFromResourceEx((PBYTE)IconImage + Rows[i].offset, Rows[i].bytes,
                                              TRUE, 0x00030000, Rows[i].size, Rows[i].size, 0);
        ASSERT_TRUE(icon != NULL);
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour;
        ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof colour, &colour));
        EXPECT_EQ((LONG)Rows[i].size, colour.bmWidth);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}
