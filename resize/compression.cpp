// Which compression types each output format offers, the list that shows them,
// and the follow-up dialog after a save.
#include "win/guard.h"
#include "resize/compression_internal.h"

#include <Magick++.h>
#include <shlwapi.h>
#include <cstring>
#include <memory>

#include "lorvexops/filetypes.h"
#include "resources/module.h"
#include "settings/saveoptions.h"

namespace {

enum Flag : unsigned {
    kBZip = 1u << 0,
    kFax = 1u << 1,
    kGroup4 = 1u << 2,
    kJPEG = 1u << 3,
    kLosslessJPEG = 1u << 4,
    kLZW = 1u << 5,
    kRLE = 1u << 6,
    kZIP = 1u << 7,
};

enum class Uncompressed { Keep, Set, Clear };

struct FormatRow {
    const char* const* names;   // null-terminated
    unsigned raised;
    Uncompressed uncompressed;
    bool rleNeedsPalette;       // BMP: RLE only up to 256 colours
};

const char* const kBmpNames[] = {"BMP", "BMP2", "BMP3", "DIB", nullptr};
const char* const kPictNames[] = {"FPX", "PCT", "PICT", nullptr};
const char* const kGifNames[] = {"GIF", "GIF87", nullptr};
const char* const kRleNames[] = {"HDF", "PCX", "PDB", "EPI", "EPS", "EPSF", "EPSI", "PS", "PSD",
                                 "RAS", "SUN", "WPG", "DCX", nullptr};
const char* const kJpegOnlyNames[] = {"8BIM", "8BIMTEXT", "8BIMWTEXT", "APP1", "APP1JPEG", "EXIF",
                                      "XMP", "ICM", "ICC", "IPTC", "IPTCTEXT", "IPTCWTEXT", "JP2",
                                      "JPC", "PGX", "RLE", "SGI", nullptr};
const char* const kJpegNames[] = {"JPG", "JPEG", nullptr};
const char* const kMiffNames[] = {"MIFF", nullptr};
const char* const kMpcNames[] = {"MPC", nullptr};
const char* const kPalmNames[] = {"PALM", nullptr};
const char* const kPdfNames[] = {"PDF", nullptr};
const char* const kPngNames[] = {"PNG", "MNG", "PNG8", "PNG24", nullptr};
const char* const kPostScriptNames[] = {"JNG", "PS2", "EPS2", "PS3", "EPS3", nullptr};
const char* const kTiffNames[] = {"TIF", "TIFF", "PTIF", nullptr};

// First matching row wins.
const FormatRow kFormats[] = {
    {kBmpNames, kRLE, Uncompressed::Set, true},
    {kPictNames, kJPEG, Uncompressed::Keep, false},
    {kGifNames, kLZW, Uncompressed::Keep, false},
    {kRleNames, kRLE, Uncompressed::Keep, false},
    {kJpegOnlyNames, kJPEG, Uncompressed::Clear, false},
    {kJpegNames, kJPEG | kLosslessJPEG, Uncompressed::Keep, false},
    {kMiffNames, kBZip | kRLE | kZIP, Uncompressed::Keep, false},
    {kMpcNames, kBZip | kFax | kGroup4 | kJPEG | kLosslessJPEG | kLZW | kRLE | kZIP, Uncompressed::Keep, false},
    {kPalmNames, kFax | kRLE, Uncompressed::Keep, false},
    {kPdfNames, kJPEG | kLZW | kRLE | kZIP, Uncompressed::Keep, false},
    {kPngNames, kJPEG | kZIP, Uncompressed::Keep, false},
    {kPostScriptNames, kFax | kJPEG | kLZW | kRLE | kZIP, Uncompressed::Keep, false},
    {kTiffNames, kFax | kGroup4 | kLZW | kRLE | kZIP, Uncompressed::Clear, false},
};

const FormatRow* FindFormat(const char* format)
{
    for (const FormatRow& row : kFormats)
        for (const char* const* name = row.names; *name; ++name)
            if (std::strcmp(*name, format) == 0)
                return &row;
    return nullptr;
}

size_t ColourCount(Magick::Image* image)
{
    if (!image)
        return 0;
    const MagickCore::Image* core = image->constImage();
    return core ? core->colors : 0;
}

// The list entries in the order they are shown.
struct ListEntry {
    BOOL CCompressInfo::*flag;
    const WCHAR* text;
    Magick::CompressionType value;
};

const ListEntry kEntries[] = {
    {&CCompressInfo::bUncompressed, L"Uncompressed", Magick::NoCompression},
    {&CCompressInfo::bBZip, L"BZip Compression", Magick::BZipCompression},
    {&CCompressInfo::bFax, L"Fax Compression", Magick::FaxCompression},
    {&CCompressInfo::bGroup4, L"Group4 Compression", Magick::Group4Compression},
    {&CCompressInfo::bJPEG, L"JPEG Compression", Magick::JPEGCompression},
    {&CCompressInfo::bLosslessJPEG, L"Lossless JPEG Compression", Magick::LosslessJPEGCompression},
    {&CCompressInfo::bLZW, L"LZW Compression", Magick::LZWCompression},
    {&CCompressInfo::bRLE, L"RLE Compression", Magick::RLECompression},
    {&CCompressInfo::bZIP, L"ZIP Compression", Magick::ZipCompression},
};

}  // namespace

void CImageFormatOptions::GetSupportedCompression(Magick::Image* image, const char* format,
                                                  CCompressInfo& info)
{
    lorvex::Guarded([&] {
        if (!format)
            return;
        const FormatRow* row = FindFormat(format);
        if (!row)
            return;
        unsigned raised = row->raised;
        if (row->rleNeedsPalette && ColourCount(image) >= 257)
            raised &= ~kRLE;
        if (raised & kBZip) info.bBZip = TRUE;
        if (raised & kFax) info.bFax = TRUE;
        if (raised & kGroup4) info.bGroup4 = TRUE;
        if (raised & kJPEG) info.bJPEG = TRUE;
        if (raised & kLosslessJPEG) info.bLosslessJPEG = TRUE;
        if (raised & kLZW) info.bLZW = TRUE;
        if (raised & kRLE) info.bRLE = TRUE;
        if (raised & kZIP) info.bZIP = TRUE;
        if (row->uncompressed == Uncompressed::Set)
            info.bUncompressed = TRUE;
        else if (row->uncompressed == Uncompressed::Clear)
            info.bUncompressed = FALSE;
    });
}

void CImageFormatOptions::GetSupportedCompression(Magick::Image* image, const WCHAR* format,
                                                  CCompressInfo& info)
{
    lorvex::Guarded([&] {
        std::unique_ptr<char[]> narrow(CStrAW::w_toA(format));
        if (narrow)
            GetSupportedCompression(image, narrow.get(), info);
    });
}

int CImageFormatOptions::ShowFilterDialog(Magick::Image* image, HWND parent)
{
    return lorvex::Guarded<int>(1, [&]() -> int {
        if (!image)
            return 1;
        const std::string format = image->magick();
        std::unique_ptr<CDlgGenericExport> dialog;
        if (format == "GIF")
            dialog.reset(new CDlgExportGif(parent));
        else if ((format == "JPG" || format == "JPEG") && image->compressType() != Magick::NoCompression)
            dialog.reset(new CDlgExportCompression(parent));
        if (!dialog)
            return 1;
        dialog->SetWorkingImage(image);
        return static_cast<int>(dialog->DoModal());
    });
}

CDlgGenericExport::CDlgGenericExport(WORD templateId, HWND parent) : CDialog(templateId, parent)
{
}

void CDlgGenericExport::SetWorkingImage(Magick::Image* image)
{
    m_pWorkingImage = image;
}

CDlgExportCompression::CDlgExportCompression(HWND parent) : CDlgGenericExport(1140, parent)
{
}

INT_PTR CDlgExportCompression::DoModal()
{
    return lorvex::RunJpegSaveOptions(m_hWndParent);
}

namespace lorvex {

void FillCompressionList(HWND combo, const CCompressInfo& info)
{
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    int lossless = -1;
    for (const ListEntry& entry : kEntries) {
        if (!(info.*entry.flag))
            continue;
        LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text));
        if (index < 0)
            continue;
        SendMessageW(combo, CB_SETITEMDATA, index, entry.value);
        if (entry.value == Magick::LosslessJPEGCompression)
            lossless = static_cast<int>(index);
    }
    SendMessageW(combo, CB_SETCURSEL, lossless >= 0 ? lossless : 0, 0);
    EnableWindow(combo, SendMessageW(combo, CB_GETCOUNT, 0, 0) != 1);
}

}  // namespace lorvex
