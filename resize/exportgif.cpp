// CDlgExportGif: the "GIF Export" dialog. The picture is shown in a preview
// frame that pans by dragging; an eyedropper previews the colour under the
// cursor in the swatch and commits a clicked pixel as the transparent colour.
#include <lorvexops/resize.h>

#include <cmath>

#include "resources/gif_ids.h"
#include "resources/module.h"
#include "win/guard.h"
#include "win/scoped.h"

namespace {

const WCHAR kFrameClass[] = L"DrawerFrame";
// IDC_ARROW and IDC_HAND are narrow resource names here (no UNICODE).
const LPCWSTR kArrowCursor = MAKEINTRESOURCEW(32512);
const LPCWSTR kHandCursor = MAKEINTRESOURCEW(32649);

// One preview frame at a time: its dialog, the cursor shown before a drag,
// whether the next move is the first after a press, and whether the frame
// already asked to be told when the cursor leaves.
CDlgExportGif* g_frameOwner = nullptr;
HCURSOR g_cursorBeforeDrag = nullptr;
BOOL g_firstMove = TRUE;
bool g_leaveRequested = false;

// The colour of picture pixel (x, y); false outside the picture.
bool ReadPixel(const Magick::Image* image, long long x, long long y, Magick::Color* colour)
{
    if (!image || x < 0 || y < 0 || x >= (long long)image->columns() || y >= (long long)image->rows())
        return false;
    const Magick::PixelPacket* pixel = image->getConstPixels(ssize_t(x), ssize_t(y), 1, 1);
    if (!pixel)
        return false;
    *colour = Magick::Color(pixel->red, pixel->green, pixel->blue);
    return true;
}

BYTE ToByte(Magick::Quantum quantum)
{
    using Magick::Quantum;   // QuantumRange is spelt with it
    const long value = std::lround(double(quantum) * 255.0 / QuantumRange);
    return BYTE(value < 0 ? 0 : value > 255 ? 255 : value);
}

RECT ChildRectInParent(HWND dialog, int id)
{
    RECT rect = {0, 0, 0, 0};
    HWND child = GetDlgItem(dialog, id);
    if (child && GetWindowRect(child, &rect))
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

}  // namespace

CDlgExportGif::CDlgExportGif(HWND parent)
    : CDlgGenericExport(IDD_EXPORT_GIF, parent), m_pDrawer(new CImageDrawer)
{
}

CDlgExportGif::CDlgExportGif(const CDlgExportGif& other)
    : CDlgGenericExport(other), m_pDrawer(new CImageDrawer)
{
    CopyFields(other);
}

CDlgExportGif& CDlgExportGif::operator=(const CDlgExportGif& other)
{
    if (this != &other) {
        CDlgGenericExport::operator=(other);
        CopyFields(other);
    }
    return *this;
}

CDlgExportGif::~CDlgExportGif()
{
    delete m_pDrawer;
    if (g_frameOwner == this)
        g_frameOwner = nullptr;
}

// Everything but the drawer, which each object keeps for itself.
void CDlgExportGif::CopyFields(const CDlgExportGif& other)
{
    m_committedColor = other.m_committedColor;
    m_shownColor = other.m_shownColor;
    m_rcSwatch = other.m_rcSwatch;
    m_bInterlaced = other.m_bInterlaced;
    m_bPreview = other.m_bPreview;
    m_bPicking = other.m_bPicking;
    m_hFrame = other.m_hFrame;
    m_nFrameWidth = other.m_nFrameWidth;
    m_nFrameHeight = other.m_nFrameHeight;
    m_nLastX = other.m_nLastX;
    m_nLastY = other.m_nLastY;
    m_nViewX = other.m_nViewX;
    m_nViewY = other.m_nViewY;
    m_imageData = other.m_imageData;
}

int CDlgExportGif::OnInitDialog()
{
    return lorvex::Guarded(1, [&] {
        CDlgGenericExport::OnInitDialog();
        HANDLE icon = LoadImageW(lorvex::ModuleInstance(), MAKEINTRESOURCEW(IDI_GIF_EYEDROPPER), IMAGE_ICON,
                                 16, 16, LR_SHARED);
        SendDlgItemMessageW(m_hWnd, IDB_GIF_EYEDROPPER, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));

        Magick::Image* image = m_pWorkingImage;
        if (image && image->matte()) {
            m_committedColor = m_shownColor = image->matteColor();
            CheckRadioButton(m_hWnd, IDR_GIF_NONE, IDR_GIF_SELECTED_COLOR, IDR_GIF_SELECTED_COLOR);
        } else {
            CheckRadioButton(m_hWnd, IDR_GIF_NONE, IDR_GIF_SELECTED_COLOR, IDR_GIF_NONE);
        }
        // Only a picture not yet interlaced is offered line interlace.
        const Magick::InterlaceType interlace = image ? image->interlaceType() : Magick::UndefinedInterlace;
        m_bInterlaced = interlace == Magick::UndefinedInterlace || interlace == Magick::NoInterlace;
        CheckDlgButton(m_hWnd, IDX_GIF_INTERLACED, m_bInterlaced ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(m_hWnd, IDX_GIF_PREVIEW, m_bPreview ? BST_CHECKED : BST_UNCHECKED);

        CreateCustomControl();
        m_rcSwatch = ChildRectInParent(m_hWnd, IDS_GIF_SWATCH);
        m_imageData.fZoom = 1.0f;
        m_imageData.ptOrigin = POINT{0, 0};
        m_imageData.sizeImage = SIZE{image ? LONG(image->columns()) : 0, image ? LONG(image->rows()) : 0};
        m_imageData.sizeView = SIZE{m_nFrameWidth, m_nFrameHeight};
        return 1;
    });
}

void CDlgExportGif::CreateCustomControl()
{
    lorvex::Guarded([&] {
        g_frameOwner = this;
        g_leaveRequested = false;
        WNDCLASSEXW frameClass = {};
        frameClass.cbSize = sizeof(frameClass);
        frameClass.lpfnWndProc = FrameProc;
        frameClass.hInstance = lorvex::ModuleInstance();
        frameClass.hCursor = LoadCursorW(nullptr, kArrowCursor);
        frameClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        frameClass.lpszClassName = kFrameClass;
        RegisterClassExW(&frameClass);   // a second registration fails; the first one serves

        const RECT area = ChildRectInParent(m_hWnd, IDS_GIF_PREVIEW_AREA);
        m_nFrameWidth = area.right - area.left;
        m_nFrameHeight = area.bottom - area.top;
        m_hFrame = CreateWindowExW(WS_EX_CLIENTEDGE, kFrameClass, kFrameClass, WS_CHILD | WS_VISIBLE, area.left,
                                   area.top, m_nFrameWidth, m_nFrameHeight, m_hWnd, nullptr,
                                   lorvex::ModuleInstance(), nullptr);
    });
}

int CDlgExportGif::DrawCustomControl()
{
    lorvex::Guarded([&] {
        if (!m_hFrame)
            return;
        lorvex::ScopedPaint paint(m_hFrame);
        if (paint.get() && m_pDrawer)
            m_pDrawer->DisplayDib(&m_imageData, paint.get(), m_nViewX, m_nViewY, m_nFrameWidth, m_nFrameHeight,
                                  m_pWorkingImage);
    });
    return 0;
}

void CDlgExportGif::ClickCustomCtrl(int x, int y)
{
    lorvex::Guarded([&] {
        Magick::Color colour;
        if (!m_bPicking || !ReadPixel(m_pWorkingImage, x, y, &colour))
            return;
        m_shownColor = colour;
        m_pWorkingImage->transparent(m_shownColor);
        m_pWorkingImage->matte(true);
        m_committedColor = m_shownColor;
        RepaintSwatch();
        if (m_bPreview)
            Invalidate();
    });
}

void CDlgExportGif::Invalidate()
{
    if (!m_hFrame)
        return;
    InvalidateRect(m_hFrame, nullptr, FALSE);
    UpdateWindow(m_hFrame);
}

// The swatch's etched frame is a child drawn over the dialog's fill, so it is
// repainted with it.
void CDlgExportGif::RepaintSwatch()
{
    if (m_hWnd)
        RedrawWindow(m_hWnd, &m_rcSwatch, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

int CDlgExportGif::OnPaint(HDC hdc)
{
    return lorvex::Guarded(0, [&] {
        const COLORREF colour = RGB(ToByte(m_shownColor.redQuantum()), ToByte(m_shownColor.greenQuantum()),
                                    ToByte(m_shownColor.blueQuantum()));
        lorvex::ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        if (brush)
            FillRect(hdc, &m_rcSwatch, brush.get());
        return 0;
    });
}

int CDlgExportGif::OnOK()
{
    return lorvex::Guarded(1, [&] {
        if (m_bInterlaced && m_pWorkingImage)
            m_pWorkingImage->interlaceType(Magick::LineInterlace);
        return 1;
    });
}

int CDlgExportGif::OnDlgButtonMessage(int id)
{
    return lorvex::Guarded(0, [&] {
        Magick::Image* image = m_pWorkingImage;
        switch (id) {
        case IDR_GIF_NONE:
            if (m_bPicking) {
                m_bPicking = FALSE;
                CheckDlgButton(m_hWnd, IDB_GIF_EYEDROPPER, BST_UNCHECKED);
            }
            if (image)
                image->matte(false);
            break;
        case IDR_GIF_SELECTED_COLOR:
            if (image) {
                image->matte(true);
                image->transparent(m_shownColor);
            }
            break;
        case IDX_GIF_INTERLACED:
            m_bInterlaced = IsChecked(m_hWnd, IDX_GIF_INTERLACED);
            return 0;
        case IDX_GIF_PREVIEW:
            m_bPreview = IsChecked(m_hWnd, IDX_GIF_PREVIEW);
            break;
        case IDB_GIF_EYEDROPPER:
            m_bPicking = IsChecked(m_hWnd, IDB_GIF_EYEDROPPER);
            if (m_bPicking)
                CheckRadioButton(m_hWnd, IDR_GIF_NONE, IDR_GIF_SELECTED_COLOR, IDR_GIF_SELECTED_COLOR);
            return 0;
        default:
            return 1;
        }
        if (m_bPreview)
            Invalidate();
        return 0;
    });
}

bool CDlgExportGif::OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (message) {
    case WM_PAINT:
        DrawCustomControl();
        return true;
    case WM_SETCURSOR:
        SetCursor(m_bPicking ? LoadCursorW(lorvex::ModuleInstance(), MAKEINTRESOURCEW(IDCUR_GIF_EYEDROPPER))
                             : LoadCursorW(nullptr, kHandCursor));
        return true;
    case WM_LBUTTONDOWN:
        g_firstMove = TRUE;
        if (!m_bPicking) {
            g_cursorBeforeDrag = SetCursor(LoadCursorW(lorvex::ModuleInstance(), MAKEINTRESOURCEW(IDCUR_GIF_DRAG)));
            SetCapture(m_hFrame);
        }
        return true;
    case WM_MOUSEMOVE: {
        if (!g_leaveRequested) {
            TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hFrame, 0};
            g_leaveRequested = TrackMouseEvent(&track) != FALSE;
        }
        const int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
        if (m_bPicking) {
            Magick::Color colour;
            if (ReadPixel(m_pWorkingImage, (long long)x + m_nViewX, (long long)y + m_nViewY, &colour)) {
                m_shownColor = colour;
                RepaintSwatch();
            }
        } else if (!(wParam & MK_LBUTTON)) {
            *result = 1;
        } else if (g_firstMove) {
            m_nLastX = x;
            m_nLastY = y;
            g_firstMove = FALSE;
        } else {
            const int dx = x - m_nLastX, dy = y - m_nLastY;
            m_nLastX = x;
            m_nLastY = y;
            m_nViewX -= dx;
            m_nViewY -= dy;
            ScrollWindow(m_hFrame, dx, dy, nullptr, nullptr);
        }
        return true;
    }
    case WM_LBUTTONUP:
        if (!m_bPicking && GetCapture() == m_hFrame) {
            ReleaseCapture();
            SetCursor(g_cursorBeforeDrag);
        }
        ClickCustomCtrl(LOWORD(lParam) + m_nViewX, HIWORD(lParam) + m_nViewY);
        return true;
    case WM_MOUSELEAVE:
        g_leaveRequested = false;
        m_shownColor = m_committedColor;
        RepaintSwatch();
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK CDlgExportGif::FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    return lorvex::Guarded<LRESULT>(0, [&]() -> LRESULT {
        LRESULT result = 0;
        CDlgExportGif* owner = g_frameOwner;
        if (owner && owner->m_hFrame == frame && owner->OnFrameMessage(message, wParam, lParam, &result))
            return result;
        return DefWindowProcW(frame, message, wParam, lParam);
    });
}
