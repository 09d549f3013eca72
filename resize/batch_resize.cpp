// CDlgBatchResize: the "Batch Resize" options and the fitting of each picture
// to their bounding box.
#include "lorvexops/resize.h"

#include <Magick++.h>

#include "resize/resize_internal.h"
#include "resources/resize_ids.h"
#include "win/guard.h"

namespace {

using lorvex::BoundStep;
using lorvex::BoundTarget;
using lorvex::Guarded;

int FitImage(BoundStep step, bool enabled, const Magick::Image& image, UINT boundWidth, UINT boundHeight,
             bool constrain, float& width, float& height)
{
    BoundTarget target;
    if (!enabled || !lorvex::FitToBound(step, static_cast<UINT>(image.columns()), static_cast<UINT>(image.rows()),
                                        boundWidth, boundHeight, constrain, target))
        return 0;
    width = target.width;
    height = target.height;
    return 1;
}

int FitSize(BoundStep step, bool enabled, SIZE* size, UINT boundWidth, UINT boundHeight, bool constrain)
{
    BoundTarget target;
    if (!enabled || !size ||
        !lorvex::FitToBound(step, static_cast<UINT>(size->cx), static_cast<UINT>(size->cy), boundWidth, boundHeight,
                            constrain, target))
        return 0;
    size->cx = static_cast<LONG>(lorvex::RoundToUnsigned(target.exactWidth));
    size->cy = static_cast<LONG>(lorvex::RoundToUnsigned(target.exactHeight));
    return 1;
}

// Exactly width x height (aspect flag: the bound steps already chose the
// proportions). Magick++ blanks the picture before a failing zoom throws, so
// a copy is zoomed and kept only on success. A side of 0 (from a bound typed
// as 0) is refused here: Magick++ would read it as "keep that side" and give
// a size the SIZE form does not.
void ZoomTo(Magick::Image& image, float width, float height)
{
    const UINT columns = lorvex::RoundToUnsigned(width);
    const UINT rows = lorvex::RoundToUnsigned(height);
    if (!columns || !rows)
        return;
    Guarded([&] {
        Magick::Geometry size(columns, rows);
        size.aspect(true);
        Magick::Image zoomed(image);
        zoomed.zoom(size);
        image = zoomed;
    });
}

}  // namespace

const float CDlgBatchResize::SAMERESIZE = 1.0f;

CDlgBatchResize::CDlgBatchResize(HWND parent)
    : CDlgResize(IDD_BATCH_RESIZE, parent), m_bEnlarge(false), m_bShrink(false), m_bConstrain(true)
{
}

void CDlgBatchResize::BatchResizing(Magick::Image* image)
{
    Guarded([&] {
        if (!image)
            return;
        image->filterType(static_cast<Magick::FilterTypes>(m_imageProp.filter));
        float width = SAMERESIZE;
        float height = SAMERESIZE;
        if (Enlarge2Bound(image, width, height))
            ZoomTo(*image, width, height);
        if (Shrink2Bound(image, width, height))
            ZoomTo(*image, width, height);
    });
}

void CDlgBatchResize::BatchResizing(SIZE* size)
{
    Enlarge2Bound(size);
    Shrink2Bound(size);
}

int CDlgBatchResize::Enlarge2Bound(Magick::Image* image, float& width, float& height)
{
    return image && FitImage(BoundStep::Enlarge, m_bEnlarge, *image, m_dwWidth, m_dwHeight, m_bConstrain, width, height);
}

int CDlgBatchResize::Shrink2Bound(Magick::Image* image, float& width, float& height)
{
    return image && FitImage(BoundStep::Shrink, m_bShrink, *image, m_dwWidth, m_dwHeight, m_bConstrain, width, height);
}

int CDlgBatchResize::Enlarge2Bound(SIZE* size)
{
    return FitSize(BoundStep::Enlarge, m_bEnlarge, size, m_dwWidth, m_dwHeight, m_bConstrain);
}

int CDlgBatchResize::Shrink2Bound(SIZE* size)
{
    return FitSize(BoundStep::Shrink, m_bShrink, size, m_dwWidth, m_dwHeight, m_bConstrain);
}

int CDlgBatchResize::OnInitDialog()
{
    return Guarded(1, [&] {
        CDlgResize::OnInitDialog();
        SendDlgItemMessageW(m_hWnd, IDE_RESIZE_WIDTH, EM_LIMITTEXT, 5, 0);
        SendDlgItemMessageW(m_hWnd, IDE_RESIZE_HEIGHT, EM_LIMITTEXT, 5, 0);
        // These writes run SetOK before the boxes below are set, so OK starts
        // disabled each time and waits for the user's next change.
        if (m_dwWidth)
            SetDlgItemInt(m_hWnd, IDE_RESIZE_WIDTH, m_dwWidth, FALSE);
        if (m_dwHeight)
            SetDlgItemInt(m_hWnd, IDE_RESIZE_HEIGHT, m_dwHeight, FALSE);
        const WORD count = static_cast<WORD>(SendMessageW(m_hFilterCombo, CB_GETCOUNT, 0, 0));
        for (WORD index = 0; index < count; ++index) {
            if (SendMessageW(m_hFilterCombo, CB_GETITEMDATA, index, 0) == m_imageProp.filter) {
                SendMessageW(m_hFilterCombo, CB_SETCURSEL, index, 0);
                break;
            }
        }
        CheckDlgButton(m_hWnd, IDX_BATCH_ENLARGE, m_bEnlarge ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(m_hWnd, IDX_BATCH_SHRINK, m_bShrink ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(m_hWnd, IDX_RESIZE_CONSTRAIN, m_bConstrain ? BST_CHECKED : BST_UNCHECKED);
        return 1;
    });
}

void CDlgBatchResize::SetOK()
{
    const bool direction = IsDlgButtonChecked(m_hWnd, IDX_BATCH_ENLARGE) == BST_CHECKED ||
                           IsDlgButtonChecked(m_hWnd, IDX_BATCH_SHRINK) == BST_CHECKED;
    const bool bounds = GetWindowTextLengthW(GetDlgItem(m_hWnd, IDE_RESIZE_WIDTH)) > 0 &&
                        GetWindowTextLengthW(GetDlgItem(m_hWnd, IDE_RESIZE_HEIGHT)) > 0;
    EnableWindow(GetDlgItem(m_hWnd, IDOK), direction && bounds);
}

// Bounds are read only on OK; the filter is kept at once, so Cancel undoes
// only the bounds.
int CDlgBatchResize::OnCommand(int id, int code)
{
    return Guarded(0, [&] {
        if (code == EN_CHANGE && (id == IDE_RESIZE_WIDTH || id == IDE_RESIZE_HEIGHT)) {
            SetOK();
        } else if (code == CBN_SELCHANGE && id == IDC_RESIZE_FILTER) {
            const LRESULT selected = SendMessageW(m_hFilterCombo, CB_GETCURSEL, 0, 0);
            if (selected != CB_ERR)
                m_imageProp.filter = static_cast<int>(SendMessageW(m_hFilterCombo, CB_GETITEMDATA, selected, 0));
        }
        return CDialog::OnCommand(id, code);
    });
}

int CDlgBatchResize::OnDlgButtonMessage(int id)
{
    Guarded([&] {
        bool* flag = id == IDX_RESIZE_CONSTRAIN ? &m_bConstrain
                     : id == IDX_BATCH_ENLARGE  ? &m_bEnlarge
                     : id == IDX_BATCH_SHRINK   ? &m_bShrink
                                                : nullptr;
        if (!flag)
            return;
        *flag = IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
        SetOK();
    });
    return 1;
}

int CDlgBatchResize::OnOK()
{
    return Guarded(0, [&] {
        m_dwWidth = GetDlgItemInt(m_hWnd, IDE_RESIZE_WIDTH, nullptr, FALSE);
        m_dwHeight = GetDlgItemInt(m_hWnd, IDE_RESIZE_HEIGHT, nullptr, FALSE);
        return 1;
    });
}
