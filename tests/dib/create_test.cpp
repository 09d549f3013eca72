// Creating, copying and converting DIBs.
#include "dibtest.h"

#include <cstring>

using namespace dibtest;

TEST(DibCreate, RefusesWhatNoPictureHas)
{
    LeakCheck leaks("DibCreate refusals");
    struct Case { int width, height, depth, colors; } cases[] = {
        {0, 10, 8, 0}, {10, 0, 8, 0}, {-1, 10, 8, 0}, {10, -5, 8, 0}, {10, 10, 2, 0},
        {10, 10, 0, 0}, {10, 10, 64, 0}, {10, 10, 8, -1}, {10, 10, 8, 257}, {10, 10, 4, 17},
        {0x7FFFFFFF, 0x7FFFFFFF, 24, 0}, {0x7FFFFFFF, 1, 32, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nullptr, DibCreate(c.width, c.height, c.depth, c.colors))
            << c.width << "x" << c.height << " depth " << c.depth << " colours " << c.colors;
}

TEST(DibCreate, PalettesStartBlackAndRowsBottomUp)
{
    DibHolder full(DibCreate(10, 10, 8, 0));
    ASSERT_TRUE(full.get());
    EXPECT_EQ(256u, DibNumColors(full.get()));
    for (int i = 0; i < 256; ++i) {
        RGBQUAD color = {1, 1, 1, 1};
        ASSERT_EQ(1, DibGetColor(full.get(), i, &color));
        EXPECT_EQ(0u, color.rgbBlue | color.rgbGreen | color.rgbRed | color.rgbReserved) << "entry " << i;
    }
    DibHolder sixteen(DibCreate(10, 10, 8, 16));
    EXPECT_EQ(16u, DibNumColors(sixteen.get()));

    DibHolder rgb(DibCreate(6, 5, 24, 0));
    const BYTE* bits = static_cast<BYTE*>(DibBitsPtr(rgb.get()));
    EXPECT_EQ(bits + 4 * DibRowLength(rgb.get()), DibPixelPtr(rgb.get(), 0, 0));
    EXPECT_GT(DibInfoHeaderPtr(rgb.get())->biHeight, 0);
}

TEST(DibCopy, DuplicateKeepsRowOrderAndBytes)
{
    LeakCheck leaks("DibCopy duplicates");
    for (bool topDown : {false, true}) {
        for (int depth : {1, 4, 8, 16, 24, 32}) {
            SCOPED_TRACE(::testing::Message() << (topDown ? "top-down " : "bottom-up ") << depth);
            DibHolder source(MakePatternDib(13, 7, depth, topDown));
            DibHolder copy(DibCopy(source.get(), 0));
            ASSERT_TRUE(copy.get());
            EXPECT_TRUE(SameDib(source.get(), copy.get()));
            EXPECT_NE(DibBitsPtr(source.get()), DibBitsPtr(copy.get()));
            EXPECT_EQ(DibGetPixel(source.get(), 3, 0), DibGetPixel(copy.get(), 3, 0));
        }
    }
}

TEST(DibCopy, ExchangedIsBlankBottomUpWithThePalette)
{
    DibHolder source(MakePatternDib(30, 20, 8, true));
    DibHolder copy(DibCopy(source.get(), 1));
    ASSERT_TRUE(copy.get());
    EXPECT_EQ(20, DibWidth(copy.get()));
    EXPECT_EQ(30, DibHeight(copy.get()));
    EXPECT_GT(DibInfoHeaderPtr(copy.get())->biHeight, 0);
    EXPECT_EQ(DibNumColors(source.get()), DibNumColors(copy.get()));
    for (int i = 0; i < 256; i += 51) {
        RGBQUAD a = {}, b = {};
        DibGetColor(source.get(), i, &a);
        DibGetColor(copy.get(), i, &b);
        EXPECT_EQ(0, memcmp(&a, &b, sizeof a)) << "entry " << i;
    }
    const BYTE* bits = static_cast<const BYTE*>(DibBitsPtr(copy.get()));
    bool blank = true;
    for (DWORD i = 0; i < DibBitsSize(copy.get()); ++i)
        blank = blank && bits[i] == 0;
    EXPECT_TRUE(blank) << "no pixel is copied";
}

TEST(DibCopy, SizedCopyKeepsFormatAndPalette)
{
    DibHolder source(MakePatternDib(9, 9, 8, false, 40));
    struct Case { int width, height; bool made; } cases[] = {
        {10, 5, true}, {1, 1, true}, {10, -5, true}, {0, 5, false}, {5, 0, false}, {-3, 5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
        DibHolder copy(DibCopy(source.get(), c.width, c.height));
        ASSERT_EQ(c.made, copy.get() != nullptr);
        if (!c.made)
            continue;
        EXPECT_EQ(c.width, DibWidth(copy.get()));
        EXPECT_EQ(c.height, DibInfoHeaderPtr(copy.get())->biHeight);
        EXPECT_EQ(40u, DibNumColors(copy.get()));
        RGBQUAD a = {}, b = {};
        DibGetColor(source.get(), 39, &a);
        DibGetColor(copy.get(), 39, &b);
        EXPECT_EQ(0, memcmp(&a, &b, sizeof a));
    }
}

TEST(DibCloneInfo, DescribesTheDib)
{
    DibHolder source(MakePatternDib(5, 3, 4, true, 9));
    BITMAPINFO* info = DibCloneInfo(source.get());
    ASSERT_TRUE(info);
    EXPECT_EQ(0, memcmp(info, DibInfoHeaderPtr(source.get()), sizeof(BITMAPINFOHEADER)));
    EXPECT_EQ(-3, info->bmiHeader.biHeight);
    EXPECT_EQ(9u, info->bmiHeader.biClrUsed);
    for (int i = 0; i < 9; ++i) {
        RGBQUAD color = {};
        DibGetColor(source.get(), i, &color);
        EXPECT_EQ(0, memcmp(&color, &info->bmiColors[i], sizeof color)) << "entry " << i;
    }
    EXPECT_EQ(DibInfoSize(source.get()), HeapSize(GetProcessHeap(), 0, info));
    HeapFree(GetProcessHeap(), 0, info);
}

TEST(DibPacked, RoundTripsInBothForms)
{
    LeakCheck leaks("packed round trips");
    struct Case { const char* name; HDIB dib; } cases[] = {
        {"1-bit", MakePatternDib(17, 5, 1)},
        {"4-bit top-down, 9 colours", MakePatternDib(7, 5, 4, true, 9)},
        {"8-bit", MakePatternDib(33, 9, 8)},
        {"16-bit plain", MakePatternDib(5, 5, 16)},
        {"24-bit top-down", MakePatternDib(11, 4, 24, true)},
        {"32-bit", MakePatternDib(3, 8, 32)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibHolder source(c.dib);
        ASSERT_TRUE(source.get());
        void* heap = DibCopyToPackedDib(source.get(), 0);
        ASSERT_TRUE(heap);
        EXPECT_EQ(DibTotalSize(source.get()), HeapSize(GetProcessHeap(), 0, heap));
        EXPECT_EQ(0, memcmp(static_cast<BYTE*>(heap) + DibInfoSize(source.get()), DibBitsPtr(source.get()),
                            DibBitsSize(source.get())));
        DibHolder back(DibCopyFromPackedDib(static_cast<BITMAPINFO*>(heap)));
        EXPECT_TRUE(SameDib(source.get(), back.get()));
        HeapFree(GetProcessHeap(), 0, heap);

        HGLOBAL global = DibCopyToPackedDib(source.get(), 1);
        ASSERT_TRUE(global);
        EXPECT_GE(GlobalSize(global), SIZE_T(DibTotalSize(source.get())));
        void* locked = GlobalLock(global);
        ASSERT_NE(locked, global) << "a movable block hands out a handle";
        DibHolder fromGlobal(DibCopyFromPackedDib(static_cast<BITMAPINFO*>(locked)));
        GlobalUnlock(global);
        EXPECT_TRUE(SameDib(source.get(), fromGlobal.get()));
        GlobalFree(global);
    }
}

TEST(DibPacked, BitfieldsBitsFollowTheMasks)
{
    BmpRecipe recipe;
    recipe.bitCount = 16;
    recipe.compression = BI_BITFIELDS;
    recipe.masks = {0xF800, 0x07E0, 0x001F};
    Bytes packed = MakePackedDib(recipe);
    DibHolder dib(DibCopyFromPackedDib(reinterpret_cast<const BITMAPINFO*>(packed.data())));
    ASSERT_TRUE(dib.get());
    EXPECT_EQ(0, memcmp(packed.data() + 52, DibBitsPtr(dib.get()), DibBitsSize(dib.get())));
}

TEST(DibPacked, HeaderVariants)
{
    LeakCheck leaks("packed header variants");
    std::vector<RGBQUAD> gray(16);
    for (int i = 0; i < 16; ++i)
        gray[i] = {BYTE(i * 17), BYTE(i * 17), BYTE(i * 17), 0};
    struct Case { const char* name; DWORD headerSize; WORD depth; DWORD compression; bool made; } cases[] = {
        {"12-byte core header", 12, 4, BI_RGB, true},
        {"40-byte header", 40, 4, BI_RGB, true},
        {"108-byte header", 108, 4, BI_RGB, true},
        {"124-byte header", 124, 4, BI_RGB, true},
        {"64-byte header", 64, 4, BI_RGB, false},
        {"16-byte header", 16, 4, BI_RGB, false},
        {"RLE4", 40, 4, BI_RLE4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpRecipe recipe;
        recipe.headerSize = c.headerSize;
        recipe.bitCount = c.depth;
        recipe.compression = c.compression;
        recipe.width = 9;
        recipe.colors = gray;
        Bytes packed = MakePackedDib(recipe);
        DibHolder dib(DibCopyFromPackedDib(reinterpret_cast<const BITMAPINFO*>(packed.data())));
        ASSERT_EQ(c.made, dib.get() != nullptr);
        if (!c.made)
            continue;
        EXPECT_EQ(40u, DibInfoHeaderSize(dib.get()));
        const size_t infoBytes = c.headerSize + 16 * (c.headerSize == 12 ? 3 : 4);
        EXPECT_EQ(0, memcmp(packed.data() + infoBytes, DibBitsPtr(dib.get()), DibBitsSize(dib.get())));
        RGBQUAD color = {};
        EXPECT_EQ(1, DibGetColor(dib.get(), 5, &color));
        EXPECT_EQ(85, color.rgbRed);
    }
}

TEST(DibPacked, UnreadableTailIsRefused)
{
    // The bits of a valid header run into a no-access page.
    BmpRecipe recipe;
    recipe.width = 64;
    recipe.height = 64;
    Bytes packed = MakePackedDib(recipe);
    BYTE* pages = static_cast<BYTE*>(VirtualAlloc(nullptr, 3 * 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(pages + 2 * 4096, 4096, PAGE_NOACCESS, &old);
    BYTE* start = pages + 2 * 4096 - 4096;
    memcpy(start, packed.data(), 4096);
    LeakCheck leaks("unreadable packed DIB");
    EXPECT_EQ(nullptr, DibCopyFromPackedDib(reinterpret_cast<const BITMAPINFO*>(start)));
    EXPECT_EQ(nullptr, DibCreateFromInfo(reinterpret_cast<const BITMAPINFO*>(pages + 2 * 4096 - 2)));
    VirtualFree(pages, 0, MEM_RELEASE);
}

TEST(DibFromBitmap, TakesTheSectionAndDeletesOthers)
{
    LeakCheck leaks("DibCreateFromBitmap");
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 6, 4, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(section);
    DibHolder dib(DibCreateFromBitmap(section));
    ASSERT_TRUE(dib.get());
    EXPECT_EQ(section, DibBitmapHandle(dib.get()));
    EXPECT_EQ(bits, DibBitsPtr(dib.get()));
    EXPECT_EQ(6, DibWidth(dib.get()));
    EXPECT_EQ(DibPixelPtr(dib.get(), 0, 3), bits) << "bottom-up: the last row comes first in memory";

    // Not a DIB section: refused, and still deleted.
    HBITMAP ddb = CreateBitmap(4, 4, 1, 1, nullptr);
    EXPECT_EQ(nullptr, DibCreateFromBitmap(ddb));
    EXPECT_EQ(0, GetObjectType(ddb));
    EXPECT_EQ(nullptr, DibCreateFromBitmap(nullptr));
}

TEST(DibDdb, DeviceBitmapsShowThePicture)
{
    LeakCheck leaks("device bitmaps");
    DibHolder dib(DibCreate(8, 6, 24, 0));
    DibSetPixel(dib.get(), 1, 0, 0x0000FF);   // blue at the top left
    DibSetPixel(dib.get(), 6, 5, 0xFF0000);   // red at the bottom right
    HBITMAP ddb = DibCopyToDdb(dib.get(), nullptr, nullptr);
    ASSERT_TRUE(ddb);
    HBITMAP copy = CopyBitmap(ddb);
    ASSERT_TRUE(copy);
    HBITMAP fromSection = CopyBitmap(DibBitmapHandle(dib.get()));
    ASSERT_TRUE(fromSection);
    HDC dc = CreateCompatibleDC(nullptr);
    for (HBITMAP bitmap : {ddb, copy, fromSection}) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 1, 0));
        EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 6, 5));
        EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 3, 3));
        SelectObject(dc, old);
    }
    DeleteDC(dc);
    DeleteObject(ddb);
    DeleteObject(copy);
    DeleteObject(fromSection);
    EXPECT_EQ(nullptr, CopyBitmap(nullptr));
    EXPECT_EQ(nullptr, DibCopyToDdb(nullptr, nullptr, nullptr));
}

TEST(DibDelete, NullGivesZeroAndDeletionIsCounted)
{
    EXPECT_EQ(0, DibDelete(nullptr));
    HDIB dib = DibCreate(3, 3, 8, 0);
    const LONG live = LorvexDibLiveCount();
    EXPECT_EQ(1, DibDelete(dib));
    EXPECT_EQ(live - 1, LorvexDibLiveCount());
}
