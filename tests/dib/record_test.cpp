// The DIB record: validity test, accessors, masks and shifts, row order.
#include "dibtest.h"

#include <cstring>

using namespace dibtest;

TEST(DibRecord, InvalidHandlesGiveNeutralResults)
{
    void* unreadable = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS);
    void* released = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    VirtualFree(released, 0, MEM_RELEASE);
    BYTE readable[256] = {};
    // A record that ends on an unreadable page: readable start, signature in place.
    BYTE* edge = static_cast<BYTE*>(VirtualAlloc(nullptr, 8192, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD oldProtect;
    VirtualProtect(edge + 4096, 4096, PAGE_NOACCESS, &oldProtect);
    BYTE* nearEnd = edge + 4096 - 16;
    memcpy(nearEnd + 8, "Dib ", 4);
    HDIB deleted = DibCreate(2, 2, 8, 0);
    ASSERT_TRUE(DibDelete(deleted));

    struct Case { const char* name; HDIB handle; } cases[] = {
        {"null", nullptr},
        {"no-access page", unreadable},
        {"released page", released},
        {"readable block without signature", readable},
        {"signature near an unreadable page", nearEnd},
        {"deleted DIB", deleted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(0, DibIsValid(c.handle));
        EXPECT_EQ(0, DibWidth(c.handle));
        EXPECT_EQ(nullptr, DibBitsPtr(c.handle));
        EXPECT_EQ(nullptr, DibInfoHeaderPtr(c.handle));
        EXPECT_EQ(0u, DibTotalSize(c.handle));
        EXPECT_EQ(0, DibDelete(c.handle));
        EXPECT_EQ(0u, DibGetPixel(c.handle, 0, 0));
        EXPECT_EQ(0, DibSetPixel(c.handle, 0, 0, 1));
        EXPECT_EQ(nullptr, DibCopy(c.handle, 0));
        EXPECT_EQ(nullptr, DibCloneInfo(c.handle));
        EXPECT_EQ(nullptr, DibCopyToPackedDib(c.handle, 0));
    }
    VirtualFree(unreadable, 0, MEM_RELEASE);
    VirtualFree(edge, 0, MEM_RELEASE);
}

TEST(DibRecord, RowLengthPadsToFourBytes)
{
    struct Case { int width, depth, expected; } cases[] = {
        {1, 1, 4}, {33, 1, 8}, {32, 1, 4}, {3, 24, 12}, {5, 24, 16}, {1, 4, 4}, {9, 4, 8},
        {3, 8, 4}, {5, 8, 8}, {3, 16, 8}, {2, 32, 8},
    };
    for (const Case& c : cases) {
        DibHolder dib(DibCreate(c.width, 2, c.depth, 0));
        ASSERT_TRUE(dib.get()) << c.width << "x" << c.depth;
        EXPECT_EQ(c.expected, DibRowLength(dib.get())) << "width " << c.width << " at " << c.depth << " bits";
        EXPECT_EQ(DWORD(c.expected * 2), DibBitsSize(dib.get())) << "width " << c.width << " at " << c.depth << " bits";
    }
}

TEST(DibRecord, ColourCountsAndInfoSizes)
{
    struct Case { const char* name; int depth, colors; DWORD numColors, infoSize; } cases[] = {
        {"8-bit, colours used 0", 8, 0, 256, 40 + 1024},
        {"8-bit, colours used 17", 8, 17, 17, 40 + 17 * 4},
        {"1-bit, colours used 0", 1, 0, 2, 48},
        {"4-bit, colours used 0", 4, 0, 16, 104},
        {"24-bit, colours used 0", 24, 0, 0, 40},
        {"16-bit plain RGB", 16, 0, 0, 40},
        {"32-bit plain RGB", 32, 0, 0, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibHolder dib(DibCreate(6, 3, c.depth, c.colors));
        ASSERT_TRUE(dib.get());
        EXPECT_EQ(c.numColors, DibNumColors(dib.get()));
        EXPECT_EQ(c.numColors * 4, DibColorSize(dib.get()));
        EXPECT_EQ(0u, DibMaskSize(dib.get()));
        EXPECT_EQ(40u, DibInfoHeaderSize(dib.get()));
        EXPECT_EQ(c.infoSize, DibInfoSize(dib.get()));
        EXPECT_EQ(c.infoSize + DibBitsSize(dib.get()), DibTotalSize(dib.get()));
        EXPECT_EQ(DWORD(DibRowLength(dib.get()) * 3), DibBitsSize(dib.get()));
        EXPECT_EQ(BI_RGB, DibCompression(dib.get()));
        EXPECT_EQ(1, DibIsAddressable(dib.get()));
    }
}

namespace {

HDIB BitfieldsDib(int depth, DWORD red, DWORD green, DWORD blue, int height = 2)
{
    BmpRecipe recipe;
    recipe.bitCount = WORD(depth);
    recipe.height = height;
    recipe.compression = BI_BITFIELDS;
    recipe.masks = {red, green, blue};
    Bytes packed = MakePackedDib(recipe);
    return DibCreateFromInfo(reinterpret_cast<const BITMAPINFO*>(packed.data()));
}

}  // namespace

TEST(DibRecord, MasksAndShifts)
{
    struct Case {
        const char* name;
        HDIB dib;
        DWORD masks[3];
        int right[3], left[3];
        DWORD maskSize;
    } cases[] = {
        {"16-bit plain RGB", DibCreate(4, 2, 16, 0), {0x7C00, 0x03E0, 0x001F}, {10, 5, 0}, {3, 3, 3}, 0},
        {"24-bit", DibCreate(4, 2, 24, 0), {0xFF0000, 0xFF00, 0xFF}, {16, 8, 0}, {0, 0, 0}, 0},
        {"32-bit plain RGB", DibCreate(4, 2, 32, 0), {0xFF0000, 0xFF00, 0xFF}, {16, 8, 0}, {0, 0, 0}, 0},
        {"16-bit 5-6-5", BitfieldsDib(16, 0xF800, 0x07E0, 0x001F), {0xF800, 0x07E0, 0x001F}, {11, 5, 0}, {3, 2, 3}, 12},
        {"32-bit 10-10-10", BitfieldsDib(32, 0x3FF00000, 0x000FFC00, 0x000003FF),
         {0x3FF00000, 0x000FFC00, 0x000003FF}, {20, 10, 0}, {-2, -2, -2}, 12},
        {"16-bit 1-5-5 in the top bits", BitfieldsDib(16, 0x8000, 0x7C00, 0x03E0), {0x8000, 0x7C00, 0x03E0}, {15, 10, 5}, {7, 3, 3}, 12},
        {"8-bit palette", DibCreate(4, 2, 8, 0), {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 0},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibHolder dib(c.dib);
        ASSERT_TRUE(dib.get());
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(c.masks[i], DibMask(dib.get(), i)) << "channel " << i;
            EXPECT_EQ(c.masks[i], DibMaskPtr(dib.get())[i]) << "channel " << i;
            EXPECT_EQ(c.right[i], DibRShift(dib.get(), i)) << "channel " << i;
            EXPECT_EQ(c.left[i], DibLShift(dib.get(), i)) << "channel " << i;
        }
        for (int outside : {-1, 3}) {
            EXPECT_EQ(0u, DibMask(dib.get(), outside));
            EXPECT_EQ(0, DibRShift(dib.get(), outside));
            EXPECT_EQ(0, DibLShift(dib.get(), outside));
        }
        EXPECT_EQ(c.maskSize, DibMaskSize(dib.get()));
    }
}

TEST(DibRecord, BitfieldsInfoSizeCountsMasks)
{
    DibHolder dib(BitfieldsDib(16, 0xF800, 0x07E0, 0x001F));
    ASSERT_TRUE(dib.get());
    EXPECT_EQ(BI_BITFIELDS, DibCompression(dib.get()));
    EXPECT_EQ(52u, DibInfoSize(dib.get()));
}

TEST(DibRecord, RowTableFollowsTheCreatingHeightSign)
{
    for (bool topDown : {false, true}) {
        for (int depth : {1, 8, 24}) {
            SCOPED_TRACE(::testing::Message() << (topDown ? "top-down " : "bottom-up ") << depth);
            DibHolder dib(MakePatternDib(5, 4, depth, topDown));
            ASSERT_TRUE(dib.get());
            const BYTE* bits = static_cast<const BYTE*>(DibBitsPtr(dib.get()));
            const int rowLength = DibRowLength(dib.get());
            EXPECT_EQ(4, DibHeight(dib.get()));
            EXPECT_EQ(topDown ? -4 : 4, DibInfoHeaderPtr(dib.get())->biHeight);
            for (int y = 0; y < 4; ++y) {
                const BYTE* expected = bits + (topDown ? y : 3 - y) * rowLength;
                EXPECT_EQ(expected, DibPixelPtr(dib.get(), 0, y)) << "row " << y;
            }
        }
    }
}

