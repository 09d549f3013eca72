// CSortedListCtrl: row records, columns and sorting.
#include "listview/listview_internal.h"

#include <shlwapi.h>

#include <cstdarg>
#include <cstring>
#include <memory>

#include "win/guard.h"

using lorvex::Guarded;
using ItemData = CSortedListCtrl::ItemData;

WNDPROC CSortedListCtrl::oldListProc = nullptr;
WNDPROC CSortedListCtrl::oldEditProc = nullptr;
WNDPROC CSortedListCtrl::oldHeaderProc = nullptr;
CSortedListCtrl* CSortedListCtrl::pActiveList = nullptr;
BOOL CSortedListCtrl::bEditCancelled = FALSE;

namespace lorvex {

LONGLONG ParseDecimal(const WCHAR* text, LONGLONG low, LONGLONG high)
{
    if (!text)
        return 0;
    while (*text == L' ' || (*text >= L'\t' && *text <= L'\r'))
        ++text;
    const bool negative = *text == L'-';
    if (*text == L'-' || *text == L'+')
        ++text;
    // Accumulate toward the sign's side so the most negative value fits.
    LONGLONG value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        const int digit = *text - L'0';
        if (negative) {
            if (value < (low + digit) / 10)
                return low;
            value = value * 10 - digit;
        } else {
            if (value > (high - digit) / 10)
                return high;
            value = value * 10 + digit;
        }
    }
    return value;
}

WString FileTimeText(const FILETIME& utc)
{
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return WString();
    auto part = [&time](bool date) {
        int length = date ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, nullptr, 0)
                          : GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, nullptr, 0);
        if (length <= 0)
            return WString();
        WString text(length, L'\0');
        length = date ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, &text[0], length)
                      : GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, &text[0], length);
        text.resize(length > 0 ? length - 1 : 0);
        return text;
    };
    const WString date = part(true);
    if (date.empty())
        return part(false);
    return date + L" " + part(false);
}

void SetCellText(HWND list, int row, int column, const WCHAR* text)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<WCHAR*>(text ? text : L"");
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace lorvex

namespace {

WCHAR* CopyText(const WCHAR* text)
{
    const int length = text ? lstrlenW(text) : 0;
    WCHAR* copy = new WCHAR[length + 1];
    if (length)
        std::memcpy(copy, text, length * sizeof(WCHAR));
    copy[length] = 0;
    return copy;
}

void HeapRelease(void* block)
{
    HeapFree(GetProcessHeap(), 0, block);
}

void ReleaseUserData(ItemData* record)
{
    void* data = record->userData;
    void (*deleter)(void*) = record->userDeleter;
    record->userData = nullptr;
    record->userDeleter = nullptr;
    if (data && deleter)
        deleter(data);
}

void FreeRecord(ItemData* record, int columns)
{
    if (!record)
        return;
    if (record->texts) {
        for (int k = 0; k < columns; ++k)
            delete[] record->texts[k];
    }
    delete[] record->texts;
    delete[] record->intValues;
    delete[] record->sizeValues;
    delete[] record->timeValues;
    ReleaseUserData(record);
    delete record;
}

struct RecordRelease {
    int columns;
    void operator()(ItemData* record) const { FreeRecord(record, columns); }
};
using RecordOwner = std::unique_ptr<ItemData, RecordRelease>;

RecordOwner NewRecord(int columns)
{
    RecordOwner record(new ItemData(), RecordRelease{columns});
    record->texts = new WCHAR*[columns]();
    record->intValues = new int[columns]();
    record->sizeValues = new LONGLONG[columns]();
    record->timeValues = new FILETIME[columns]();
    return record;
}

void SetItemParam(HWND list, int row, const void* record)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = reinterpret_cast<LPARAM>(record);
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

HDITEMW HeaderFormat(HWND header, int column)
{
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
    return item;
}

}  // namespace

CSortedListCtrl::CSortedListCtrl()
    : hHeader(nullptr), hList(nullptr), hEdit(nullptr), nSortColumn(-1), nColumns(0), nEditItem(0),
      nEditSubItem(0), bAscending(TRUE), bModified(FALSE), pfnNumericHook(nullptr), bDeleteDisabled(0),
      nArrowColumn(-1), nArrowFormat(0), bThemedHeader(FALSE)
{
}

CSortedListCtrl::~CSortedListCtrl()
{
    Guarded([&] { DeleteAllItems(); });
    if (pActiveList == this)
        pActiveList = nullptr;
}

void CSortedListCtrl::CreateAdditionalControls(int, int) {}
void CSortedListCtrl::DestroyAdditionalControls(int, int) {}

int CSortedListCtrl::InsertColumn(const WCHAR* title, int width, enColumnType type, int format, int editable)
{
    return Guarded(-1, [&] {
        if (GetItemCount() > 0)
            return -1;
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = format;
        column.cx = width;
        column.pszText = const_cast<WCHAR*>(title ? title : L"");
        columns.push_back(ColumnInfo{editable, type});
        SendMessageW(hList, LVM_INSERTCOLUMNW, nColumns, reinterpret_cast<LPARAM>(&column));
        return nColumns++;
    });
}

int CSortedListCtrl::AddItem(const WCHAR* first, ...)
{
    va_list args;
    va_start(args, first);
    const int row = Guarded(-1, [&] {
        if (!first || !*first || nColumns <= 0)
            return -1;
        lorvex::WString name(first);
        PathStripPathW(&name[0]);
        name.resize(lstrlenW(name.c_str()));

        bModified = TRUE;
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = GetItemCount();
        item.pszText = &name[0];
        const int row = static_cast<int>(SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0)
            return -1;

        RecordOwner record = NewRecord(nColumns);
        record->texts[0] = CopyText(name.c_str());
        for (int k = 1; k < nColumns; ++k) {
            lorvex::WString text;
            WCHAR size[50];
            switch (k < static_cast<int>(columns.size()) ? columns[k].type : -1) {
            case COLUMN_INTEGER:
                record->intValues[k] = va_arg(args, int);
                wsprintfW(size, L"%d", record->intValues[k]);
                text = size;
                break;
            case COLUMN_FILESIZE:
                record->sizeValues[k] = va_arg(args, LONGLONG);
                if (StrFormatByteSizeW(record->sizeValues[k], size, 50))
                    text = size;
                break;
            case COLUMN_TEXT:
                if (const WCHAR* given = va_arg(args, const WCHAR*))
                    text = given;
                break;
            case COLUMN_FILETIME:
                if (const FILETIME* time = va_arg(args, const FILETIME*)) {
                    record->timeValues[k] = *time;
                    text = lorvex::FileTimeText(*time);
                }
                break;
            default:
                break;
            }
            lorvex::SetCellText(hList, row, k, text.c_str());
            record->texts[k] = CopyText(text.c_str());
        }
        SetItemParam(hList, row, record.release());
        bModified = TRUE;
        return row;
    });
    va_end(args);
    return row;
}

int CSortedListCtrl::InsertItem(const WCHAR* text, int row)
{
    bModified = TRUE;
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row < 0 ? GetItemCount() : row;
    item.pszText = const_cast<WCHAR*>(text ? text : L"");
    return static_cast<int>(SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int CSortedListCtrl::AddItemEx(ItemData* record, int row)
{
    if (record && record->texts) {
        for (int k = 0; k < nColumns; ++k)
            lorvex::SetCellText(hList, row, k, record->texts[k]);
    }
    SetItemParam(hList, row, record);
    return row;
}

int CSortedListCtrl::SetItemDataEx(int row, ItemData* record)
{
    SetItemParam(hList, row, record);
    return 1;
}

CSortedListCtrl::ItemData* CSortedListCtrl::GetItemDataEx(int row)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageW(hList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<ItemData*>(item.lParam);
}

void CSortedListCtrl::SetItemData(int row, void* data)
{
    SetItemData(row, data, HeapRelease);
}

void CSortedListCtrl::SetItemData(int row, void* data, void (*deleter)(void*))
{
    Guarded([&] {
        ItemData* record = GetItemDataEx(row);
        if (!record)
            return;
        if (record->userData != data)
            ReleaseUserData(record);
        record->userData = data;
        record->userDeleter = deleter;
    });
}

void* CSortedListCtrl::GetItemData(int row)
{
    ItemData* record = GetItemDataEx(row);
    return record ? record->userData : nullptr;
}

WCHAR** CSortedListCtrl::GetTextArray(int row)
{
    ItemData* record = GetItemDataEx(row);
    return record ? record->texts : nullptr;
}

void CSortedListCtrl::SetItemText(int row, int column, const WCHAR* text)
{
    Guarded([&] {
        if (!text)
            text = L"";
        bModified = TRUE;
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = const_cast<WCHAR*>(text);
        SendMessageW(hList, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));

        ItemData* record = GetItemDataEx(row);
        if (!record || column < 0 || column >= nColumns || column >= static_cast<int>(columns.size()))
            return;
        WCHAR* copy = CopyText(text);
        delete[] record->texts[column];
        record->texts[column] = copy;
        if (columns[column].type == COLUMN_INTEGER)
            record->intValues[column] = lorvex::ParseInt(text);
        else if (columns[column].type == COLUMN_FILESIZE)
            record->sizeValues[column] = lorvex::ParseDecimal(text, LLONG_MIN, LLONG_MAX);
    });
}

void CSortedListCtrl::FreeItemMemory(int row)
{
    Guarded([&] {
        ItemData* record = GetItemDataEx(row);
        if (!record)
            return;
        SetItemParam(hList, row, nullptr);
        FreeRecord(record, nColumns);
    });
}

void CSortedListCtrl::DeleteItem(int row)
{
    bModified = TRUE;
    FreeItemMemory(row);
    SendMessageW(hList, LVM_DELETEITEM, row, 0);
}

void CSortedListCtrl::DeleteAllItems()
{
    if (!IsWindow(hList))
        return;
    LockWindowUpdate(hList);
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row)
        FreeItemMemory(row);
    SendMessageW(hList, LVM_DELETEALLITEMS, 0, 0);
    LockWindowUpdate(nullptr);
}

void CSortedListCtrl::DeleteAllSelectedItems()
{
    if (bDeleteDisabled == 1)
        return;
    for (int row; (row = GetFirstSelItem()) != -1;) {
        bModified = TRUE;
        FreeItemMemory(row);
        if (!SendMessageW(hList, LVM_DELETEITEM, row, 0))
            break;
    }
    RedrawWindow(hList, nullptr, nullptr, RDW_INVALIDATE);
}

void CSortedListCtrl::Sort(int column, int ascending)
{
    nSortColumn = column;
    bAscending = ascending;
    Resort();
}

void CSortedListCtrl::BeginSort(int column)
{
    // An open editor commits first: it edits a row number the sort would change.
    if (hEdit)
        SetFocus(hList);
    bAscending = column != nSortColumn ? TRUE : !bAscending;
    nSortColumn = column;
    Resort();
}

void CSortedListCtrl::Resort()
{
    bModified = TRUE;
    SetSortArrow();
    SendMessageW(hList, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(CompareFunction));
}

int CALLBACK CSortedListCtrl::CompareFunction(LPARAM a, LPARAM b, LPARAM sortParam)
{
    const auto* list = reinterpret_cast<const CSortedListCtrl*>(sortParam);
    if (!list)
        return 0;
    const int k = list->nSortColumn;
    if (k < 0 || k >= list->nColumns || k >= static_cast<int>(list->columns.size()))
        return 0;
    const auto* x = reinterpret_cast<const ItemData*>(list->bAscending ? a : b);
    const auto* y = reinterpret_cast<const ItemData*>(list->bAscending ? b : a);
    if (!x || !y)
        return 0;
    switch (list->columns[k].type) {
    case COLUMN_INTEGER:
        return NumberCompare(x->intValues[k], y->intValues[k]);
    case COLUMN_FILESIZE:
        return NumberCompare(x->sizeValues[k], y->sizeValues[k]);
    case COLUMN_TEXT:
        return lstrcmpiW(x->texts[k] ? x->texts[k] : L"", y->texts[k] ? y->texts[k] : L"");
    case COLUMN_FILETIME:
        return CompareFileTime(&x->timeValues[k], &y->timeValues[k]);
    default:
        return 0;
    }
}

int CSortedListCtrl::NumberCompare(LONGLONG a, LONGLONG b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

void CSortedListCtrl::SetSortArrow()
{
    if (!bThemedHeader) {
        // The list draws the header item itself, arrow included.
        if (nSortColumn != -1) {
            HDITEMW item = HeaderFormat(hHeader, nSortColumn);
            item.fmt |= HDF_OWNERDRAW;
            SendMessageW(hHeader, HDM_SETITEMW, nSortColumn, reinterpret_cast<LPARAM>(&item));
        }
        InvalidateRect(hHeader, nullptr, TRUE);
        return;
    }
    if (nArrowColumn != -1 && nArrowColumn != nSortColumn) {
        HDITEMW item = HeaderFormat(hHeader, nArrowColumn);
        item.fmt &= ~static_cast<int>(nArrowFormat);
        SendMessageW(hHeader, HDM_SETITEMW, nArrowColumn, reinterpret_cast<LPARAM>(&item));
    }
    if (nSortColumn != -1) {
        HDITEMW item = HeaderFormat(hHeader, nSortColumn);
        const int arrow = bAscending ? HDF_SORTUP : HDF_SORTDOWN;
        nArrowColumn = nSortColumn;
        nArrowFormat = arrow;
        item.fmt = (item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | arrow;
        SendMessageW(hHeader, HDM_SETITEMW, nSortColumn, reinterpret_cast<LPARAM>(&item));
    }
}

void CSortedListCtrl::SelectAllItems()
{
    LockWindowUpdate(hList);
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    LockWindowUpdate(nullptr);
}

int CSortedListCtrl::GetFirstSelItem() const
{
    return static_cast<int>(SendMessageW(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int CSortedListCtrl::GetItemCount()
{
    return static_cast<int>(SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
}

int CSortedListCtrl::OnDestroy()
{
    DeleteAllItems();
    return 1;
}
