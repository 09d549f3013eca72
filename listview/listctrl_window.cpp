// CSortedListCtrl: the window side. The list's and the editor's replacement
// procedures, in-place editing, moving rows, owner-drawn header items.
#include "listview/listview_internal.h"

#include <lorvexops/companions.h>

#include "win/guard.h"
#include "win/scoped.h"
#include "win/text.h"

using lorvex::Guarded;

namespace {

// The instance that owns hwnd as its list (or as its open editor), if any.
CSortedListCtrl* OwnerOfList(HWND hwnd)
{
    CSortedListCtrl* list = CSortedListCtrl::pActiveList;
    return list && list->hList == hwnd ? list : nullptr;
}

CSortedListCtrl* OwnerOfEditor(HWND hwnd)
{
    CSortedListCtrl* list = CSortedListCtrl::pActiveList;
    return list && list->hEdit == hwnd ? list : nullptr;
}

void SetSelected(HWND list, int row, bool selected)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

RECT RowBounds(HWND list, int row)
{
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

}  // namespace

void CSortedListCtrl::Create(HWND list)
{
    Guarded([&] {
        bThemedHeader = HaveCommonControls6(nullptr);
        pActiveList = this;
        hList = list;
        // A second Create on the same list must not make ListProc its own
        // predecessor.
        const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC));
        if (current != ListProc) {
            oldListProc = current;
            SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc));
        }
        hHeader = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    });
}

LRESULT CALLBACK CSortedListCtrl::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Guarded<LRESULT>(0, [&]() -> LRESULT {
        auto own = [&] { return CallWindowProcW(oldListProc, hwnd, message, wParam, lParam); };
        CSortedListCtrl* self = OwnerOfList(hwnd);
        if (!self)
            return own();
        switch (message) {
        case WM_DESTROY:
            self->DeleteAllItems();
            return own();
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (item && item->hwndItem == self->hHeader)
                return self->OnDrawItem(static_cast<int>(wParam), item);
            return own();
        }
        case WM_NOTIFY: {
            const LRESULT result = own();
            auto* header = reinterpret_cast<NMHEADERW*>(lParam);
            if (header && header->hdr.code == HDN_ITEMCLICKW && header->hdr.hwndFrom == self->hHeader) {
                self->BeginSort(header->iItem);
                return 0;
            }
            return result;
        }
        case WM_KEYDOWN:
            if (wParam == 'A' && GetKeyState(VK_CONTROL) < 0)
                self->SelectAllItems();
            else if (wParam == VK_DELETE)
                self->DeleteAllSelectedItems();
            return own();
        case WM_LBUTTONDOWN: {
            own();   // selects the row and takes the focus (an open editor commits)
            LVHITTESTINFO hit = {};
            hit.pt.x = LOWORD(lParam);
            hit.pt.y = HIWORD(lParam);
            SendMessageW(hwnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.iItem != -1 && OwnerOfList(hwnd) == self)
                self->EditSubItem(hit.iItem, hit.iSubItem);
            return 0;
        }
        default:
            return own();
        }
    });
}

void CSortedListCtrl::EditSubItem(int row, int column)
{
    Guarded([&] {
        if (hEdit)
            return;
        SendMessageW(hList, WM_SETFOCUS, 0, 0);
        SendMessageW(hList, LVM_ENSUREVISIBLE, row, FALSE);
        if (column < 0 || column >= static_cast<int>(columns.size()) || !columns[column].bEditable)
            return;

        int offset = 0;
        for (int k = 0; k < column; ++k)
            offset += static_cast<int>(SendMessageW(hList, LVM_GETCOLUMNWIDTH, k, 0));
        RECT rect = RowBounds(hList, row);
        RECT client = {};
        GetClientRect(hList, &client);
        if (rect.left + offset < 0 || rect.left + offset > client.right) {
            // Bring the cell's left edge to the client's left edge; the bounds
            // are read again, as the list may stop short at its scroll limit.
            SendMessageW(hList, LVM_SCROLL, rect.left + offset, 0);
            rect = RowBounds(hList, row);
        }

        LVCOLUMNW format = {};
        format.mask = LVCF_FMT;
        SendMessageW(hList, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&format));
        const int alignment = (format.fmt & 3) == LVCFMT_LEFT ? ES_LEFT : (format.fmt & 3) == LVCFMT_RIGHT ? ES_RIGHT : ES_CENTER;

        const int left = rect.left + offset + 4;
        int right = left + static_cast<int>(SendMessageW(hList, LVM_GETCOLUMNWIDTH, column, 0)) - 3;
        if (right > client.right)
            right = client.right;
        DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | alignment;
        if (columns[column].type == COLUMN_INTEGER)
            style |= ES_NUMBER;

        nEditItem = row;
        nEditSubItem = column;
        hEdit = CreateWindowExW(0, L"Edit", L"", style, left, rect.top, right - left, rect.bottom - rect.top, hList,
                                nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hList, GWLP_HINSTANCE)), nullptr);
        if (!hEdit)
            return;
        oldEditProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
        SendMessageW(hEdit, WM_SETFONT, SendMessageW(hList, WM_GETFONT, 0, 0), TRUE);
        if (ItemData* record = GetItemDataEx(row))
            SetWindowTextW(hEdit, record->texts[column] ? record->texts[column] : L"");
        ShowWindow(hEdit, SW_SHOW);
        SendMessageW(hEdit, EM_SETSEL, 0, -1);
        SetFocus(hEdit);
    });
}

LRESULT CALLBACK CSortedListCtrl::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Guarded<LRESULT>(0, [&]() -> LRESULT {
        switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            // Taking the focus away closes the editor (WM_KILLFOCUS below).
            if (wParam == VK_TAB || wParam == VK_RETURN) {
                SetFocus(GetParent(hwnd));
            } else if (wParam == VK_ESCAPE) {
                bEditCancelled = TRUE;
                SetFocus(GetParent(hwnd));
            }
            if (!IsWindow(hwnd))
                return 0;
            break;
        case WM_KILLFOCUS: {
            CSortedListCtrl* self = OwnerOfEditor(hwnd);
            if (self && !bEditCancelled) {
                const lorvex::WString text = lorvex::WindowText(hwnd);
                self->Commit(text.empty() ? nullptr : text.c_str());
            }
            bEditCancelled = FALSE;
            if (self)
                self->hEdit = nullptr;
            DestroyWindow(hwnd);
            return 0;
        }
        case WM_NCDESTROY:
            // Destroyed with its list, without losing the focus first.
            if (CSortedListCtrl* self = OwnerOfEditor(hwnd))
                self->hEdit = nullptr;
            break;
        default:
            break;
        }
        return CallWindowProcW(oldEditProc, hwnd, message, wParam, lParam);
    });
}

void CSortedListCtrl::Commit(const WCHAR* text)
{
    const int row = nEditItem, column = nEditSubItem;
    if (column < 0 || column >= static_cast<int>(columns.size()))
        return;
    ItemData* record = GetItemDataEx(row);
    switch (columns[column].type) {
    case COLUMN_INTEGER:
        SetItemText(row, column, text ? text : L"");
        if (record) {
            const int value = text ? lorvex::ParseInt(text) : 0;
            record->intValues[column] = value;
            if (pfnNumericHook)
                pfnNumericHook(row, value);
        }
        break;
    case COLUMN_TEXT:
        if (text)
            SetItemText(row, column, text);   // an emptied text cell keeps its text
        break;
    default:
        break;   // sizes and times are not typed in
    }
    bModified = TRUE;
    Resort();
}

int CSortedListCtrl::MoveItemUp()
{
    return MoveItem(-1);
}

int CSortedListCtrl::MoveItemDown()
{
    return MoveItem(1);
}

int CSortedListCtrl::MoveItem(int step)
{
    return Guarded(0, [&] {
        if (SendMessageW(hList, LVM_GETSELECTEDCOUNT, 0, 0) > 1) {
            MessageBoxW(hList, L"Please select only one item to move.", L"Error", MB_OK);
            return 0;
        }
        const int row = GetFirstSelItem();
        const int target = row + step;
        if (row == -1 || target < 0 || target >= GetItemCount())
            return 0;
        if (nSortColumn != -1) {
            // The order is now the user's: no arrow.
            nSortColumn = -1;
            SetSortArrow();
        }
        bModified = TRUE;
        ItemData* moved = GetItemDataEx(row);
        ItemData* other = GetItemDataEx(target);
        AddItemEx(moved, target);
        AddItemEx(other, row);
        ExchangeImages(row, target);
        SetSelected(hList, row, false);
        SetSelected(hList, target, true);
        SendMessageW(hList, LVM_ENSUREVISIBLE, target, FALSE);
        return 1;
    });
}

void CSortedListCtrl::ExchangeImages(int rowA, int rowB)
{
    LVITEMW a = {}, b = {};
    a.mask = b.mask = LVIF_IMAGE;
    a.iItem = rowA;
    b.iItem = rowB;
    SendMessageW(hList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&a));
    SendMessageW(hList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&b));
    a.iItem = rowB;
    b.iItem = rowA;
    SendMessageW(hList, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&a));
    SendMessageW(hList, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&b));
}

int CSortedListCtrl::OnDrawItem(int, DRAWITEMSTRUCT* draw)
{
    return Guarded(1, [&] {
        if (!draw)
            return 1;
        HDC dc = draw->hDC;
        const RECT frame = draw->rcItem;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, frame.left, frame.top, frame.right, frame.bottom);
        FillRect(dc, &frame, GetSysColorBrush(COLOR_3DFACE));

        WCHAR text[256] = {};
        HDITEMW item = {};
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(hHeader, HDM_GETITEMW, draw->itemID, reinterpret_cast<LPARAM>(&item));
        UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS;
        if (item.fmt & HDF_CENTER)
            flags |= DT_CENTER;
        else if (item.fmt & HDF_RIGHT)
            flags |= DT_RIGHT;

        RECT area = frame;
        if (draw->itemState == ODS_SELECTED) {   // pressed: the text moves with the button
            area.left += 1;
            area.top += 2;
            area.right += 1;
        }
        const int m = (frame.bottom - frame.top) / 4;
        const bool sorted = static_cast<int>(draw->itemID) == nSortColumn;
        if (sorted)
            area.right -= 3 * m;
        area.left += m;
        area.right -= m;
        if (area.left < area.right) {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            DrawTextW(dc, text, -1, &area, flags);
        }

        if (sorted) {
            lorvex::ScopedGdiObject<HPEN> light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHILIGHT)));
            lorvex::ScopedGdiObject<HPEN> shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW)));
            const int x = frame.right, y = frame.bottom;
            lorvex::ScopedSelect former(dc, light.get());
            if (bAscending) {
                MoveToEx(dc, x - 2 * m, m, nullptr);
                LineTo(dc, x - m, y - m - 1);
                LineTo(dc, x - 3 * m - 2, y - m - 1);
                SelectObject(dc, shadow.get());
                MoveToEx(dc, x - 3 * m - 1, y - m - 1, nullptr);
                LineTo(dc, x - 2 * m, m - 1);
            } else {
                MoveToEx(dc, x - m - 1, m, nullptr);
                LineTo(dc, x - 2 * m - 1, y - m);
                SelectObject(dc, shadow.get());
                MoveToEx(dc, x - 2 * m - 2, y - m, nullptr);
                LineTo(dc, x - 3 * m - 1, m);
                LineTo(dc, x - m - 1, m);
            }
        }
        RestoreDC(dc, saved);
        return 1;
    });
}
