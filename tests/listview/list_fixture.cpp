#include "list_fixture.h"

namespace lvtest {

int RowObject::live = 0;
HWND ListTest::dialog = nullptr;

namespace {

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

HWND OpenTestDialog()
{
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_LIST_TEST), nullptr, QuietDialog, 0);
}

void RowObject::Release(void* object)
{
    delete static_cast<int*>(object);
    --live;
}

void* RowObject::Make()
{
    ++live;
    return new int(0);
}

void ListTest::SetUpTestSuite()
{
    dialog = OpenTestDialog();
    PumpMessages(50);
}

void ListTest::TearDownTestSuite()
{
    DestroyWindow(dialog);
    dialog = nullptr;
}

void ListTest::SetUp()
{
    ASSERT_NE(dialog, nullptr);
    listWindow = GetDlgItem(dialog, IDC_LIST_TEST);
    SendMessageW(listWindow, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageW(listWindow, LVM_DELETECOLUMN, 0, 0)) {
    }
    RowObject::live = 0;
    list = std::make_unique<CSortedListCtrl>();
    list->Create(listWindow);
}

void ListTest::TearDown()
{
    list.reset();
    EXPECT_EQ(RowObject::live, 0) << "row objects not released";
}

void ListTest::Columns(std::initializer_list<ColumnSpec> specs)
{
    for (const ColumnSpec& spec : specs)
        list->InsertColumn(spec.title, spec.width, spec.type, spec.format, spec.editable);
}

std::string ListTest::Order()
{
    std::string order;
    for (int row = 0; row < list->GetItemCount(); ++row) {
        WCHAR text[100] = {};
        LVITEMW item = {};
        item.pszText = text;
        item.cchTextMax = 100;
        SendMessageW(listWindow, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        order += (row ? " " : "") + Utf8(text);
    }
    return order;
}

void ListTest::Click(HWND window, POINT at, WPARAM keys)
{
    const LPARAM where = MAKELPARAM(at.x, at.y);
    SendMessageW(window, WM_LBUTTONDOWN, keys | MK_LBUTTON, where);
    SendMessageW(window, WM_LBUTTONUP, keys, where);
    PumpMessages();
}

void ListTest::ClickHeader(int column)
{
    RECT rect = {};
    SendMessageW(list->hHeader, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
    Click(list->hHeader, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

RECT ListTest::CellRect(int row, int column)
{
    RECT rect = {};
    rect.top = column;
    rect.left = LVIR_BOUNDS;
    SendMessageW(listWindow, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    if (column == 0)   // the bounds of subitem 0 are the whole row's
        rect.right = rect.left + static_cast<int>(SendMessageW(listWindow, LVM_GETCOLUMNWIDTH, 0, 0));
    return rect;
}

void ListTest::ClickCell(int row, int column)
{
    RECT rect = CellRect(row, column);
    RECT client;
    GetClientRect(listWindow, &client);
    // The visible part of the cell.
    const LONG left = rect.left > 0 ? rect.left : 0, right = rect.right < client.right ? rect.right : client.right;
    Click(listWindow, POINT{(left + right) / 2, (rect.top + rect.bottom) / 2});
}

void ListTest::Key(HWND window, WPARAM key, bool control)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE saved = keys[VK_CONTROL];
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageW(window, WM_KEYDOWN, key, 1);
    SendMessageW(window, WM_KEYUP, key, 0xC0000001);
    keys[VK_CONTROL] = saved;
    SetKeyboardState(keys);
    PumpMessages();
}

void ListTest::SelectOnly(std::initializer_list<int> rows)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    SendMessageW(listWindow, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int row : rows)
        SendMessageW(listWindow, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

FILETIME UtcTime(int year, int month, int day, int hour)
{
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    FILETIME result = {};
    SystemTimeToFileTime(&time, &result);
    return result;
}

}  // namespace lvtest
