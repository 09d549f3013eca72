// CSortedListCtrl on a real report list, driven as a user drives it: header
// clicks and the arrow they leave, Ctrl+A and Delete, single-click editing,
// moving rows; and the row objects released on every way out.
#include <lorvexops/lorvexops.h>
#include "modaldriver.h"
#include "testsupport.h"
#include "test_ids.h"

#include "../../listview/listview_internal.h"
#include "../../win/scoped.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace lvtest {
namespace {

enum { kName, kSize, kKind, kModified, kCount };
const FILETIME kZeroTime = {};

// Row objects go to the list with a counting deleter: live is back at 0
// whenever the list has released its rows.
int live = 0;
void* MakeObject() { return ++live, new int(0); }
void ReleaseObject(void* object) { --live, delete static_cast<int*>(object); }

std::vector<std::pair<int, int>> hookCalls;
void RecordHook(int row, int value) { hookCalls.emplace_back(row, value); }

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
HWND OpenDialog()
{
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_LIST_TEST), nullptr, QuietDialog, 0);
}

FILETIME Utc(WORD year, WORD month)
{
    SYSTEMTIME time = {year, month, 0, 1, 12};
    FILETIME result = {};
    SystemTimeToFileTime(&time, &result);
    return result;
}

int HeaderFormat(HWND header, int column)
{
    HDITEMW item = {HDI_FORMAT};
    SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
    return item.fmt;
}

// One pixel of the header as it paints itself (owner-drawn items through the list).
COLORREF HeaderPixel(HWND header, POINT at)
{
    lorvex::ScopedWindowDC screen(nullptr);
    lorvex::ScopedMemDC dc(screen.get());
    lorvex::ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), at.x + 1, at.y + 1));
    lorvex::ScopedSelect select(dc.get(), bitmap.get());
    SendMessageW(header, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    return GetPixel(dc.get(), at.x, at.y);
}

// One dialog for the suite (showing and destroying a top-level window costs
// seconds under Xvfb); each test attaches a fresh list object with five
// typed columns and four rows whose text order differs from their value order.
class ListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { dialog = OpenDialog(); }
    static void TearDownTestSuite() { DestroyWindow(dialog); }
    void SetUp() override
    {
        ASSERT_NE(dialog, nullptr);
        SendMessageW(view, LVM_DELETEALLITEMS, 0, 0);
        while (SendMessageW(view, LVM_DELETECOLUMN, 0, 0)) {
        }
        live = 0;
        hookCalls.clear();
        list->Create(view);
        list->InsertColumn(L"Name", 80, COLUMN_TEXT, LVCFMT_LEFT, 1);
        list->InsertColumn(L"Size", 80, COLUMN_FILESIZE, LVCFMT_LEFT, 1);
        list->InsertColumn(L"Kind", 80, COLUMN_TEXT, LVCFMT_LEFT, 0);
        list->InsertColumn(L"Modified", 80, COLUMN_FILETIME, LVCFMT_LEFT, 0);
        list->InsertColumn(L"Count", 80, COLUMN_INTEGER, LVCFMT_RIGHT, 1);
        const FILETIME sep19 = Utc(2019, 9), oct19 = Utc(2019, 10), jan20 = Utc(2020, 1), jan21 = Utc(2021, 1);
        list->AddItem(L"Z:\\pics\\delta", 2048000LL, L"Beta", &oct19, 10);
        list->AddItem(L"alpha", 999LL, L"alpha", &jan21, 20);
        list->AddItem(L"charlie", 50000LL, L"BETA", &sep19, 30);
        list->AddItem(L"bravo", 1000LL, L"gamma", &jan20, 40);
        for (int row = 0; row < 4; ++row)
            list->SetItemData(row, MakeObject(), ReleaseObject);
        list->SetNumericHook(RecordHook);
        list->SetModified(FALSE);
    }
    void TearDown() override
    {
        list.reset();
        EXPECT_EQ(live, 0) << "row objects not released";
    }

    std::string Cell(int row, int column)
    {
        WCHAR text[100] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 100;
        SendMessageW(view, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return Utf8(text);
    }
    std::string Order()   // column 0 in list order
    {
        std::string order;
        for (int row = 0; row < list->GetItemCount(); ++row)
            order += (row ? " " : "") + Cell(row, kName);
        return order;
    }
    RECT CellRect(int row, int column)
    {
        RECT rect = {LVIR_BOUNDS, column};
        SendMessageW(view, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        if (column == 0)   // subitem 0's bounds are the whole row's
            rect.right = rect.left + static_cast<int>(SendMessageW(view, LVM_GETCOLUMNWIDTH, 0, 0));
        return rect;
    }
    static void Click(HWND window, int x, int y)
    {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        PumpMessages();
    }
    void ClickHeader(int column)
    {
        RECT rect = {};
        SendMessageW(list->hHeader, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
        Click(list->hHeader, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    void ClickCell(int row, int column)   // on the cell's visible part
    {
        RECT rect = CellRect(row, column), client;
        GetClientRect(view, &client);
        Click(view, (std::max<LONG>(rect.left, 0) + std::min(rect.right, client.right)) / 2, (rect.top + rect.bottom) / 2);
    }
    static void Key(HWND window, WPARAM key, bool control = false)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(window, WM_KEYDOWN, key, 1);
        SendMessageW(window, WM_KEYUP, key, 0xC0000001);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        PumpMessages();
    }
    void SelectOnly(std::initializer_list<int> rows)
    {
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED;
        SendMessageW(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = LVIS_SELECTED;
        for (int row : rows)
            SendMessageW(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    int Editors()
    {
        int count = 0;
        for (HWND edit = nullptr; (edit = FindWindowExW(view, edit, L"Edit", nullptr));)
            ++count;
        return count;
    }

    static HWND dialog;
    HWND view = GetDlgItem(dialog, IDC_LIST_TEST);
    std::unique_ptr<CSortedListCtrl> list = std::make_unique<CSortedListCtrl>();
};
HWND ListTest::dialog = nullptr;

TEST_F(ListTest, HeaderClicksSortByValue)
{
    EXPECT_EQ(Order(), "delta alpha charlie bravo");   // a full path shows its file name
    const struct {
        int column;
        const char* order;
        BOOL ascending;
    } clicks[] = {
        {kCount, "delta alpha charlie bravo", TRUE},
        {kCount, "bravo charlie alpha delta", FALSE},
        {kCount, "delta alpha charlie bravo", TRUE},
        {kSize, "alpha bravo charlie delta", TRUE},       // 999 bytes, 1000 bytes, 48.8 KB, 1.95 MB
        {kModified, "charlie delta bravo alpha", TRUE},   // 9/1/2019 before 10/1/2019 whatever the text
        {kName, "alpha bravo charlie delta", TRUE},
    };
    for (const auto& click : clicks) {
        ClickHeader(click.column);
        EXPECT_EQ(Order(), click.order) << "column " << click.column;
        EXPECT_EQ(list->bAscending, click.ascending) << "column " << click.column;
    }
    // Beta and BETA compare equal and keep their order by name (the platform
    // sort keeps ties); a case-aware comparison puts Beta first.
    ClickHeader(kKind);
    EXPECT_EQ(Order(), "alpha charlie delta bravo");
}

// Typed integers are read and sorted through the editor (below); a size set
// as text sorts by its value too.
TEST_F(ListTest, EditedSizeSortsByItsNewValue)
{
    list->SetItemText(3, kSize, L"1");     // bravo: 1 byte, the text stays as given
    list->Sort(kSize, FALSE);
    EXPECT_EQ(Order(), "delta charlie alpha bravo");
    EXPECT_WEQ(L"1", list->GetTextArray(3)[kSize]);
    list->Sort(-1, TRUE);   // no sort column: the order stays
    EXPECT_EQ(Order(), "delta charlie alpha bravo");
}

TEST_F(ListTest, ThemedHeaderMovesTheFormatBits)
{
    list->bThemedHeader = TRUE;   // as with common controls 6
    const int arrows = HDF_SORTUP | HDF_SORTDOWN;
    const struct {
        int click, format0, format1;
    } steps[] = {{0, HDF_SORTUP, 0}, {0, HDF_SORTDOWN, 0}, {1, 0, HDF_SORTUP}};
    for (const auto& step : steps) {
        ClickHeader(step.click);
        EXPECT_EQ(HeaderFormat(list->hHeader, 0) & arrows, step.format0) << "after a click on " << step.click;
        EXPECT_EQ(HeaderFormat(list->hHeader, 1) & (arrows | HDF_OWNERDRAW), step.format1) << step.click;
    }
}

TEST_F(ListTest, OwnerDrawnHeaderShowsTheArrow)
{
    list->bThemedHeader = FALSE;
    const COLORREF face = GetSysColor(COLOR_3DFACE), light = GetSysColor(COLOR_3DHILIGHT);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    ASSERT_TRUE(face != light && face != shadow);
    RECT item = {};
    SendMessageW(list->hHeader, HDM_GETITEMRECT, kSize, reinterpret_cast<LPARAM>(&item));
    const int m = (item.bottom - item.top) / 4, x = item.right, y = item.bottom;
    auto pixel = [&](POINT at) { return HeaderPixel(list->hHeader, at); };
    // Per direction: where each pen starts, a point of the flat edge, a point inside.
    const struct {
        POINT at;
        COLORREF color;
    } arrows[2][4] = {
        {{{x - 2 * m, m}, light}, {{x - 3 * m - 1, y - m - 1}, shadow}, {{x - 2 * m - 1, y - m - 1}, light},
         {{x - 2 * m, y - m - 3}, face}},
        {{{x - m - 1, m}, light}, {{x - 2 * m - 2, y - m}, shadow}, {{x - 2 * m - 1, m}, shadow},
         {{x - 2 * m - 1, m + 2}, face}},
    };
    for (const auto& arrow : arrows) {
        ClickHeader(kSize);   // ascending, then descending
        ASSERT_TRUE(HeaderFormat(list->hHeader, kSize) & HDF_OWNERDRAW);
        for (const auto& probe : arrow)
            EXPECT_EQ(pixel(probe.at), probe.color) << "ascending " << list->bAscending << " at x - " << x - probe.at.x
                                                    << ", " << probe.at.y;
    }
    // The arrow moves on; the former item stays owner-drawn, without one.
    ClickHeader(kKind);
    EXPECT_EQ(pixel(arrows[0][0].at), face);
}

TEST_F(ListTest, ControlAAndDelete)
{
    Key(view, 'A');
    EXPECT_EQ(SendMessageW(view, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    Key(view, 'A', true);
    EXPECT_EQ(SendMessageW(view, LVM_GETSELECTEDCOUNT, 0, 0), 4);
    SelectOnly({1, 2});
    list->bDeleteDisabled = 1;
    Key(view, VK_DELETE);
    EXPECT_EQ(list->GetItemCount(), 4);
    EXPECT_FALSE(list->IsModified());
    list->bDeleteDisabled = 2;   // only exactly 1 switches it off
    Key(view, VK_DELETE);
    EXPECT_EQ(Order(), "delta bravo");
    EXPECT_EQ(live, 2);
    EXPECT_TRUE(list->IsModified());
}

TEST_F(ListTest, SingleClickEditing)
{
    list->Sort(kCount, TRUE);
    list->SetModified(FALSE);

    // Escape: nothing changes, nothing re-sorts.
    ClickCell(0, kCount);
    HWND editor = list->hEdit;
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(GetWindowLongW(editor, GWL_STYLE) & (ES_NUMBER | ES_RIGHT), ES_NUMBER | ES_RIGHT);
    EXPECT_EQ(Utf8(TextOf(editor).c_str()), "10");
    SendTyping(editor, L"99");
    Key(editor, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(list->hEdit, nullptr);
    EXPECT_EQ(Cell(0, kCount), "10");
    EXPECT_FALSE(list->IsModified());
    EXPECT_TRUE(hookCalls.empty());

    // Enter: digits only; the value and the hook follow; the row takes its sorted place.
    ClickCell(0, kCount);
    SendTyping(list->hEdit, L"5x0");
    Key(list->hEdit, VK_RETURN);
    EXPECT_EQ(Order(), "alpha charlie bravo delta");
    EXPECT_EQ(Cell(3, kCount), "50");
    EXPECT_EQ(list->GetItemDataEx(3)->intValues[kCount], 50);
    ASSERT_EQ(hookCalls, (std::vector<std::pair<int, int>>{{0, 50}}));   // the row as edited
    EXPECT_TRUE(list->IsModified());

    // Tab commits too; an emptied integer cell shows nothing and counts 0.
    ClickCell(2, kCount);
    SetWindowTextW(list->hEdit, L"");
    Key(list->hEdit, VK_TAB);
    EXPECT_EQ(Order(), "bravo alpha charlie delta");
    EXPECT_EQ(Cell(0, kCount), "");
    EXPECT_EQ(hookCalls.back(), std::make_pair(2, 0));

    // An emptied text cell keeps its text but still counts as a change.
    list->SetModified(FALSE);
    ClickCell(1, kName);
    SetWindowTextW(list->hEdit, L"");
    Key(list->hEdit, VK_RETURN);
    EXPECT_EQ(Cell(1, kName), "alpha");
    EXPECT_TRUE(list->IsModified());

    // Sizes are not typed in; a non-editable cell and a click below the rows open nothing.
    ClickCell(1, kSize);
    SendTyping(list->hEdit, L"7");
    Key(list->hEdit, VK_RETURN);
    EXPECT_EQ(list->GetItemDataEx(1)->sizeValues[kSize], 999);
    ClickCell(1, kKind);
    EXPECT_EQ(list->hEdit, nullptr);
    RECT client;
    GetClientRect(view, &client);
    Click(view, 20, client.bottom - 5);
    EXPECT_EQ(list->hEdit, nullptr);

    // A click on another cell commits the open editor and opens one new one;
    // a second editor never opens beside it.
    ClickCell(1, kName);
    SetWindowTextW(list->hEdit, L"echo");
    ClickCell(3, kName);
    list->EditSubItem(0, kName);
    EXPECT_EQ(Editors(), 1);
    EXPECT_WEQ(L"echo", list->GetTextArray(1)[kName]);
    EXPECT_EQ(list->nEditItem, 3);
    Key(list->hEdit, VK_ESCAPE);

    list->Sort(kName, TRUE);
    ClickCell(2, kCount);
    SaveScreenshot(dialog, L"sorted-list-editing.png");
    // A header click while editing commits the editor before it sorts.
    SetWindowTextW(list->hEdit, L"7");
    ClickHeader(kCount);
    EXPECT_EQ(Editors(), 0);
    EXPECT_EQ(Order(), "bravo delta echo charlie");
}

TEST_F(ListTest, EditorLiesOverTheCellAfterScrolling)
{
    for (int k = 0; k < 5; ++k)
        SendMessageW(view, LVM_SETCOLUMNWIDTH, k, 200);
    SendMessageW(view, LVM_SCROLL, 300, 0);   // column 1 (200..400) starts left of the view
    ASSERT_LT(CellRect(2, kSize).left, 0);
    ClickCell(2, kSize);
    ASSERT_NE(list->hEdit, nullptr);
    const RECT cell = CellRect(2, kSize);
    RECT editor;
    GetWindowRect(list->hEdit, &editor);
    MapWindowPoints(nullptr, view, reinterpret_cast<POINT*>(&editor), 2);
    EXPECT_GE(cell.left, 0);
    EXPECT_EQ(editor.left, cell.left + 4);
    EXPECT_EQ(editor.top, cell.top);
    Key(list->hEdit, VK_ESCAPE);
}

TEST_F(ListTest, MovingOneRow)
{
    list->Sort(kName, TRUE);
    void* alphaObject = list->GetItemData(0);
    const struct {
        std::initializer_list<int> selected;
        int step, result;
        const char* order;
    } moves[] = {
        {{0}, -1, 0, "alpha bravo charlie delta"}, {{3}, 1, 0, "alpha bravo charlie delta"},
        {{}, -1, 0, "alpha bravo charlie delta"},  {{0}, 1, 1, "bravo alpha charlie delta"},
        {{1}, 1, 1, "bravo charlie alpha delta"},  {{2}, -1, 1, "bravo alpha charlie delta"},
    };
    for (const auto& move : moves) {
        SelectOnly(move.selected);
        const int row = move.selected.size() ? *move.selected.begin() : -1;
        EXPECT_EQ(move.step < 0 ? list->MoveItemUp() : list->MoveItemDown(), move.result) << "row " << row;
        EXPECT_EQ(Order(), move.order) << "row " << row;
        if (move.result)
            EXPECT_EQ(list->GetFirstSelItem(), row + move.step);
    }
    EXPECT_EQ(list->nSortColumn, -1);
    EXPECT_EQ(list->GetItemData(1), alphaObject);   // the record moved with its texts
    EXPECT_EQ(Cell(1, kCount), "20");

    // Several rows: the user is told, nothing moves.
    SelectOnly({0, 1});
    ModalDriver driver;
    bool told = false;
    driver.Then([&] {
        HWND box = DialogWithCaption(L"Error");
        if (box) {
            told = ChildWithText(box, L"Please select only one item to move.") != nullptr;
            PostClick(box, IDOK);
        }
        return box != nullptr;
    });
    driver.Start();
    EXPECT_EQ(list->MoveItemDown(), 0);
    EXPECT_TRUE(told && driver.Finished());
    EXPECT_EQ(Order(), "bravo alpha charlie delta");

    ClickHeader(kName);   // the next header click starts ascending again
    EXPECT_EQ(Order(), "alpha bravo charlie delta");
}

void SelectFirst(CSortedListCtrl& list)
{
    LVITEMW item = {};
    item.stateMask = item.state = LVIS_SELECTED;
    SendMessageW(list.hList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
}

TEST_F(ListTest, EveryKindOfChangeSetsModified)
{
    const struct {
        const char* change;
        void (*run)(CSortedListCtrl&);
        BOOL modified;
    } changes[] = {
        {"AddItem", [](CSortedListCtrl& l) { l.AddItem(L"echo", 1LL, L"", &kZeroTime, 1); }, TRUE},
        {"AddItem of nothing", [](CSortedListCtrl& l) { EXPECT_EQ(l.AddItem(L""), -1); }, FALSE},
        {"InsertItem", [](CSortedListCtrl& l) { l.InsertItem(L"plain", -1); }, TRUE},
        {"SetItemText", [](CSortedListCtrl& l) { l.SetItemText(0, kKind, L"x"); }, TRUE},
        {"Sort", [](CSortedListCtrl& l) { l.Sort(kCount, FALSE); }, TRUE},
        {"Resort", [](CSortedListCtrl& l) { l.Resort(); }, TRUE},
        {"MoveItemDown", [](CSortedListCtrl& l) { SelectFirst(l); EXPECT_EQ(l.MoveItemDown(), 1); }, TRUE},
        {"DeleteItem", [](CSortedListCtrl& l) { l.DeleteItem(0); }, TRUE},
        {"DeleteAllSelectedItems", [](CSortedListCtrl& l) { SelectFirst(l), l.DeleteAllSelectedItems(); }, TRUE},
        {"DeleteAllItems", [](CSortedListCtrl& l) { l.DeleteAllItems(); }, FALSE},
    };
    for (const auto& change : changes) {
        list->SetModified(FALSE);
        change.run(*list);
        EXPECT_EQ(list->IsModified(), change.modified) << change.change;
    }
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(live, 0);
}

TEST_F(ListTest, RowObjectsAreReleasedOnEveryWayOut)
{
    list->SetItemData(0, MakeObject(), ReleaseObject);   // the former object goes
    EXPECT_EQ(live, 4);
    const int plain = list->InsertItem(L"plain", -1);   // no record: takes no object
    void* stray = MakeObject();
    list->SetItemData(plain, stray, ReleaseObject);
    EXPECT_EQ(list->GetItemData(plain), nullptr);
    ReleaseObject(stray);
    EXPECT_EQ(list->GetItemDataEx(99), nullptr);
    EXPECT_EQ(list->InsertColumn(L"Late", 50, COLUMN_TEXT, LVCFMT_LEFT, 0), -1);
    list->DeleteAllItems();
    EXPECT_EQ(live, 0);

    // The window's destruction releases the rows, here of a list in another dialog.
    HWND other = OpenDialog();
    CSortedListCtrl second;
    second.Create(GetDlgItem(other, IDC_LIST_TEST));
    second.InsertColumn(L"Name", 100, COLUMN_TEXT, LVCFMT_LEFT, 0);
    for (const WCHAR* name : {L"one", L"two", L"three"})
        second.SetItemData(second.AddItem(name), MakeObject(), ReleaseObject);
    EXPECT_EQ(live, 3);
    DestroyWindow(other);
    EXPECT_EQ(live, 0);   // and every TearDown counts what the destructor releases
}

TEST(ListParsing, DecimalsReadLikeTheRuntime)
{
    const struct {
        const WCHAR* text;
        LONGLONG value;
    } cases[] = {
        {L"12", 12}, {L"  -42xyz", -42}, {L"\t+7", 7}, {L"x7", 0}, {L"", 0}, {nullptr, 0}, {L"- 5", 0},
        {L"99999999999", INT_MAX}, {L"-99999999999", INT_MIN}, {L"-2147483648", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lorvex::ParseInt(c.text), c.value) << (c.text ? Utf8(c.text) : "null");
    EXPECT_EQ(lorvex::ParseDecimal(L"-9223372036854775808", LLONG_MIN, LLONG_MAX), LLONG_MIN);
    EXPECT_EQ(lorvex::ParseDecimal(L"92233720368547758070", LLONG_MIN, LLONG_MAX), LLONG_MAX);
}

}  // namespace
}  // namespace lvtest
