// Which compression types a format offers, and how the panel's list shows
// them: one sample format per kind of row, and the rules.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <Magick++.h>
#include <cstring>
#include <string>

namespace lorvex {
void FillCompressionList(HWND combo, const CCompressInfo& info);
}

TEST(CompressionList, SampleRowsNarrowAndWideWithTheirSelectionAndTypes)
{
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 150, parent, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(combo, nullptr);
    // "entry | entry -> selected", and "(disabled)" when it offers no choice.
    auto shown = [&] {
        int selected = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
        return lvtest::ComboEntries(combo) + " -> " + (selected < 0 ? "(none)" : lvtest::ComboEntries(combo, selected)) +
               (IsWindowEnabled(combo) ? "" : " (disabled)");
    };
    const std::pair<const char*, const char*> rows[] = {
        {"GIF", "Uncompressed | LZW Compression -> Uncompressed"},
        {"JPEG", "Uncompressed | JPEG Compression | Lossless JPEG Compression -> Lossless JPEG Compression"},
        {"TIF", "Fax Compression | Group4 Compression | LZW Compression | RLE Compression | ZIP Compression -> "
                "Fax Compression"},
        {"EXIF", "JPEG Compression -> JPEG Compression (disabled)"},
        {"MPC", "Uncompressed | BZip Compression | Fax Compression | Group4 Compression | JPEG Compression | "
                "Lossless JPEG Compression | LZW Compression | RLE Compression | ZIP Compression -> "
                "Lossless JPEG Compression"},
        // Names are compared exactly: lower case, near misses and unknown
        // formats offer nothing but "Uncompressed".
        {"jpg", "Uncompressed -> Uncompressed (disabled)"}, {"TIFF ", "Uncompressed -> Uncompressed (disabled)"},
        {"", "Uncompressed -> Uncompressed (disabled)"},
    };
    for (const auto& row : rows) {
        CCompressInfo narrow, wide;
        CImageFormatOptions().GetSupportedCompression(nullptr, row.first, narrow);
        lorvex::FillCompressionList(combo, narrow);
        EXPECT_EQ(row.second, shown()) << "format \"" << row.first << "\"";
        CImageFormatOptions().GetSupportedCompression(nullptr, lvtest::Wide(row.first).c_str(), wide);
        EXPECT_EQ(0, memcmp(&narrow, &wide, sizeof narrow)) << "format L\"" << row.first << "\"";
    }
    // The last full list (MPC's) carries the Magick types behind its texts.
    CCompressInfo all;
    CImageFormatOptions().GetSupportedCompression(nullptr, "MPC", all);
    lorvex::FillCompressionList(combo, all);
    const int types[] = {Magick::NoCompression, Magick::BZipCompression, Magick::FaxCompression,
        Magick::Group4Compression, Magick::JPEGCompression, Magick::LosslessJPEGCompression, Magick::LZWCompression,
        Magick::RLECompression, Magick::ZipCompression};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(types[i], SendMessageW(combo, CB_GETITEMDATA, i, 0)) << "entry " << i;
    DestroyWindow(parent);
}

TEST(CompressionTable, BmpOffersRleOnlyUpTo256Colours)
{
    // Colour-map size -> RLE offered (0: none; -1: no image at all).
    const std::pair<int, BOOL> cases[] = {{-1, TRUE}, {0, TRUE}, {256, TRUE}, {257, FALSE}};
    for (const auto& c : cases) {
        Magick::Image image(Magick::Geometry(4, 4), Magick::Color("white"));
        if (c.first > 0)
            image.colorMapSize(c.first);
        for (const char* name : {"BMP", "DIB"}) {
            CCompressInfo info;
            info.bUncompressed = FALSE;
            CImageFormatOptions().GetSupportedCompression(c.first < 0 ? nullptr : &image, name, info);
            EXPECT_EQ(c.second, info.bRLE) << c.first << " colours, " << name;
            EXPECT_EQ(TRUE, info.bUncompressed) << c.first << " colours, " << name << ": BMP always offers it";
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
    CCompressInfo untouched;
    untouched.bUncompressed = FALSE;
    EXPECT_EQ(0, memcmp(&untouched, &narrow, sizeof narrow));
    EXPECT_EQ(0, memcmp(&untouched, &wide, sizeof wide));
}
