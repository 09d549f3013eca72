// lorvexops public interface: resize.
#pragma once
#include <windows.h>

// ---- Compression choices per output format -------------------------------
#include "lorvexops/companions.h"

namespace Magick { class Image; }

// The compression types a format offers, as nine 32-bit truth values. A new
// record offers "Uncompressed" only, which is where every query starts from.
struct CCompressInfo {
    BOOL bBZip = FALSE;
    BOOL bFax = FALSE;
    BOOL bGroup4 = FALSE;
    BOOL bJPEG = FALSE;
    BOOL bLosslessJPEG = FALSE;
    BOOL bLZW = FALSE;
    BOOL bRLE = FALSE;
    BOOL bZIP = FALSE;
    BOOL bUncompressed = TRUE;
};

// Stateless: callers use a temporary instance.
class CImageFormatOptions {
public:
    // Raises the flags that format (an ImageMagick format name, compared
    // case-sensitively) offers; other flags stay as the caller set them. The
    // image (may be null) only matters for BMP, whose RLE needs a colour map of
    // at most 256 entries. A null name offers nothing more.
    void GetSupportedCompression(Magick::Image* image, const char* format, CCompressInfo& info);
    // The same with a wide name; a name that cannot be converted leaves info
    // untouched.
    void GetSupportedCompression(Magick::Image* image, const WCHAR* format, CCompressInfo& info);
    // After a save was chosen: the JPEG options dialog for a compressed JPEG
    // picture. Returns that dialog's end code, or 1 when the format has no
    // follow-up dialog (and for a null image).
    int ShowFilterDialog(Magick::Image* image, HWND parent);
};

// A dialog on any of the library's templates that works on one picture (not
// owned).
class CDlgGenericExport : public CDialog {
public:
    CDlgGenericExport(WORD templateId, HWND parent);
    virtual void SetWorkingImage(Magick::Image* image);

    Magick::Image* m_pWorkingImage = nullptr;
};

// The stand-alone "JPEG Save Options" dialog: 1 after "Ok" (the JPEG rows of
// gSO stored), 2 after Cancel.
class CDlgExportCompression : public CDlgGenericExport {
public:
    explicit CDlgExportCompression(HWND parent);
    INT_PTR DoModal() override;
};
// ---- end of compression choices ------------------------------------------
