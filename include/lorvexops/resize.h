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

// "Do not show filter dialog" as the user last set it in the save dialog's
// panel (exported data, for the life of the process). A host consults it
// after DibFileSaveDlg and calls ShowFilterDialog only while it is zero.
extern "C" BOOL gbNoFilterDialog;

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

// ---- Resize Image and Batch Resize ---------------------------------------
// The modal "Resize Image" dialog (template 491): asks for the new pixel size
// of one picture, in pixels or percent of its size, and a resampling filter.
// Sides are clamped to 32768 pixels; an estimate of the uncompressed pixel
// memory follows every change. The host resamples; after OK it reads the
// chosen size and filter back with GetImageProp.
//
// The filter list offers, in order, Point, Box, Triangle, Hermite, Hanning,
// Hamming, Blackman, Gaussian, Quadratic, Cubic, Catrom, Mitchell, Lanczos,
// Bessel, Sinc. Each entry's item data is the linked Magick++'s FilterTypes
// enumerator of that name (Bessel is JincFilter there), not a fixed number;
// LanczosFilter is the default.
class CDlgResize : public CDialog {
public:
    struct IMAGEPROP {
        UINT width;     // pixels
        UINT height;    // pixels
        int filter;     // a Magick::FilterTypes value
    };
    enum PP_CONVERT { PP_WIDTH = 0, PP_HEIGHT = 1 };   // any non-zero axis is the height

    // On any template, with no picture: source 0 x 0, filter 0, no proportions.
    CDlgResize(WORD templateId, HWND parent);
    // Template 491 for a picture of image.width x image.height.
    CDlgResize(HWND parent, IMAGEPROP image);
    CDlgResize(const CDlgResize&) = default;
    CDlgResize& operator=(const CDlgResize&) = default;

    // The source size while the dialog runs (and after Cancel); after OK the
    // chosen pixel size and filter.
    IMAGEPROP GetImageProp() const;
    // The axis's current value taken as percent of the source side, in pixels.
    UINT Percent2Pixel(PP_CONVERT axis) const;
    // The axis's current value taken as pixels, in percent of the source side
    // (unchanged when the source side is 0).
    UINT Pixel2Percent(PP_CONVERT axis) const;
    // Back to pixels, no values, no handles, no proportions; the image
    // property stays.
    void Initialize();

    int OnInitDialog() override;
    void OnDestroy() override;
    int OnCommand(int id, int code) override;
    int OnOK() override;
    int OnDlgButtonMessage(int id) override;

protected:
    // The edit's value is being written by the dialog itself: its change
    // notification is an echo and is not acted on.
    static const UINT kWriting = 0xFFFFFFFFu;

    UINT& Current(PP_CONVERT axis) { return axis == PP_WIDTH ? m_dwWidth : m_dwHeight; }
    UINT Source(PP_CONVERT axis) const { return axis == PP_WIDTH ? m_imageProp.width : m_imageProp.height; }
    BOOL& InPixels(PP_CONVERT axis) { return axis == PP_WIDTH ? m_bWidthPixels : m_bHeightPixels; }
    void SideChanged(PP_CONVERT axis);
    void UnitChosen(PP_CONVERT axis, bool pixels);
    void UpdateEstimate();

    HWND m_hFilterCombo;
    IMAGEPROP m_imageProp;
    UINT m_dwWidth;          // in the width's unit; kWriting while the dialog writes it
    UINT m_dwHeight;
    BOOL m_bWidthPixels;     // 1 pixels, 0 percent
    BOOL m_bHeightPixels;
    HFONT m_hBoldFont;       // made by OnInitDialog, deleted by OnDestroy
    float m_fAspectRatio;    // source width / height; 0 = proportions not kept
};

// The modal "Batch Resize" dialog (template 500) and the fitting of pictures
// to its bounding box: small pictures enlarged up to it, large ones shrunk
// down to it, with or without their proportions. One object serves a series
// of pictures and may be shown again to change its options; the width and
// height values of CDlgResize hold the bounds in pixels.
class CDlgBatchResize : public CDlgResize {
public:
    static const float SAMERESIZE;   // the factor that leaves a size unchanged

    explicit CDlgBatchResize(HWND parent);
    CDlgBatchResize(const CDlgBatchResize&) = default;
    CDlgBatchResize& operator=(const CDlgBatchResize&) = default;

    // Sets the chosen filter and zooms the picture in place to the box
    // (enlarge first, then shrink). A zoom Magick++ refuses leaves the
    // picture as it was. Null is ignored.
    void BatchResizing(Magick::Image* image);
    // Rewrites *size (cx, cy read as unsigned) as the fitted size; null is
    // ignored.
    void BatchResizing(SIZE* size);

    int OnInitDialog() override;
    int OnCommand(int id, int code) override;
    int OnOK() override;
    int OnDlgButtonMessage(int id) override;

private:
    friend class CDlgMail;   // fits each picture it sends with the SIZE forms

    // 1 when the picture must be resized to the target, 0 when the step does
    // not apply (the outputs are then untouched).
    int Enlarge2Bound(Magick::Image* image, float& width, float& height);
    int Shrink2Bound(Magick::Image* image, float& width, float& height);
    int Enlarge2Bound(SIZE* size);
    int Shrink2Bound(SIZE* size);
    // OK only when a bound direction is chosen and both bounds are typed.
    void SetOK();

protected:
    bool m_bEnlarge;     // "Enlarge small images to bound"
    bool m_bShrink;      // "Shrink large images to bound"
    bool m_bConstrain;   // "Constrain Proportions"
};
// ---- end of resize ---------------------------------------------------------

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
