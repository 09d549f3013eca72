// Single pixels and colour-table entries at every depth.
#include "dibtest.h"

#include <climits>
#include <cstring>

using namespace dibtest;

TEST(DibPixel, CoordinatesOutsideThePicture)
{
    for (int depth : {1, 4, 8, 16, 24, 32}) {
        DibHolder dib(DibCreate(5, 4, depth, 0));
        ASSERT_TRUE(dib.get());
        const POINT outside[] = {{5, 0}, {0, 4}, {-1, 0}, {0, -1}, {INT_MIN, 2}, {2, INT_MAX}};
        for (const POINT& p : outside) {
            SCOPED_TRACE(::testing::Message() << depth << " bits at (" << p.x << ", " << p.y << ")");
            EXPECT_EQ(nullptr, DibPixelPtr(dib.get(), p.x, p.y));
            EXPECT_EQ(0u, DibGetPixel(dib.get(), p.x, p.y));
            EXPECT_EQ(0, DibSetPixel(dib.get(), p.x, p.y, 1));
        }
        EXPECT_NE(nullptr, DibPixelPtr(dib.get(), 4, 3)) << depth;
    }
}

TEST(DibPixel, RawValuesLandInTheirBytes)
{
    struct Case {
        const char* name;
        int depth, x;
        DWORD value;
        int byteIndex;            // from the row's first byte
        Bytes expected;           // bytes from byteIndex after the write
    } cases[] = {
        {"1-bit x 9 is bit 6 of byte 1", 1, 9, 1, 1, {0x40}},
        {"1-bit x 0 is bit 7", 1, 0, 1, 0, {0x80}},
        {"4-bit even x is the high nibble", 4, 2, 0xA, 1, {0xA0}},
        {"4-bit odd x is the low nibble", 4, 3, 0x5, 1, {0x05}},
        {"8-bit", 8, 3, 0xAB, 3, {0xAB}},
        {"16-bit little-endian", 16, 2, 0x1234, 4, {0x34, 0x12}},
        {"24-bit blue first", 24, 1, 0x302010, 3, {0x10, 0x20, 0x30}},
        {"32-bit little-endian", 32, 1, 0x80302010, 4, {0x10, 0x20, 0x30, 0x80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibHolder dib(DibCreate(16, 3, c.depth, 0));
        ASSERT_TRUE(dib.get());
        BYTE* row = DibPixelPtr(dib.get(), 0, 1);
        memset(row, 0, DibRowLength(dib.get()));
        EXPECT_EQ(1, DibSetPixel(dib.get(), c.x, 1, c.value));
        EXPECT_EQ(row + c.byteIndex, DibPixelPtr(dib.get(), c.x, 1));
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(c.expected[i], row[c.byteIndex + i]) << "byte " << i;
        EXPECT_EQ(c.value, DibGetPixel(dib.get(), c.x, 1));
        EXPECT_EQ(0u, DibGetPixel(dib.get(), c.x, 0)) << "the row above is untouched";
    }
}

TEST(DibPixel, SubBytePixelsKeepTheirNeighbours)
{
    DibHolder four(DibCreate(4, 1, 4, 0));
    EXPECT_EQ(1, DibSetPixel(four.get(), 0, 0, 0xA));
    EXPECT_EQ(1, DibSetPixel(four.get(), 1, 0, 0x5));
    EXPECT_EQ(0xA5, *DibPixelPtr(four.get(), 0, 0));
    EXPECT_EQ(1, DibSetPixel(four.get(), 0, 0, 0x3));
    EXPECT_EQ(0x35, *DibPixelPtr(four.get(), 0, 0));

    DibHolder one(DibCreate(8, 1, 1, 0));
    for (int x = 0; x < 8; ++x)
        DibSetPixel(one.get(), x, 0, 1);
    DibSetPixel(one.get(), 5, 0, 0);
    EXPECT_EQ(0xFB, *DibPixelPtr(one.get(), 0, 0));
    // Only the low byte shifts: a value beyond the depth spills into neighbours.
    *DibPixelPtr(one.get(), 0, 0) = 0;
    DibSetPixel(one.get(), 6, 0, 0x105);
    EXPECT_EQ(0x0A, *DibPixelPtr(one.get(), 0, 0)) << "0x105 sets x 6 and spills into x 4";
}

TEST(DibPixel, ColoursOfDirectColourPixels)
{
    struct Case {
        const char* name;
        int depth;
        DWORD raw;
        RGBQUAD expected;          // rgbReserved checked only where defined
        bool reservedDefined;
    } cases[] = {
        {"24-bit bytes 10 20 30", 24, 0x302010, {0x10, 0x20, 0x30, 0}, true},
        {"32-bit plain RGB keeps the top byte", 32, 0x7F302010, {0x10, 0x20, 0x30, 0x7F}, true},
        {"16-bit 0x7FFF reads 0xF8", 16, 0x7FFF, {0xF8, 0xF8, 0xF8, 0}, false},
        {"16-bit red only", 16, 0x7C00, {0, 0, 0xF8, 0}, false},
        {"16-bit one step of green", 16, 0x0020, {0, 0x08, 0, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibHolder dib(DibCreate(3, 2, c.depth, 0));
        ASSERT_EQ(1, DibSetPixel(dib.get(), 2, 1, c.raw));
        RGBQUAD color = {0x55, 0x55, 0x55, 0x99};
        ASSERT_NE(0, DibGetPixelColor(dib.get(), 2, 1, &color));
        EXPECT_EQ(c.expected.rgbBlue, color.rgbBlue);
        EXPECT_EQ(c.expected.rgbGreen, color.rgbGreen);
        EXPECT_EQ(c.expected.rgbRed, color.rgbRed);
        if (c.reservedDefined)
            EXPECT_EQ(c.expected.rgbReserved, color.rgbReserved);
        else
            EXPECT_EQ(0x99, color.rgbReserved) << "left as the caller had it";
    }
}

TEST(DibPixel, ColourWritesRoundTrip)
{
    const RGBQUAD white = {0xFF, 0xFF, 0xFF, 0xFF};
    const RGBQUAD odd = {0x13, 0x57, 0x9B, 0x42};
    struct Case { const char* name; int depth; RGBQUAD color; DWORD raw; RGBQUAD back; } cases[] = {
        {"16-bit white stores 0x7FFF", 16, white, 0x7FFF, {0xF8, 0xF8, 0xF8, 0}},
        {"16-bit keeps top five bits", 16, odd, (0x9B >> 3) << 10 | (0x57 >> 3) << 5 | 0x13 >> 3, {0x10, 0x50, 0x98, 0}},
        {"24-bit exact", 24, odd, 0x9B5713, {0x13, 0x57, 0x9B, 0}},
        {"32-bit exact, reserved on top", 32, odd, 0x429B5713, odd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibHolder dib(DibCreate(3, 2, c.depth, 0));
        EXPECT_EQ(1, DibSetPixelColor(dib.get(), 1, 0, &c.color));
        EXPECT_EQ(c.raw, DibGetPixel(dib.get(), 1, 0));
        RGBQUAD back = {};
        DibGetPixelColor(dib.get(), 1, 0, &back);
        EXPECT_EQ(c.back.rgbBlue, back.rgbBlue);
        EXPECT_EQ(c.back.rgbGreen, back.rgbGreen);
        EXPECT_EQ(c.back.rgbRed, back.rgbRed);
        EXPECT_EQ(1, DibSetPixelColor(dib.get(), 3, 0, &c.color)) << "outside still gives 1";
    }
}

TEST(DibPixel, BitfieldsColours)
{
    BmpRecipe recipe;
    recipe.compression = BI_BITFIELDS;
    struct Case { const char* name; WORD depth; std::vector<DWORD> masks; DWORD raw; RGBQUAD color; } cases[] = {
        {"5-6-5 white", 16, {0xF800, 0x07E0, 0x001F}, 0xFFFF, {0xF8, 0xFC, 0xF8, 0}},
        {"5-6-5 green step", 16, {0xF800, 0x07E0, 0x001F}, 0x0020, {0, 0x04, 0, 0}},
        // Runs longer than 8 bits keep their top 8 bits.
        {"10-10-10", 32, {0x3FF00000, 0x000FFC00, 0x000003FF}, 0x3FF00000 | (0x155 << 10) | 0x003, {0x00, 0x55, 0xFF, 0}},
        {"8-8-8 in BGR order", 32, {0x000000FF, 0x0000FF00, 0x00FF0000}, 0x00332211, {0x33, 0x22, 0x11, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recipe.bitCount = c.depth;
        recipe.masks = c.masks;
        Bytes packed = MakePackedDib(recipe);
        DibHolder dib(DibCreateFromInfo(reinterpret_cast<const BITMAPINFO*>(packed.data())));
        ASSERT_TRUE(dib.get());
        DibSetPixel(dib.get(), 0, 0, c.raw);
        RGBQUAD color = {};
        ASSERT_EQ(1, DibGetPixelColor(dib.get(), 0, 0, &color));
        EXPECT_EQ(c.color.rgbRed, color.rgbRed);
        EXPECT_EQ(c.color.rgbGreen, color.rgbGreen);
        EXPECT_EQ(c.color.rgbBlue, color.rgbBlue);
        // Written back from the intensities, the picture bits come back.
        DibSetPixel(dib.get(), 1, 0, 0);
        ASSERT_EQ(1, DibSetPixelColor(dib.get(), 1, 0, &color));
        RGBQUAD again = {};
        DibGetPixelColor(dib.get(), 1, 0, &again);
        EXPECT_EQ(0, memcmp(&color, &again, 3));
    }
}

TEST(DibPixel, PaletteEntriesAndIndexedColours)
{
    DibHolder dib(DibCreate(4, 4, 8, 0));
    const RGBQUAD red = {0, 0, 0xFF, 0};
    EXPECT_EQ(1, DibSetColor(dib.get(), 7, &red));
    EXPECT_EQ(1, DibSetPixel(dib.get(), 2, 3, 7));
    RGBQUAD color = {};
    EXPECT_NE(0, DibGetPixelColor(dib.get(), 2, 3, &color));
    EXPECT_EQ(0xFF, color.rgbRed);
    EXPECT_EQ(0, DibSetPixelColor(dib.get(), 2, 3, &red)) << "palette DIBs are written by index";
    EXPECT_EQ(7u, DibGetPixel(dib.get(), 2, 3));

    struct Case { const char* name; int depth, colors, index; int expected; } cases[] = {
        {"8-bit index 255", 8, 0, 255, 1},
        {"8-bit index 256 = number of colours", 8, 0, 256, 0},
        {"8-bit with 17 colours, index 16", 8, 17, 16, 1},
        {"8-bit with 17 colours, index 17", 8, 17, 17, 0},
        {"1-bit index 2", 1, 0, 2, 0},
        {"negative index", 8, 0, -1, 0},
        {"24-bit has no table", 24, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibHolder d(DibCreate(2, 2, c.depth, c.colors));
        RGBQUAD entry = {1, 2, 3, 0};
        EXPECT_EQ(c.expected, DibSetColor(d.get(), c.index, &entry));
        RGBQUAD back = {};
        EXPECT_EQ(c.expected, DibGetColor(d.get(), c.index, &back));
        if (c.expected)
            EXPECT_EQ(0, memcmp(&entry, &back, sizeof entry));
    }
}
