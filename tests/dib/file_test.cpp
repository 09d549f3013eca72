// BMP files: a gap before the bits, failed saves, and the external BMP corpus.
#include "dibtest.h"

#include <Magick++.h>
#include <cstring>

using namespace dibtest;

TEST(DibFile, GapBeforeTheBitsIsSkipped)
{
    TempDir dir;
    const BmpRecipe recipe = {40, 8, 5, 3, BI_RGB, {}, {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}}, 3, 37};
    Bytes file = MakeBmpFile(recipe);
    DibHolder dib(DibFileLoad(dir.Write(L"gap.bmp", file.data(), file.size()).c_str()));
    ASSERT_TRUE(dib.get());
    EXPECT_EQ(3u, DibNumColors(dib.get()));
    EXPECT_EQ(0, memcmp(&file[14 + 40 + 12 + 37], DibBitsPtr(dib.get()), DibBitsSize(dib.get())));
    RGBQUAD color = {};
    EXPECT_EQ(1, DibGetColor(dib.get(), 2, &color));
    EXPECT_TRUE(SameColor(recipe.colors[2], color));
    EXPECT_EQ(nullptr, DibFileLoad(dir.File(L"missing.bmp").c_str()));
    EXPECT_EQ(nullptr, DibFileLoad(nullptr));
}

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
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((dir.path() + L"\\*").c_str(), &found);
    int files = 0;
    do
        files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileW(find, &found));
    FindClose(find);
    EXPECT_EQ(2, files) << "only keep.bmp and locked.bmp";
}

TEST(DibCorpus, GoodFilesMatchTheirReferences)
{
    if (lvtest::TestDataDir().empty() || !lvtest::FileExists(CorpusFile("g", "pal1.bmp").c_str()))
        GTEST_SKIP() << "BMP corpus not found (LORVEX_TESTDATA_DIR)";
    struct Reference {
        const char* file;
        const char* png;          // null: refused (RLE)
        int tolerance;            // low bits lost by 16-bit channels
    } references[] = {
        {"pal1.bmp", "pal1.png"}, {"pal1wb.bmp", "pal1.png"}, {"pal1bg.bmp", "pal1bg.png"}, {"pal4.bmp", "pal4.png"},
        {"pal4gs.bmp", "pal4gs.png"}, {"pal4rle.bmp", nullptr}, {"pal8.bmp", "pal8.png"}, {"pal8-0.bmp", "pal8.png"},
        {"pal8os2.bmp", "pal8.png"}, {"pal8rle.bmp", nullptr}, {"pal8topdown.bmp", "pal8.png"},
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
        ASSERT_EQ(ref.png != nullptr, dib.get() != nullptr) << "a DIB section cannot hold RLE";
        if (!ref.png)
            continue;
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

TEST(DibCorpus, BadFilesAreRefusedOrSafe)
{
    if (lvtest::TestDataDir().empty() || !lvtest::FileExists(CorpusFile("b", "shortfile.bmp").c_str()))
        GTEST_SKIP() << "BMP corpus not found (LORVEX_TESTDATA_DIR)";
    struct Case { const char* file; bool loads; } cases[] = {
        {"badbitcount.bmp", false}, {"badbitssize.bmp", true}, {"baddens1.bmp", true}, {"baddens2.bmp", true},
        {"badfilesize.bmp", true}, {"badheadersize.bmp", false}, {"badpalettesize.bmp", false},
        {"badplanes.bmp", false}, {"badrle.bmp", false}, {"badrle4.bmp", false}, {"badrle4bis.bmp", false},
        {"badrle4ter.bmp", false}, {"badrlebis.bmp", false}, {"badrleter.bmp", false}, {"badwidth.bmp", false},
        {"pal8badindex.bmp", true}, {"reallybig.bmp", false}, {"rgb16-880.bmp", false},
        {"rletopdown.bmp", false}, {"shortfile.bmp", false},
    };
    LeakCheck leaks("bad corpus");
    for (const Case& c : cases)
        EXPECT_EQ(c.loads, CheckLoad(CorpusFile("b", c.file), c.file)) << c.file;
}
