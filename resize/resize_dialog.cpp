// CDlgResize: the "Resize Image" dialog. Each side is typed in pixels or in
// percent of the picture's side; with proportions kept, typing one side
// rewrites the other, and every accepted change updates the memory estimate.
#include "lorvexops/resize.h"

#include <Magick++.h>

#include "resize/resize_internal.h"
#include "resources/resize_ids.h"
#include "win/guard.h"

namespace {

using lorvex::Guarded;

struct FilterEntry {
    const WCHAR* name;
    Magick::FilterTypes value;
};

const FilterEntry kFilters[] = {
    {L"Point", Magick::PointFilter},       {L"Box", Magick::BoxFilter},
    {L"Triangle", Magick::TriangleFilter}, {L"Hermite", Magick::HermiteFilter},
    {L"Hanning", Magick::HanningFilter},   {L"Hamming", Magick::HammingFilter},
    {L"Blackman", Magick::BlackmanFilter}, {L"Gaussian", Magick::GaussianFilter},
    {L"Quadratic", Magick::QuadraticFilter}, {L"Cubic", Magick::CubicFilter},
    {L"Catrom", Magick::CatromFilter},     {L"Mitchell", Magick::MitchellFilter},
    {L"Lanczos", Magick::LanczosFilter},   {L"Bessel", Magick::BesselFilter},
    {L"Sinc", Magick::SincFilter},
};

int EditOf(CDlgResize::PP_CONVERT axis)
{
    return axis == CDlgResize::PP_WIDTH ? IDE_RESIZE_WIDTH : IDE_RESIZE_HEIGHT;
}

CDlgResize::PP_CONVERT OtherAxis(CDlgResize::PP_CONVERT axis)
{
    return axis == CDlgResize::PP_WIDTH ? CDlgResize::PP_HEIGHT : CDlgResize::PP_WIDTH;
}

// A picture without height keeps no proportions rather than an infinite ratio.
float AspectRatio(const CDlgResize::IMAGEPROP& image)
{
    return image.height ? static_cast<float>(static_cast<double>(image.width) / image.height) : 0.0f;
}

}  // namespace

CDlgResize::CDlgResize(WORD templateId, HWND parent) : CDialog(templateId, parent), m_imageProp{0, 0, 0}
{
    Initialize();
}

CDlgResize::CDlgResize(HWND parent, IMAGEPROP image) : CDialog(IDD_RESIZE_IMAGE, parent), m_imageProp(image)
{
    Initialize();
    m_dwWidth = image.width;
    m_dwHeight = image.height;
    m_fAspectRatio = AspectRatio(image);
}

CDlgResize::IMAGEPROP CDlgResize::GetImageProp() const
{
    return m_imageProp;
}

UINT CDlgResize::Percent2Pixel(PP_CONVERT axis) const
{
    return axis == PP_WIDTH ? lorvex::PercentToPixels(m_dwWidth, m_imageProp.width)
                            : lorvex::PercentToPixels(m_dwHeight, m_imageProp.height);
}

UINT CDlgResize::Pixel2Percent(PP_CONVERT axis) const
{
    return axis == PP_WIDTH ? lorvex::PixelsToPercent(m_dwWidth, m_imageProp.width)
                            : lorvex::PixelsToPercent(m_dwHeight, m_imageProp.height);
}

void CDlgResize::Initialize()
{
    m_hFilterCombo = nullptr;
    m_dwWidth = 0;
    m_dwHeight = 0;
    m_bWidthPixels = TRUE;
    m_bHeightPixels = TRUE;
    m_hBoldFont = nullptr;
    m_fAspectRatio = 0.0f;
}

int CDlgResize::OnInitDialog()
{
    return Guarded(1, [&] {
        CDialog::OnInitDialog();
        m_hFilterCombo = GetDlgItem(m_hWnd, IDC_RESIZE_FILTER);
        // Pixels on a new object; the radios follow the units so that a
        // reopened dialog cannot show one unit and compute in the other.
        CheckRadioButton(m_hWnd, IDR_RESIZE_HEIGHT_PIXELS, IDR_RESIZE_HEIGHT_PERCENT,
                         m_bHeightPixels ? IDR_RESIZE_HEIGHT_PIXELS : IDR_RESIZE_HEIGHT_PERCENT);
        CheckRadioButton(m_hWnd, IDR_RESIZE_WIDTH_PIXELS, IDR_RESIZE_WIDTH_PERCENT,
                         m_bWidthPixels ? IDR_RESIZE_WIDTH_PIXELS : IDR_RESIZE_WIDTH_PERCENT);
        CheckDlgButton(m_hWnd, IDX_RESIZE_CONSTRAIN, BST_CHECKED);

        HFONT font = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        LOGFONTW bold = {};
        if (font && GetObjectW(font, sizeof bold, &bold)) {
            bold.lfWeight = FW_BOLD;
            m_hBoldFont = CreateFontIndirectW(&bold);
            SendDlgItemMessageW(m_hWnd, IDT_RESIZE_FILTER, WM_SETFONT, reinterpret_cast<WPARAM>(m_hBoldFont), TRUE);
            SendMessageW(m_hFilterCombo, WM_SETFONT, reinterpret_cast<WPARAM>(m_hBoldFont), TRUE);
        }
        if (m_fAspectRatio != 0.0f)
            SendDlgItemMessageW(m_hWnd, IDI_RESIZE_ICON, STM_SETICON,
                                reinterpret_cast<WPARAM>(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_INFORMATION))), 0);

        bool matched = false;
        for (const FilterEntry& filter : kFilters) {
            LRESULT index = SendMessageW(m_hFilterCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(filter.name));
            SendMessageW(m_hFilterCombo, CB_SETITEMDATA, index, filter.value);
            if (!matched && filter.value == m_imageProp.filter) {
                SendMessageW(m_hFilterCombo, CB_SETCURSEL, index, 0);
                matched = true;
            }
        }
        if (!matched) {
            LRESULT index = SendMessageW(m_hFilterCombo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(L"Lanczos"));
            if (index != CB_ERR)
                m_imageProp.filter = static_cast<int>(SendMessageW(m_hFilterCombo, CB_GETITEMDATA, index, 0));
        }

        // Each write runs SideChanged through the edit's change notification,
        // so the other side and the estimate follow.
        if (m_fAspectRatio != 0.0f) {
            SetDlgItemInt(m_hWnd, IDE_RESIZE_WIDTH, m_dwWidth, FALSE);
            SetDlgItemInt(m_hWnd, IDE_RESIZE_HEIGHT, m_dwHeight, FALSE);
        }
        return 1;
    });
}

void CDlgResize::OnDestroy()
{
    Guarded([&] {
        if (m_hBoldFont)
            DeleteObject(m_hBoldFont);
        m_hBoldFont = nullptr;
        CDialog::OnDestroy();
    });
}

int CDlgResize::OnCommand(int id, int code)
{
    return Guarded(0, [&] {
        if (code == EN_CHANGE && (id == IDE_RESIZE_WIDTH || id == IDE_RESIZE_HEIGHT)) {
            PP_CONVERT axis = id == IDE_RESIZE_WIDTH ? PP_WIDTH : PP_HEIGHT;
            if (Current(axis) != kWriting)
                SideChanged(axis);
        }
        return CDialog::OnCommand(id, code);
    });
}

void CDlgResize::SideChanged(PP_CONVERT axis)
{
    const UINT value = GetDlgItemInt(m_hWnd, EditOf(axis), nullptr, FALSE);
    Current(axis) = value;
    const bool percent = !InPixels(axis);
    const UINT admitted = lorvex::AdmittedSide(value, percent, Source(axis));
    if (admitted != value) {
        // The write comes back here with the admitted value.
        SetDlgItemInt(m_hWnd, EditOf(axis), admitted, FALSE);
        return;
    }
    if (m_fAspectRatio != 0.0f) {
        const UINT pixels = percent ? lorvex::PercentToPixels(value, Source(axis)) : value;
        const PP_CONVERT other = OtherAxis(axis);
        UINT derived = axis == PP_WIDTH ? lorvex::RoundToUnsigned(1.0 / m_fAspectRatio * pixels)
                                        : lorvex::RoundToUnsigned(pixels * static_cast<double>(m_fAspectRatio));
        if (!InPixels(other))
            derived = lorvex::PixelsToPercent(derived, Source(other));
        Current(other) = kWriting;
        SetDlgItemInt(m_hWnd, EditOf(other), derived, FALSE);
        Current(other) = derived;
    }
    UpdateEstimate();
}

void CDlgResize::UpdateEstimate()
{
    const UINT width = m_bWidthPixels ? m_dwWidth : Percent2Pixel(PP_WIDTH);
    const UINT height = m_bHeightPixels ? m_dwHeight : Percent2Pixel(PP_HEIGHT);
    SetDlgItemTextW(m_hWnd, IDT_RESIZE_MEMORY, lorvex::MemoryEstimate(width, height).c_str());
}

int CDlgResize::OnDlgButtonMessage(int id)
{
    Guarded([&] {
        switch (id) {
        case IDR_RESIZE_WIDTH_PIXELS: UnitChosen(PP_WIDTH, true); break;
        case IDR_RESIZE_WIDTH_PERCENT: UnitChosen(PP_WIDTH, false); break;
        case IDR_RESIZE_HEIGHT_PIXELS: UnitChosen(PP_HEIGHT, true); break;
        case IDR_RESIZE_HEIGHT_PERCENT: UnitChosen(PP_HEIGHT, false); break;
        case IDX_RESIZE_CONSTRAIN:
            m_fAspectRatio = IsDlgButtonChecked(m_hWnd, IDX_RESIZE_CONSTRAIN) == BST_CHECKED ? AspectRatio(m_imageProp)
                                                                                             : 0.0f;
            break;
        }
    });
    return 1;
}

// The unit changes before the edit is rewritten, so the edit's echo reads the
// new value in the new unit (and re-derives the other side).
void CDlgResize::UnitChosen(PP_CONVERT axis, bool pixels)
{
    if ((InPixels(axis) != FALSE) == pixels)
        return;
    InPixels(axis) = pixels;
    const UINT value = pixels ? Percent2Pixel(axis) : Pixel2Percent(axis);
    SetDlgItemInt(m_hWnd, EditOf(axis), value, FALSE);
}

int CDlgResize::OnOK()
{
    return Guarded(0, [&] {
        const LRESULT selected = SendMessageW(m_hFilterCombo, CB_GETCURSEL, 0, 0);
        if (selected == CB_ERR) {
            MessageBoxW(m_hWnd, L"Please select a filter type !", L"Resize image :", MB_OK | MB_ICONEXCLAMATION);
            return 0;
        }
        const int filter = static_cast<int>(SendMessageW(m_hFilterCombo, CB_GETITEMDATA, selected, 0));
        if (!m_bWidthPixels)
            m_dwWidth = Percent2Pixel(PP_WIDTH);
        if (!m_bHeightPixels)
            m_dwHeight = Percent2Pixel(PP_HEIGHT);
        m_imageProp.width = m_dwWidth;
        m_imageProp.height = m_dwHeight;
        m_imageProp.filter = filter;
        // The values are pixels now; say so for a later run.
        m_bWidthPixels = TRUE;
        m_bHeightPixels = TRUE;
        return 1;
    });
}
