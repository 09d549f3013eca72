// Creating, copying and converting DIBs.
#include "dibtest.h"

#include <cstring>

using namespace dibtest;

TEST(DibCreate, RefusesWhatNoPictureHasAndStartsBlack)
{
    LeakCheck leaks("DibCreate refusals");
    struct Case { int width, height, depth, colors; } cases[] = {
        {0, 10, 8, 0}, {-1, 10, 8, 0}, {10, -5, 8, 0}, {10, 10, 2, 0}, {10, 10, 0, 0}, {10, 10, 64, 0},
        {10, 10, 8, -1}, {10, 10, 8, 257}, {10, 10, 4, 17}, {0x7FFFFFFF, 0x7FFFFFFF, 24, 0}, {0x7FFFFFFF, 1, 32, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nullptr, DibCreate(c.width, c.height, c.depth, c.colors))
            << c.width << "x" << c.height << " depth " << c.depth << " colours " << c.colors;
    DibHolder full(DibCreate(10, 10, 8, 0));
    for (int i = 0; i < 256; ++i) {
        RGBQUAD color = {1, 1, 1, 1};
        EXPECT_TRUE(DibGetColor(full.get(), i, &color) && SameColor(RGBQUAD{}, color)) << "entry " << i;
    }
}

TEST(DibCopy, BlankCopiesKeepFormatAndPalette)
{
    LeakCheck leaks("blank copies");
    DibHolder source(MakePatternDib(30, 20, 8, true, 40));
    struct Case { int exchange, width, height, wantWidth, wantHeight; } cases[] = {
        {1, 0, 0, 20, 30}, {0, 10, 5, 10, 5}, {0, 10, -5, 10, -5}, {0, 0, 5, 0, 0}, {0, -3, 5, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.exchange ? "exchanged" : "") << c.width << "x" << c.height);
        DibHolder copy(c.exchange ? DibCopy(source.get(), 1) : DibCopy(source.get(), c.width, c.height));
        ASSERT_EQ(c.wantWidth != 0, copy.get() != nullptr);
        if (!copy)
            continue;
        EXPECT_EQ(c.wantWidth, DibWidth(copy.get()));
        EXPECT_EQ(c.wantHeight, DibInfoHeaderPtr(copy.get())->biHeight);
        EXPECT_EQ(8, DibBitCount(copy.get()));
        EXPECT_TRUE(SamePalette(source.get(), copy.get()));
        EXPECT_EQ(Bytes(DibBitsSize(copy.get()), 0), PixelBytes(copy.get())) << "no pixel is copied";
    }
}

// Every format, in both row orders, through DibCopy, packed DIBs in heap and
// global memory, the info block alone and a BMP file under a Unicode name.
TEST(DibTransfer, EveryFormatRoundTrips)
{
    TempDir dir;
    LeakCheck leaks("round trips");
    const WCHAR* names[] = {L"\x0444\x043e\x0442\x043e.bmp", L"\x5199\x771f.bmp", L"pic\xD83C\xDF9E.bmp"};
    const std::vector<HDIB> sources = EveryFormat(5, 5);
    for (size_t n = 0; n < sources.size(); ++n) {
        DibHolder source(sources[n]);
        const DWORD infoSize = DibInfoSize(source.get()), totalSize = DibTotalSize(source.get());
        SCOPED_TRACE(::testing::Message() << DibBitCount(source.get()) << " bits, biHeight "
                                          << DibInfoHeaderPtr(source.get())->biHeight);
        DibHolder copy(DibCopy(source.get(), 0));
        EXPECT_TRUE(SameDib(source.get(), copy.get()));
        EXPECT_NE(DibBitsPtr(source.get()), DibBitsPtr(copy.get()));

        BYTE* heap = static_cast<BYTE*>(DibCopyToPackedDib(source.get(), 0));
        ASSERT_TRUE(heap);
        EXPECT_EQ(totalSize, HeapSize(GetProcessHeap(), 0, heap));
        DibHolder back(DibCopyFromPackedDib(reinterpret_cast<BITMAPINFO*>(heap)));
        EXPECT_TRUE(SameDib(source.get(), back.get()));
        BITMAPINFO* info = DibCloneInfo(source.get());
        EXPECT_EQ(infoSize, HeapSize(GetProcessHeap(), 0, info));
        EXPECT_EQ(0, memcmp(info, heap, infoSize));
        HeapFree(GetProcessHeap(), 0, info);

        HGLOBAL global = DibCopyToPackedDib(source.get(), 1);
        EXPECT_GE(GlobalSize(global), SIZE_T(totalSize));
        void* locked = GlobalLock(global);
        ASSERT_NE(locked, global) << "a movable block hands out a handle";
        DibHolder fromGlobal(DibCopyFromPackedDib(static_cast<BITMAPINFO*>(locked)));
        GlobalUnlock(global);
        EXPECT_TRUE(SameDib(source.get(), fromGlobal.get()));
        GlobalFree(global);

        // A file is the 14-byte file header, then the packed DIB.
        const WString path = dir.File(names[n % 3]);
        ASSERT_EQ(1, DibFileSave(source.get(), path.c_str())) << lvtest::Utf8(names[n % 3]);
        std::string file;
        ASSERT_TRUE(lvtest::ReadWholeFile(path.c_str(), &file));
        const DWORD fields[] = {14 + totalSize, 0, 14 + infoSize};   // size, reserved, offset of the bits
        ASSERT_EQ(size_t(14 + totalSize), file.size());
        EXPECT_TRUE(file[0] == 'B' && file[1] == 'M' && !memcmp(&file[2], fields, 12));
        EXPECT_EQ(0, memcmp(&file[14], heap, totalSize));
        HeapFree(GetProcessHeap(), 0, heap);
        DibHolder loaded(DibFileLoad(path.c_str()));
        EXPECT_TRUE(SameDib(source.get(), loaded.get()));
    }
}

// Header kinds and compressions, as a packed DIB and inside a BMP file. The
// OS/2 2.x and masks-inside kinds are read from files only.
TEST(DibHeaders, SizesMasksAndCompressions)
{
    std::vector<RGBQUAD> gray(16);
    for (int i = 0; i < 16; ++i)
        gray[i] = {BYTE(i * 17), BYTE(i * 17), BYTE(i * 17), 0};
    const std::vector<DWORD> plain, m565 = {0xF800, 0x07E0, 0x1F};
    enum Made { Neither, FileOnly, Both };
    struct Case { DWORD headerSize; WORD depth; DWORD compression; std::vector<DWORD> masks; Made made; } cases[] = {
        {12, 4, BI_RGB, plain, Both}, {12, 16, BI_RGB, plain, Neither}, {40, 16, BI_BITFIELDS, m565, Both},
        {108, 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x1F, 0}, Both}, {124, 4, BI_RGB, plain, Both},
        {64, 4, BI_RGB, plain, FileOnly}, {16, 4, BI_RGB, plain, FileOnly}, {52, 16, BI_BITFIELDS, m565, FileOnly},
        {56, 32, BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, FileOnly}, {64, 16, 3, m565, Neither},
        {40, 4, BI_RLE8, plain, Neither}, {24, 4, BI_RGB, plain, Neither},
        {40, 24, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}, Neither},
    };
    TempDir dir;
    LeakCheck leaks("header variants");
    for (const Case& c : cases) {
        const BmpRecipe recipe = {c.headerSize, c.depth, 9, 3, c.compression, c.masks,
                                  c.depth <= 8 ? gray : std::vector<RGBQUAD>()};
        size_t infoBytes = 0;
        const Bytes packed = MakePackedDib(recipe, &infoBytes), file = MakeBmpFile(recipe);
        const WString path = dir.Write(L"header.bmp", file.data(), file.size());
        for (bool fromFile : {false, true}) {
            SCOPED_TRACE(::testing::Message() << c.headerSize << "-byte header, " << c.depth << " bits, compression "
                                              << c.compression << (fromFile ? ", in a file" : ", packed"));
            DibHolder dib(fromFile ? DibFileLoad(path.c_str()) : DibCopyFromPackedDib(AsInfo(packed)));
            const bool made = c.made == Both || (fromFile && c.made == FileOnly);
            ASSERT_EQ(made, dib.get() != nullptr);
            if (!made)
                continue;
            EXPECT_EQ(40u, DibInfoHeaderSize(dib.get()));
            EXPECT_EQ(0, memcmp(packed.data() + infoBytes, DibBitsPtr(dib.get()), DibBitsSize(dib.get())));
            RGBQUAD color = {};
            EXPECT_EQ(c.depth <= 8 ? 1 : 0, DibGetColor(dib.get(), 5, &color));
            EXPECT_EQ(c.depth <= 8 ? 85 : 0, color.rgbRed);
            for (size_t i = 0; i < 3 && !c.masks.empty(); ++i)
                EXPECT_EQ(c.masks[i], DibMask(dib.get(), int(i))) << "channel " << i;
        }
    }
}

TEST(DibPacked, UnreadableTailIsRefused)
{
    const Bytes packed = MakePackedDib({40, 24, 64, 64});   // bits run into a no-access page
    GuardedRegion region(4096);
    LeakCheck leaks("unreadable packed DIB");
    EXPECT_EQ(nullptr, DibCopyFromPackedDib(region.Place(packed.data(), 4096)));
    EXPECT_EQ(nullptr, DibCreateFromInfo(region.Place(packed.data(), 2)));
}

// Row order of a section made elsewhere, at every depth.
TEST(DibFromBitmap, TakesTheSectionAndDeletesOthers)
{
    LeakCheck leaks("DibCreateFromBitmap");
    struct Case { int depth, height; } cases[] = {{24, 4}, {24, -4}, {1, -3}, {4, 3}, {8, -2}, {16, -5}, {32, -3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.depth << " bits, biHeight " << c.height);
        struct { BITMAPINFOHEADER header; RGBQUAD colors[256]; } info = {};
        info.header = {sizeof(BITMAPINFOHEADER), 6, c.height, 1, WORD(c.depth), BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                           nullptr, 0);
        const int rows = abs(c.height), rowLength = (6 * c.depth + 31) / 32 * 4;
        for (int i = 0; i < rows * rowLength; ++i)
            static_cast<BYTE*>(bits)[i] = BYTE(i * 37 + 11);
        const Bytes before(static_cast<BYTE*>(bits), static_cast<BYTE*>(bits) + rows * rowLength);
        DibHolder dib(DibCreateFromBitmap(section));
        ASSERT_TRUE(dib.get());
        EXPECT_EQ(section, DibBitmapHandle(dib.get()));
        EXPECT_EQ(DibPixelPtr(dib.get(), 0, c.height < 0 ? 0 : rows - 1), bits) << "the first row in memory";
        EXPECT_EQ(c.height < 0 ? -rows : rows, DibInfoHeaderPtr(dib.get())->biHeight);
        EXPECT_EQ(before, PixelBytes(dib.get())) << "the probe leaves no trace";
    }
    HBITMAP ddb = CreateBitmap(4, 4, 1, 1, nullptr);
    EXPECT_EQ(nullptr, DibCreateFromBitmap(ddb));
    EXPECT_EQ(0, GetObjectType(ddb)) << "not a DIB section: refused, and still deleted";
    EXPECT_EQ(nullptr, DibCreateFromBitmap(nullptr));
}

TEST(DibDdb, DeviceBitmapsShowThePicture)
{
    LeakCheck leaks("device bitmaps");
    DibHolder dib(DibCreate(8, 6, 24, 0));
    DibSetPixel(dib.get(), 1, 0, 0x0000FF);   // blue at the top left
    DibSetPixel(dib.get(), 6, 5, 0xFF0000);   // red at the bottom right
    HBITMAP ddb = DibCopyToDdb(dib.get(), nullptr, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    for (HBITMAP bitmap : {ddb, CopyBitmap(ddb), CopyBitmap(DibBitmapHandle(dib.get()))}) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 1, 0)) << bitmap;
        EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 6, 5)) << bitmap;
        EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 3, 3)) << bitmap;
        DeleteObject(SelectObject(dc, old));
    }
    DeleteDC(dc);
    EXPECT_EQ(nullptr, CopyBitmap(nullptr));
    EXPECT_EQ(nullptr, DibCopyToDdb(nullptr, nullptr, nullptr));
}
