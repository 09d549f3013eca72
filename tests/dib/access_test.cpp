// The DIB record and its pixels: validity, sizes, masks and shifts, single
// pixels and colour-table entries.
#include "dibtest.h"

#include <climits>
#include <cstring>

using namespace dibtest;

TEST(DibRecord, InvalidHandlesGiveNeutralResults)
{
    void* unreadable = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS);
    BYTE readable[256] = {};
    GuardedRegion edge(16);   // readable start and signature, then an unreadable page
    const BYTE signature[16] = {0, 0, 0, 0, 0, 0, 0, 0, 'D', 'i', 'b', ' '};
    HDIB deleted = DibCreate(2, 2, 8, 0);
    ASSERT_TRUE(DibDelete(deleted));
    DibHolder next(DibCreate(2, 2, 8, 0));   // must not take over the deleted handle
    struct Case { const char* name; HDIB handle; } cases[] = {
        {"null", nullptr}, {"no-access page", unreadable},
        {"readable block without signature", readable},
        {"signature near an unreadable page", HDIB(edge.Place(signature, 16))},
        {"deleted DIB, another made since", deleted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(0, DibIsValid(c.handle) | DibWidth(c.handle) | DibDelete(c.handle) | DibSetPixel(c.handle, 0, 0, 1));
        EXPECT_EQ(0u, DibTotalSize(c.handle) | DibGetPixel(c.handle, 0, 0));
        EXPECT_FALSE(DibBitsPtr(c.handle) || DibInfoHeaderPtr(c.handle) || DibCopy(c.handle, 0) ||
                     DibCloneInfo(c.handle) || DibCopyToPackedDib(c.handle, 0));
    }
    EXPECT_EQ(1, DibIsValid(next.get()));
    VirtualFree(unreadable, 0, MEM_RELEASE);
}

TEST(DibRecord, MasksAndShifts)
{
    auto bitfields = [](DWORD red, DWORD green, DWORD blue, WORD depth = 16) {
        return DibFromRecipe({40, depth, 4, 2, BI_BITFIELDS, {red, green, blue}});
    };
    struct Case { const char* name; HDIB dib; DWORD masks[3]; int right[3], left[3]; DWORD maskSize; } cases[] = {
        {"16-bit plain RGB", DibCreate(4, 2, 16, 0), {0x7C00, 0x03E0, 0x001F}, {10, 5, 0}, {3, 3, 3}, 0},
        {"32-bit plain RGB", DibCreate(4, 2, 32, 0), {0xFF0000, 0xFF00, 0xFF}, {16, 8, 0}, {0, 0, 0}, 0},
        {"16-bit 5-6-5", bitfields(0xF800, 0x07E0, 0x001F), {0xF800, 0x07E0, 0x001F}, {11, 5, 0}, {3, 2, 3}, 12},
        {"32-bit 10-10-10", bitfields(0x3FF00000, 0x000FFC00, 0x000003FF, 32), {0x3FF00000, 0x000FFC00, 0x000003FF},
         {20, 10, 0}, {-2, -2, -2}, 12},
        {"16-bit 1-5-5 in the top bits", bitfields(0x8000, 0x7C00, 0x03E0), {0x8000, 0x7C00, 0x03E0}, {15, 10, 5},
         {7, 3, 3}, 12},
        {"8-bit palette", DibCreate(4, 2, 8, 0), {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 0},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibHolder dib(c.dib);
        ASSERT_TRUE(dib.get());
        for (int i = -1; i < 4; ++i) {
            const bool inside = i >= 0 && i < 3;
            EXPECT_EQ(inside ? c.masks[i] : 0, DibMask(dib.get(), i)) << "channel " << i;
            EXPECT_EQ(inside ? c.right[i] : 0, DibRShift(dib.get(), i)) << "channel " << i;
            EXPECT_EQ(inside ? c.left[i] : 0, DibLShift(dib.get(), i)) << "channel " << i;
        }
        // Masks count in the info block only when the header announces them.
        EXPECT_EQ(c.maskSize, DibMaskSize(dib.get()));
        EXPECT_EQ(40 + c.maskSize + DibColorSize(dib.get()), DibInfoSize(dib.get()));
    }
}

TEST(DibPixel, RawValuesLandInTheirBitsAndNowhereElse)
{
    // Each write goes into a row of zeros and into a row of ones: only the
    // pixel's own bits may change. Outside the picture nothing is reached.
    struct Case { const char* name; int depth, x; DWORD value; int byteIndex; Bytes zeros, ones; } cases[] = {
        {"1-bit x 9 is bit 6 of byte 1", 1, 9, 1, 1, {0x40}, {0xFF}}, {"1-bit x 5 cleared", 1, 5, 0, 0, {0x00}, {0xFB}},
        {"4-bit even x is the high nibble", 4, 2, 0xA, 1, {0xA0}, {0xAF}},
        {"4-bit odd x is the low nibble", 4, 3, 0x5, 1, {0x05}, {0xF5}},
        {"16-bit little-endian", 16, 2, 0x1234, 4, {0x34, 0x12}, {0x34, 0x12}},
        {"24-bit blue first", 24, 1, 0x302010, 3, {0x10, 0x20, 0x30}, {0x10, 0x20, 0x30}},
        {"32-bit little-endian", 32, 1, 0x80302010, 4, {0x10, 0x20, 0x30, 0x80}, {0x10, 0x20, 0x30, 0x80}},
    };
    for (const Case& c : cases) {
        DibHolder dib(DibCreate(16, 3, c.depth, 0));
        for (POINT p : {POINT{16, 0}, POINT{0, 3}, POINT{-1, 0}, POINT{INT_MIN, 2}, POINT{2, INT_MAX}}) {
            SCOPED_TRACE(::testing::Message() << c.name << ", outside at (" << p.x << ", " << p.y << ")");
            EXPECT_EQ(nullptr, DibPixelPtr(dib.get(), p.x, p.y));
            EXPECT_EQ(0u, DibGetPixel(dib.get(), p.x, p.y));
            EXPECT_EQ(0, DibSetPixel(dib.get(), p.x, p.y, 1));
        }
        BYTE* row = DibPixelPtr(dib.get(), 0, 1);
        for (BYTE fill : {0x00, 0xFF}) {
            SCOPED_TRACE(::testing::Message() << c.name << " in a row of " << int(fill));
            memset(row, fill, DibRowLength(dib.get()));
            EXPECT_EQ(1, DibSetPixel(dib.get(), c.x, 1, c.value));
            EXPECT_EQ(row + c.byteIndex, DibPixelPtr(dib.get(), c.x, 1));
            Bytes expected(DibRowLength(dib.get()), fill);
            const Bytes& written = fill ? c.ones : c.zeros;
            std::copy(written.begin(), written.end(), expected.begin() + c.byteIndex);
            EXPECT_EQ(expected, Bytes(row, row + DibRowLength(dib.get())));
            EXPECT_EQ(c.value, DibGetPixel(dib.get(), c.x, 1));
            EXPECT_EQ(0u, DibGetPixel(dib.get(), c.x, 0)) << "the row above is untouched";
        }
    }
}

// Direct-colour pixels: the colour written (or a raw value), the raw value
// stored, the colour read back.
TEST(DibPixel, DirectColours)
{
    const std::vector<DWORD> plain, m565 = {0xF800, 0x07E0, 0x001F}, bgr = {0xFF, 0xFF00, 0xFF0000},
                                    m101010 = {0x3FF00000, 0x000FFC00, 0x000003FF};
    const RGBQUAD white = {0xFF, 0xFF, 0xFF, 0xFF}, odd = {0x13, 0x57, 0x9B, 0x42};
    const int kUnchecked = -1, kUntouched = 0x99;   // what the reserved byte reads
    struct Case { const char* name; WORD depth; std::vector<DWORD> masks; bool byRaw; RGBQUAD in; DWORD raw;
                  RGBQUAD out; int reserved; } cases[] = {
        {"24-bit exact, no reserved byte", 24, plain, false, odd, 0x9B5713, {0x13, 0x57, 0x9B}, 0},
        {"32-bit exact, reserved on top", 32, plain, false, odd, 0x429B5713, odd, 0x42},
        {"16-bit keeps top five bits", 16, plain, false, odd, (0x9B >> 3) << 10 | (0x57 >> 3) << 5 | 0x13 >> 3,
         {0x10, 0x50, 0x98}, kUntouched},
        {"5-6-5 white", 16, m565, false, white, 0xFFFF, {0xF8, 0xFC, 0xF8}, kUnchecked},
        {"8-8-8 in BGR order", 32, bgr, false, {0x33, 0x22, 0x11}, 0x00332211, {0x33, 0x22, 0x11}, kUnchecked},
        // Runs longer than 8 bits read their top 8 bits and are written from them.
        {"10-10-10 read", 32, m101010, true, {}, 0x3FF00000 | (0x155 << 10) | 0x003, {0x00, 0x55, 0xFF}, kUnchecked},
        {"10-10-10 written", 32, m101010, false, {0x00, 0x55, 0xFF}, 0x3FC00000 | (0x154 << 10), {0x00, 0x55, 0xFF},
         kUnchecked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibHolder dib(DibFromRecipe({40, c.depth, 4, 3, c.masks.empty() ? DWORD(BI_RGB) : BI_BITFIELDS, c.masks}));
        ASSERT_TRUE(dib.get());
        ASSERT_EQ(1, c.byRaw ? DibSetPixel(dib.get(), 2, 1, c.raw) : DibSetPixelColor(dib.get(), 2, 1, &c.in));
        EXPECT_EQ(c.raw, DibGetPixel(dib.get(), 2, 1));
        RGBQUAD color = {0x55, 0x55, 0x55, kUntouched}, again = {};
        ASSERT_NE(0, DibGetPixelColor(dib.get(), 2, 1, &color));
        EXPECT_TRUE(SameColor(c.out, color, false));
        if (c.reserved != kUnchecked)
            EXPECT_EQ(c.reserved, color.rgbReserved);
        // Written back from what was read, the same colour comes back.
        DibSetPixelColor(dib.get(), 0, 0, &color);
        EXPECT_TRUE(DibGetPixelColor(dib.get(), 0, 0, &again) && SameColor(color, again, false));
        EXPECT_EQ(1, DibSetPixelColor(dib.get(), 4, 0, &c.in)) << "outside still gives 1";
    }
}

TEST(DibPixel, PaletteEntriesAndIndexedColours)
{
    DibHolder dib(DibCreate(4, 4, 8, 0));
    const RGBQUAD red = {0, 0, 0xFF, 0};
    RGBQUAD color = {};
    EXPECT_EQ(1, DibSetColor(dib.get(), 7, &red) & DibSetPixel(dib.get(), 2, 3, 7));
    EXPECT_TRUE(DibGetPixelColor(dib.get(), 2, 3, &color) && SameColor(red, color, false));
    EXPECT_EQ(0, DibSetPixelColor(dib.get(), 2, 3, &red)) << "palette DIBs are written by index";

    struct Case { int depth, colors, index, expected; } cases[] = {
        {8, 0, 255, 1}, {8, 0, 256, 0}, {8, 17, 16, 1}, {8, 17, 17, 0}, {1, 0, 2, 0}, {8, 0, -1, 0}, {24, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.depth << " bits, " << c.colors << " colours, index " << c.index);
        DibHolder d(DibCreate(2, 2, c.depth, c.colors));
        RGBQUAD entry = {1, 2, 3, 0}, back = {};
        EXPECT_EQ(c.expected, DibSetColor(d.get(), c.index, &entry));
        EXPECT_EQ(c.expected, DibGetColor(d.get(), c.index, &back));
        EXPECT_TRUE(!c.expected || SameColor(entry, back));
    }
}
