// Which compression types each format offers, and how the list shows them.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <Magick++.h>
#include <cstring>
#include <string>
#include <vector>

namespace lorvex {
void FillCompressionList(HWND combo, const CCompressInfo& info);
}

namespace {

// A hidden drop-down list like the panel's.
class ComboFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        m_combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 150, m_parent,
                                  nullptr, nullptr, nullptr);
        ASSERT_NE(m_combo, nullptr);
    }
    void TearDown() override { DestroyWindow(m_parent); }

    // "entry | entry -> selected", and "(disabled)" when it offers no choice.
    std::string Shown() const
    {
        int selected = static_cast<int>(SendMessageW(m_combo, CB_GETCURSEL, 0, 0));
        return lvtest::ComboEntries(m_combo) + " -> " +
               (selected < 0 ? "(none)" : lvtest::ComboEntries(m_combo, selected)) +
               (IsWindowEnabled(m_combo) ? "" : " (disabled)");
    }

    HWND m_parent = nullptr;
    HWND m_combo = nullptr;
};

struct Row {
    std::vector<const char*> names;
    std::string shown;
};

const std::vector<Row> kRows = {
    {{"BMP", "BMP2", "BMP3", "DIB"}, "Uncompressed | RLE Compression -> Uncompressed"},
    {{"FPX", "PCT", "PICT"}, "Uncompressed | JPEG Compression -> Uncompressed"},
    {{"GIF", "GIF87"}, "Uncompressed | LZW Compression -> Uncompressed"},
    {{"HDF", "PCX", "PDB", "EPI", "EPS", "EPSF", "EPSI", "PS", "PSD", "RAS", "SUN", "WPG", "DCX"},
     "Uncompressed | RLE Compression -> Uncompressed"},
    {{"8BIM", "8BIMTEXT", "8BIMWTEXT", "APP1", "APP1JPEG", "EXIF", "XMP", "ICM", "ICC", "IPTC", "IPTCTEXT",
      "IPTCWTEXT", "JP2", "JPC", "PGX", "RLE", "SGI"},
     "JPEG Compression -> JPEG Compression (disabled)"},
    {{"JPG", "JPEG"}, "Uncompressed | JPEG Compression | Lossless JPEG Compression -> Lossless JPEG Compression"},
    {{"MIFF"}, "Uncompressed | BZip Compression | RLE Compression | ZIP Compression -> Uncompressed"},
    {{"MPC"},
     "Uncompressed | BZip Compression | Fax Compression | Group4 Compression | JPEG Compression | "
     "Lossless JPEG Compression | LZW Compression | RLE Compression | ZIP Compression -> Lossless JPEG Compression"},
    {{"PALM"}, "Uncompressed | Fax Compression | RLE Compression -> Uncompressed"},
    {{"PDF"}, "Uncompressed | JPEG Compression | LZW Compression | RLE Compression | ZIP Compression -> Uncompressed"},
    {{"PNG", "MNG", "PNG8", "PNG24"}, "Uncompressed | JPEG Compression | ZIP Compression -> Uncompressed"},
    {{"JNG", "PS2", "EPS2", "PS3", "EPS3"},
     "Uncompressed | Fax Compression | JPEG Compression | LZW Compression | RLE Compression | ZIP Compression -> "
     "Uncompressed"},
    {{"TIF", "TIFF", "PTIF"},
     "Fax Compression | Group4 Compression | LZW Compression | RLE Compression | ZIP Compression -> Fax Compression"},
    // Names are compared exactly: lower case, near misses and unknown
    // formats offer nothing but "Uncompressed".
    {{"jpg", "Png", "TIFF ", "GIF8", "WEBP", ""}, "Uncompressed -> Uncompressed (disabled)"},
};

TEST_F(ComboFixture, EveryFormatRowGivesItsListAndSelectionForNarrowAndWideNames)
{
    for (const Row& row : kRows)
        for (const char* name : row.names) {
            CCompressInfo narrow, wide;
            CImageFormatOptions().GetSupportedCompression(nullptr, name, narrow);
            lorvex::FillCompressionList(m_combo, narrow);
            EXPECT_EQ(row.shown, Shown()) << "format \"" << name << "\"";
            CImageFormatOptions().GetSupportedCompression(nullptr, lvtest::Wide(name).c_str(), wide);
            lorvex::FillCompressionList(m_combo, wide);
            EXPECT_EQ(row.shown, Shown()) << "format L\"" << name << "\"";
        }
}

TEST_F(ComboFixture, EntriesCarryTheMagickCompressionTypes)
{
    CCompressInfo info;
    CImageFormatOptions().GetSupportedCompression(nullptr, "MPC", info);
    lorvex::FillCompressionList(m_combo, info);
    const int expected[] = {Magick::NoCompression, Magick::BZipCompression, Magick::FaxCompression,
        Magick::Group4Compression, Magick::JPEGCompression, Magick::LosslessJPEGCompression, Magick::LZWCompression,
        Magick::RLECompression, Magick::ZipCompression};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(expected[i], SendMessageW(m_combo, CB_GETITEMDATA, i, 0)) << "entry " << i;
}

TEST(CompressionTable, BmpOffersRleOnlyUpTo256Colours)
{
    struct Case { const char* label; bool nullImage; size_t colours; BOOL rle; };
    const Case cases[] = {
        {"null image", true, 0, TRUE},
        {"no colour map", false, 0, TRUE},
        {"256 colours", false, 256, TRUE},
        {"257 colours", false, 257, FALSE},
        {"300 colours", false, 300, FALSE},
    };
    for (const Case& c : cases) {
        // A palette of n entries, as a decoded GIF or 8-bit BMP has.
        Magick::Image image(Magick::Geometry(4, 4), Magick::Color("white"));
        if (c.colours)
            image.colorMapSize(c.colours);
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
    // "Uncompressed"; TIFF clears it; a null name changes nothing.
    CCompressInfo png, gif, tiff, narrow, wide;
    png.bBZip = TRUE;
    gif.bUncompressed = narrow.bUncompressed = wide.bUncompressed = FALSE;
    CImageFormatOptions().GetSupportedCompression(nullptr, "PNG", png);
    CImageFormatOptions().GetSupportedCompression(nullptr, "GIF", gif);
    CImageFormatOptions().GetSupportedCompression(nullptr, "TIF", tiff);
    CImageFormatOptions().GetSupportedCompression(nullptr, static_cast<const char*>(nullptr), narrow);
    CImageFormatOptions().GetSupportedCompression(nullptr, static_cast<const WCHAR*>(nullptr), wide);
    EXPECT_TRUE(png.bBZip && png.bZIP && png.bUncompressed);
    EXPECT_TRUE(gif.bLZW && !gif.bUncompressed);
    EXPECT_TRUE(tiff.bFax && !tiff.bUncompressed);
    EXPECT_EQ(0, memcmp(&narrow, &wide, sizeof narrow));
    CCompressInfo untouched;
    untouched.bUncompressed = FALSE;
    EXPECT_EQ(0, memcmp(&untouched, &narrow, sizeof narrow));
}

}  // namespace
