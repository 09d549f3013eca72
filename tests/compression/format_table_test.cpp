// Which compression types each format offers, and how the list shows them.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <Magick++.h>
#include <string>
#include <vector>

namespace lorvex {
void FillCompressionList(HWND combo, const CCompressInfo& info);
}

namespace {

using Texts = std::vector<std::string>;

// A hidden drop-down list like the panel's.
class ComboFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
        m_combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 150, m_parent,
                                  nullptr, nullptr, nullptr);
        ASSERT_NE(m_combo, nullptr);
    }
    void TearDown() override { DestroyWindow(m_parent); }

    Texts Entries() const
    {
        Texts texts;
        int count = static_cast<int>(SendMessageW(m_combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            WCHAR text[64] = {};
            SendMessageW(m_combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            texts.push_back(lvtest::Utf8(text));
        }
        return texts;
    }
    std::string Selected() const
    {
        LRESULT index = SendMessageW(m_combo, CB_GETCURSEL, 0, 0);
        if (index < 0)
            return "(none)";
        WCHAR text[64] = {};
        SendMessageW(m_combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return lvtest::Utf8(text);
    }

    HWND m_parent = nullptr;
    HWND m_combo = nullptr;
};

std::string Join(const Texts& texts)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : " | ") + text;
    return joined;
}

struct Row {
    std::vector<const char*> names;
    Texts list;
    const char* selected;
};

const char* kUn = "Uncompressed";
const char* kBZip = "BZip Compression";
const char* kFax = "Fax Compression";
const char* kG4 = "Group4 Compression";
const char* kJpeg = "JPEG Compression";
const char* kLossless = "Lossless JPEG Compression";
const char* kLzw = "LZW Compression";
const char* kRle = "RLE Compression";
const char* kZip = "ZIP Compression";

const std::vector<Row> kRows = {
    {{"BMP", "BMP2", "BMP3", "DIB"}, {kUn, kRle}, kUn},
    {{"FPX", "PCT", "PICT"}, {kUn, kJpeg}, kUn},
    {{"GIF", "GIF87"}, {kUn, kLzw}, kUn},
    {{"HDF", "PCX", "PDB", "EPI", "EPS", "EPSF", "EPSI", "PS", "PSD", "RAS", "SUN", "WPG", "DCX"}, {kUn, kRle}, kUn},
    {{"8BIM", "8BIMTEXT", "8BIMWTEXT", "APP1", "APP1JPEG", "EXIF", "XMP", "ICM", "ICC", "IPTC", "IPTCTEXT",
      "IPTCWTEXT", "JP2", "JPC", "PGX", "RLE", "SGI"},
     {kJpeg}, kJpeg},
    {{"JPG", "JPEG"}, {kUn, kJpeg, kLossless}, kLossless},
    {{"MIFF"}, {kUn, kBZip, kRle, kZip}, kUn},
    {{"MPC"}, {kUn, kBZip, kFax, kG4, kJpeg, kLossless, kLzw, kRle, kZip}, kLossless},
    {{"PALM"}, {kUn, kFax, kRle}, kUn},
    {{"PDF"}, {kUn, kJpeg, kLzw, kRle, kZip}, kUn},
    {{"PNG", "MNG", "PNG8", "PNG24"}, {kUn, kJpeg, kZip}, kUn},
    {{"JNG", "PS2", "EPS2", "PS3", "EPS3"}, {kUn, kFax, kJpeg, kLzw, kRle, kZip}, kUn},
    {{"TIF", "TIFF", "PTIF"}, {kFax, kG4, kLzw, kRle, kZip}, kFax},
    // Names are compared exactly: lower case, near misses and unknown
    // formats offer nothing but "Uncompressed".
    {{"jpg", "Png", "TIFF ", "GIF8", "WEBP", ""}, {kUn}, kUn},
};

TEST_F(ComboFixture, EveryFormatRowGivesItsListAndSelection)
{
    for (const Row& row : kRows) {
        for (const char* name : row.names) {
            CCompressInfo info;
            CImageFormatOptions().GetSupportedCompression(nullptr, name, info);
            lorvex::FillCompressionList(m_combo, info);
            EXPECT_EQ(Join(row.list), Join(Entries())) << "format \"" << name << "\"";
            EXPECT_EQ(row.selected, Selected()) << "format \"" << name << "\"";
            EXPECT_EQ(row.list.size() != 1, IsWindowEnabled(m_combo) != FALSE) << "format \"" << name << "\"";
        }
    }
}

TEST_F(ComboFixture, WideNamesGiveTheSameListsAsNarrowOnes)
{
    for (const Row& row : kRows) {
        for (const char* name : row.names) {
            CCompressInfo info;
            lvtest::WString wide = lvtest::Wide(name);
            CImageFormatOptions().GetSupportedCompression(nullptr, wide.c_str(), info);
            lorvex::FillCompressionList(m_combo, info);
            EXPECT_EQ(Join(row.list), Join(Entries())) << "format L\"" << name << "\"";
        }
    }
}

TEST_F(ComboFixture, EntriesCarryTheMagickCompressionTypes)
{
    CCompressInfo info;
    CImageFormatOptions().GetSupportedCompression(nullptr, "MPC", info);
    lorvex::FillCompressionList(m_combo, info);
    const Magick::CompressionType expected[] = {
        Magick::NoCompression,  Magick::BZipCompression,         Magick::FaxCompression,
        Magick::Group4Compression, Magick::JPEGCompression,      Magick::LosslessJPEGCompression,
        Magick::LZWCompression, Magick::RLECompression,          Magick::ZipCompression};
    ASSERT_EQ(9, SendMessageW(m_combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(expected[i], SendMessageW(m_combo, CB_GETITEMDATA, i, 0)) << "entry " << i;
}

// A palette of n entries, as a decoded GIF or 8-bit BMP has.
Magick::Image PaletteImage(size_t colours)
{
    Magick::Image image(Magick::Geometry(4, 4), Magick::Color("white"));
    if (colours)
        image.colorMapSize(colours);
    return image;
}

TEST(CompressionTable, BmpOffersRleOnlyUpTo256Colours)
{
    struct Case {
        const char* label;
        bool nullImage;
        size_t colours;
        BOOL rle;
    };
    const Case cases[] = {
        {"null image", true, 0, TRUE},
        {"true colour (no colour map)", false, 0, TRUE},
        {"2 colours", false, 2, TRUE},
        {"256 colours", false, 256, TRUE},
        {"257 colours", false, 257, FALSE},
        {"300 colours", false, 300, FALSE},
    };
    for (const Case& c : cases) {
        Magick::Image image = PaletteImage(c.colours);
        for (const char* name : {"BMP", "BMP2", "BMP3", "DIB"}) {
            CCompressInfo info;
            info.bUncompressed = FALSE;
            CImageFormatOptions().GetSupportedCompression(c.nullImage ? nullptr : &image, name, info);
            EXPECT_EQ(c.rle, info.bRLE) << c.label << ", " << name;
            EXPECT_EQ(TRUE, info.bUncompressed) << c.label << ", " << name << ": BMP always offers it";
        }
    }
}

TEST(CompressionTable, RowsRaiseFlagsAndLeaveTheOthersAsTheCallerSetThem)
{
    // The caller's BZip survives a PNG query; GIF does not restore a cleared
    // "Uncompressed"; TIFF clears it even when the caller set it.
    CCompressInfo png;
    png.bBZip = TRUE;
    CImageFormatOptions().GetSupportedCompression(nullptr, "PNG", png);
    EXPECT_TRUE(png.bBZip && png.bJPEG && png.bZIP && png.bUncompressed);
    EXPECT_FALSE(png.bFax || png.bGroup4 || png.bLosslessJPEG || png.bLZW || png.bRLE);

    CCompressInfo gif;
    gif.bUncompressed = FALSE;
    CImageFormatOptions().GetSupportedCompression(nullptr, "GIF", gif);
    EXPECT_FALSE(gif.bUncompressed);
    EXPECT_TRUE(gif.bLZW);

    CCompressInfo tiff;
    tiff.bZIP = TRUE;
    CImageFormatOptions().GetSupportedCompression(nullptr, "TIF", tiff);
    EXPECT_FALSE(tiff.bUncompressed);
    EXPECT_FALSE(tiff.bBZip);
}

TEST(CompressionTable, NullOrUnconvertibleNamesLeaveTheRecordUntouched)
{
    CCompressInfo narrow;
    narrow.bUncompressed = FALSE;
    CImageFormatOptions().GetSupportedCompression(nullptr, static_cast<const char*>(nullptr), narrow);
    CCompressInfo wide;
    wide.bUncompressed = FALSE;
    CImageFormatOptions().GetSupportedCompression(nullptr, static_cast<const WCHAR*>(nullptr), wide);
    for (const CCompressInfo* info : {&narrow, &wide}) {
        EXPECT_FALSE(info->bBZip || info->bFax || info->bGroup4 || info->bJPEG || info->bLosslessJPEG ||
                     info->bLZW || info->bRLE || info->bZIP || info->bUncompressed);
    }
}

}  // namespace
