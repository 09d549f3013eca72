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
    // After a save was chosen: the GIF export dialog for a GIF picture, the
    // JPEG options dialog for a compressed JPEG one. Returns that dialog's end
    // code, or 1 when the format has no follow-up dialog (and for a null image).
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

// ---- GIF export with transparency -------------------------------------------
#include <Magick++.h>
#include "lorvexops/imagedrawer.h"

// The modal "GIF Export" dialog (template 110): a pannable preview of the
// working picture, no transparency or one transparent colour picked with an
// eyedropper, and "Save Image Interlaced". Transparency and matte are applied
// to the picture as the user picks (Cancel keeps them); line interlace on OK
// when checked. One such dialog at a time owns the preview frame.
class CDlgExportGif : public CDlgGenericExport {
public:
    explicit CDlgExportGif(HWND parent);
    // Member by member, except that the copy gets a drawer of its own.
    CDlgExportGif(const CDlgExportGif& other);
    CDlgExportGif& operator=(const CDlgExportGif& other);
    virtual ~CDlgExportGif();

    Magick::Image* GetImage() const { return m_pWorkingImage; }
    // Registers the "DrawerFrame" class (once) and places the preview frame
    // over the framed area; called by OnInitDialog.
    void CreateCustomControl();
    // Paints the preview frame (between BeginPaint and EndPaint); returns 0.
    int DrawCustomControl();
    // While picking: makes the colour of picture pixel (x, y) the transparent
    // colour and switches the matte channel on. A point outside the picture,
    // or a call while not picking, changes nothing.
    void ClickCustomCtrl(int x, int y);
    // Repaints the preview frame at once.
    void Invalidate();

    int OnInitDialog() override;
    int OnPaint(HDC hdc) override;
    int OnOK() override;
    // 1 for controls it does not handle, 0 otherwise.
    int OnDlgButtonMessage(int id) override;

    Magick::Color m_committedColor{0, 0, 0};   // last applied transparent colour
    Magick::Color m_shownColor{0, 0, 0};       // the swatch; follows the eyedropper
    RECT m_rcSwatch = {0, 0, 0, 0};            // dialog client coordinates
    BOOL m_bInterlaced = FALSE;
    BOOL m_bPreview = FALSE;                   // repaint the frame after each change
    BOOL m_bPicking = FALSE;
    HWND m_hFrame = nullptr;
    int m_nFrameWidth = 0;
    int m_nFrameHeight = 0;
    int m_nLastX = 0;                          // previous drag position
    int m_nLastY = 0;
    int m_nViewX = 0;                          // picture point at the frame's top-left
    int m_nViewY = 0;
    CImageDrawer* m_pDrawer = nullptr;         // owned
    IMAGEDATA m_imageData;

private:
    void CopyFields(const CDlgExportGif& other);
    void RepaintSwatch();
    bool OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
};
// ---- end of GIF export --------------------------------------------------------
