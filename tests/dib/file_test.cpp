// BMP files: failed saves, RLE streams, and the external BMP corpus.
#include "dibtest.h"

#include <Magick++.h>
#include <cstring>

using namespace dibtest;

TEST(DibFile, FailedSavesKeepExistingFiles)
{
    TempDir dir;
    WString path = dir.Write(L"keep.bmp", "precious", 8);
    BYTE junk[256] = {};
    EXPECT_EQ(0, DibFileSave(nullptr, path.c_str()) | DibFileSave(junk, path.c_str()));
    DibHolder dib(DibCreate(3, 3, 24, 0));
    EXPECT_EQ(0, DibFileSave(dib.get(), dir.File(L"no such folder\\x.bmp").c_str()));
    EXPECT_FALSE(lvtest::FileExists(dir.File(L"no such folder").c_str()));
    // A read-only target (writable all the same when run as root) leaves
    // nothing beside it.
    WString locked = dir.Write(L"locked.bmp", "old", 3);
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    DibFileSave(dib.get(), locked.c_str());
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::string bytes;
    EXPECT_TRUE(lvtest::ReadWholeFile(path.c_str(), &bytes) && bytes == "precious");
    EXPECT_EQ(std::vector<std::string>({"keep.bmp", "locked.bmp"}), lvtest::FileNames((dir.path() + L"\\*").c_str()));
}

// Hand-made RLE streams (bottom row first); the picture as hex indices, top
// row first, or null when the file is refused.
TEST(DibFile, RunLengthCodedBitsExpand)
{
    struct Case { const char* name; bool four; int width, height; Bytes stream; const char* rows; } cases[] = {
        {"runs, line end, picture end; the rest is 0", false, 4, 2, {3, 1, 0, 0, 2, 2, 1, 3, 0, 1}, "2230/1110"},
        {"a move right and up", false, 5, 3, {1, 1, 0, 2, 2, 1, 1, 2, 0, 1}, "00000/00020/10000"},
        {"a literal run padded to 16 bits", false, 5, 1, {0, 3, 4, 5, 6, 0, 2, 7, 0, 1}, "45677"},
        {"runs and literals past the edge are clipped", false, 3, 2, {5, 1, 0, 0, 0, 4, 2, 3, 4, 5, 0, 1}, "234/111"},
        {"a move past the top completes the picture", false, 3, 2, {1, 1, 0, 2, 5, 5, 1, 2}, "000/100"},
        {"a line end after the last row completes it", false, 2, 1, {2, 3, 0, 0}, "33"},
        {"a stream that ends early", false, 2, 2, {2, 3, 0, 0}, nullptr},
        {"4 bits: runs alternate, literals are nibbles", true, 5, 2, {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 1},
         "34567/12121"},
        {"4 bits: a run clipped at an odd width", true, 3, 1, {5, 0x9A, 0, 1}, "9A9"},
    };
    std::vector<RGBQUAD> colors(16);
    TempDir dir;
    LeakCheck leaks("RLE streams");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = MakeBmpFile({40, WORD(c.four ? 4 : 8), c.width, c.height, DWORD(c.four ? BI_RLE4 : BI_RLE8),
                                        {}, colors, 16, c.stream});
        DibHolder dib(DibFileLoad(dir.Write(L"coded.bmp", file.data(), file.size()).c_str()));
        ASSERT_EQ(c.rows != nullptr, dib.get() != nullptr);
        if (!dib)
            continue;
        EXPECT_EQ(BI_RGB, DibCompression(dib.get()));
        std::string rows;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x <= c.width; ++x)
                rows += x == c.width ? '/' : "0123456789ABCDEF"[DibGetPixel(dib.get(), x, y)];
        EXPECT_EQ(std::string(c.rows) + "/", rows);
    }
}

// The external BMP corpus, skipped where it is not found.
class DibCorpus : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (lvtest::TestDataDir().empty() || !lvtest::FileExists(CorpusFile("g", "pal8.bmp").c_str()))
            GTEST_SKIP() << "BMP corpus not found (LORVEX_TESTDATA_DIR)";
    }
};

TEST_F(DibCorpus, GoodFilesMatchTheirReferences)
{
    struct Reference {
        const char* file;
        const char* png;
        int tolerance;            // low bits lost by 16-bit channels
    } references[] = {
        {"pal1.bmp", "pal1.png"}, {"pal1wb.bmp", "pal1.png"}, {"pal1bg.bmp", "pal1bg.png"}, {"pal4.bmp", "pal4.png"},
        {"pal4gs.bmp", "pal4gs.png"}, {"pal4rle.bmp", "pal4.png"}, {"pal8.bmp", "pal8.png"}, {"pal8-0.bmp", "pal8.png"},
        {"pal8os2.bmp", "pal8.png"}, {"pal8rle.bmp", "pal8.png"}, {"pal8topdown.bmp", "pal8.png"},
        {"pal8v4.bmp", "pal8.png"}, {"pal8v5.bmp", "pal8.png"}, {"pal8gs.bmp", "pal8gs.png"},
        {"pal8w124.bmp", "pal8w124.png"}, {"pal8w125.bmp", "pal8w125.png"}, {"pal8w126.bmp", "pal8w126.png"},
        {"rgb16.bmp", "rgb16.png", 7}, {"rgb16bfdef.bmp", "rgb16.png", 7}, {"rgb16-565.bmp", "rgb16-565.png", 7},
        {"rgb16-565pal.bmp", "rgb16-565.png", 7}, {"rgb24.bmp", "rgb24.png"}, {"rgb24pal.bmp", "rgb24.png"},
        {"rgb32.bmp", "rgb24.png"}, {"rgb32bf.bmp", "rgb24.png"}, {"rgb32bfdef.bmp", "rgb24.png"},
    };
    LeakCheck leaks("good corpus");
    for (const Reference& ref : references) {
        SCOPED_TRACE(ref.file);
        DibHolder dib(DibFileLoad(CorpusFile("g", ref.file).c_str()));
        ASSERT_TRUE(dib.get());
        Magick::Image image(lvtest::UnixPath(CorpusFile("ref", ref.png).c_str()));
        const int width = DibWidth(dib.get()), height = DibHeight(dib.get());
        ASSERT_EQ(size_t(width), image.columns());
        ASSERT_EQ(size_t(height), image.rows());
        Bytes rgb(size_t(width) * height * 3);
        image.write(0, 0, width, height, "RGB", Magick::CharPixel, rgb.data());
        for (int i = 0; i < width * height; ++i) {
            RGBQUAD got = {};
            ASSERT_NE(0, DibGetPixelColor(dib.get(), i % width, i / width, &got)) << i;
            const BYTE* want = &rgb[3 * i];
            ASSERT_TRUE(abs(want[0] - got.rgbRed) <= ref.tolerance && abs(want[1] - got.rgbGreen) <= ref.tolerance &&
                        abs(want[2] - got.rgbBlue) <= ref.tolerance)
                << "pixel " << i % width << "," << i / width << ": want red " << int(want[0]) << " got "
                << int(got.rgbRed);
        }
    }
}

// The header kinds and colour tables the loader rewrites, each built by the
// published layouts from a good file whose picture it must show. The bits are
// found through the file's offset, past the table of 300 and a gap.
TEST_F(DibCorpus, VariantsShowTheirTwinsPicture)
{
    struct Variant { const char* name; const char* file; DWORD headerSize, clrUsed; const char* twin; } variants[] = {
        {"RLE8", "pal8rle.bmp", 40, 0, "pal8.bmp"}, {"RLE4", "pal4rle.bmp", 40, 0, "pal4.bmp"},
        {"OS/2 short header", "pal8.bmp", 16, 0, "pal8.bmp"}, {"OS/2 header", "pal8.bmp", 64, 0, "pal8.bmp"},
        {"OS/2 header, RLE4", "pal4rle.bmp", 64, 0, "pal4.bmp"},
        {"V2 header, masks unused", "pal8.bmp", 52, 0, "pal8.bmp"},
        {"V2 header, 5-6-5", "rgb16-565.bmp", 52, 0, "rgb16-565.bmp"}, {"V3 header", "rgb32bf.bmp", 56, 0, "rgb32bf.bmp"},
        {"colour table of 300", "pal8.bmp", 40, 300, "pal8.bmp"},
    };
    TempDir dir;
    LeakCheck leaks("header variants");
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        std::string source;
        ASSERT_TRUE(lvtest::ReadWholeFile(CorpusFile("g", v.file).c_str(), &source));
        // Source: file header, 40-byte header, masks when bit fields, table.
        const Bytes in(source.begin(), source.end());
        DWORD offBits, compression;
        memcpy(&offBits, &in[10], 4);
        memcpy(&compression, &in[30], 4);
        const size_t masks = compression == BI_BITFIELDS ? 12 : 0, depth = in[28];
        Bytes header(in.begin() + 14, in.begin() + 54 + masks), table(in.begin() + 54 + masks, in.begin() + offBits);
        header.resize(v.headerSize, 0xEE);   // OS/2 fields, masks unused, alpha mask
        Put32(header, 0, v.headerSize);
        if (v.headerSize == 56)
            Put32(header, 52, 0);
        // The short header implies a full table; the long table is followed
        // by a gap of three entries' length.
        if (v.headerSize == 16 || v.clrUsed)
            table.resize(4 * (v.clrUsed ? v.clrUsed + 3 : 1u << depth), 0x77);
        if (v.clrUsed)
            Put32(header, 32, v.clrUsed);
        Bytes file(in.begin(), in.begin() + 14);
        Put32(file, 10, DWORD(14 + header.size() + table.size()));
        for (const Bytes* part : {&header, &table})
            file.insert(file.end(), part->begin(), part->end());
        file.insert(file.end(), in.begin() + offBits, in.end());
        DibHolder twin(DibFileLoad(CorpusFile("g", v.twin).c_str()));
        DibHolder dib(DibFileLoad(dir.Write(L"variant.bmp", file.data(), file.size()).c_str()));
        ASSERT_TRUE(dib.get());
        EXPECT_TRUE(SamePicture(twin.get(), dib.get()));
        EXPECT_EQ(40u, DibInfoHeaderSize(dib.get()));
    }
}

TEST_F(DibCorpus, BadFilesAreRefusedOrSafe)
{
    struct Case { const char* file; bool loads; } cases[] = {
        {"badbitcount.bmp", false}, {"badbitssize.bmp", true}, {"baddens1.bmp", true}, {"baddens2.bmp", true},
        {"badfilesize.bmp", true}, {"badheadersize.bmp", false}, {"badpalettesize.bmp", false},
        {"badplanes.bmp", false}, {"badwidth.bmp", false},
        // Runs and moves past the edges, clipped.
        {"badrle.bmp", true}, {"badrle4.bmp", true}, {"badrle4bis.bmp", true}, {"badrle4ter.bmp", true},
        {"badrlebis.bmp", true}, {"badrleter.bmp", true},
        {"pal8badindex.bmp", true}, {"reallybig.bmp", false}, {"rgb16-880.bmp", false},
        {"rletopdown.bmp", false}, {"shortfile.bmp", false},
    };
    LeakCheck leaks("bad corpus");
    for (const Case& c : cases)
        EXPECT_EQ(c.loads, CheckLoad(CorpusFile("b", c.file), c.file)) << c.file;
}
