// lorvex-host compression: the compression types the save dialog offers for
// each save type (or for the ImageMagick format names given), in list order,
// with the one selected first marked by '*'.
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <Magick++.h>
#include <memory>

namespace {

struct Entry {
    BOOL CCompressInfo::*flag;
    const char* text;
};

// The order of the save dialog's list.
const Entry kEntries[] = {
    {&CCompressInfo::bUncompressed, "Uncompressed"},
    {&CCompressInfo::bBZip, "BZip Compression"},
    {&CCompressInfo::bFax, "Fax Compression"},
    {&CCompressInfo::bGroup4, "Group4 Compression"},
    {&CCompressInfo::bJPEG, "JPEG Compression"},
    {&CCompressInfo::bLosslessJPEG, "Lossless JPEG Compression"},
    {&CCompressInfo::bLZW, "LZW Compression"},
    {&CCompressInfo::bRLE, "RLE Compression"},
    {&CCompressInfo::bZIP, "ZIP Compression"},
};

void PrintChoices(const char* label, Magick::Image* image, const WCHAR* format)
{
    CCompressInfo info;
    CImageFormatOptions().GetSupportedCompression(image, format, info);
    Out("  %-22s", label);
    // Lossless JPEG is preselected when offered, else the first entry.
    const char* selected = info.bLosslessJPEG ? "Lossless JPEG Compression" : nullptr;
    bool first = true;
    for (const Entry& entry : kEntries) {
        if (!(info.*entry.flag))
            continue;
        if (!selected)
            selected = entry.text;
        Out("%s%s%s", first ? "" : ", ", entry.text, entry.text == selected ? "*" : "");
        first = false;
    }
    Out("\n");
}

int Compression(const HostContext& context)
{
    if (!context.args.empty()) {
        for (const WCHAR* format : context.args)
            PrintChoices(Utf8(format).c_str(), nullptr, format);
        return 0;
    }
    Out("save type              compression list (* selected first)\n");
    for (int i = 0; szSaveFilter2[i]; ++i)
        PrintChoices(Utf8(szSaveFilter2[i]).c_str(), nullptr, szSaveFilter2[i]);
    return 0;
}

void CompressionDemo(const WCHAR*, const WCHAR*)
{
    // The save types' lists are shown by the filters demo.
    Heading("lorvex-host compression (a picture's colour count, other formats)");
    // RLE in BMP needs a colour map of at most 256 entries.
    try {
        Magick::Image palette(Magick::Geometry(4, 4), Magick::Color("white"));
        palette.colorMapSize(300);
        PrintChoices("BMP, 300 colours", &palette, L"BMP");
    } catch (const std::exception&) {
    }
    Out("other formats:\n");
    for (const WCHAR* format : {L"TIFF", L"MPC", L"EXIF"})
        PrintChoices(Utf8(format).c_str(), nullptr, format);
}

HostCommand compression("compression", "[FORMAT...]  compression choices per save type (or per ImageMagick format)",
                        Compression, CompressionDemo, 45);

}  // namespace
