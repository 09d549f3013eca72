// The list driven as a user drives it: header clicks and the arrow they
// leave, Ctrl+A and Delete, single-click editing, moving rows, and the row
// objects released on every way out.
#include "list_fixture.h"
#include "modaldriver.h"

#include <vector>

namespace lvtest {
namespace {

struct HookCall {
    int row, value;
};
std::vector<HookCall> hookCalls;
void RecordHook(int row, int value)
{
    hookCalls.push_back({row, value});
}

const LVITEMW kSelected = [] {
    LVITEMW item = {};
    item.stateMask = item.state = LVIS_SELECTED;
    return item;
}();

int HeaderFormat(HWND header, int column)
{
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
    return item.fmt;
}

// The header as it paints itself (owner-drawn items through the list).
class HeaderImage {
public:
    explicit HeaderImage(HWND header)
    {
        GetClientRect(header, &rect);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = rect.right;
        info.bmiHeader.biHeight = -rect.bottom;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, section);
        SendMessageW(header, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        GdiFlush();
    }
    ~HeaderImage()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(section);
    }
    COLORREF At(int x, int y) const
    {
        const DWORD pixel = bits[y * rect.right + x];
        return RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));   // BGRA in memory
    }
    RECT rect = {};

private:
    HBITMAP section = nullptr;
    HDC dc = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;
};

class WindowTest : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        hookCalls.clear();
        Columns({{L"Name", COLUMN_TEXT, 1}, {L"Count", COLUMN_INTEGER, 1, 90, LVCFMT_RIGHT},
                 {L"Size", COLUMN_FILESIZE, 1}, {L"Note", COLUMN_TEXT, 0}});
        const WCHAR* names[] = {L"delta", L"alpha", L"charlie", L"bravo"};
        for (int i = 0; i < 4; ++i) {
            list->AddItem(names[i], 10 * (i + 1), static_cast<LONGLONG>(1000 * i), L"note");
            list->SetItemData(i, RowObject::Make(), RowObject::Release);
        }
        list->SetNumericHook(RecordHook);
        list->SetModified(FALSE);
    }
    std::string Cell(int row, int column)
    {
        WCHAR text[100] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 100;
        SendMessageW(listWindow, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return Utf8(text);
    }
    int EditorCount()
    {
        int count = 0;
        for (HWND child = GetWindow(listWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            WCHAR name[16] = {};
            GetClassNameW(child, name, 16);
            count += lstrcmpiW(name, L"Edit") == 0;
        }
        return count;
    }
};

TEST_F(WindowTest, ThemedHeaderMovesTheFormatBits)
{
    list->bThemedHeader = TRUE;   // as with common controls 6
    const int arrows = HDF_SORTUP | HDF_SORTDOWN;
    const struct {
        int click;
        int format0, format1;
    } steps[] = {
        {0, HDF_SORTUP, 0},
        {0, HDF_SORTDOWN, 0},
        {1, 0, HDF_SORTUP},
    };
    for (const auto& step : steps) {
        ClickHeader(step.click);
        EXPECT_EQ(HeaderFormat(list->hHeader, 0) & arrows, step.format0) << "after a click on " << step.click;
        EXPECT_EQ(HeaderFormat(list->hHeader, 1) & arrows, step.format1) << "after a click on " << step.click;
        EXPECT_EQ(HeaderFormat(list->hHeader, 1) & HDF_OWNERDRAW, 0);
    }
}

TEST_F(WindowTest, OwnerDrawnHeaderShowsTheArrow)
{
    list->bThemedHeader = FALSE;
    const COLORREF face = GetSysColor(COLOR_3DFACE), light = GetSysColor(COLOR_3DHILIGHT),
                   shadow = GetSysColor(COLOR_3DSHADOW);
    ASSERT_TRUE(face != light && face != shadow);
    for (BOOL ascending : {TRUE, FALSE}) {
        ClickHeader(1);
        ASSERT_EQ(list->bAscending, ascending);
        ASSERT_TRUE(HeaderFormat(list->hHeader, 1) & HDF_OWNERDRAW);
        HeaderImage image(list->hHeader);
        RECT item = {};
        SendMessageW(list->hHeader, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
        const int m = (item.bottom - item.top) / 4, x = item.right, y = item.bottom;
        // Where each pen's line starts, for this direction.
        const POINT lightStart = ascending ? POINT{x - 2 * m, m} : POINT{x - m - 1, m};
        const POINT shadowStart = ascending ? POINT{x - 3 * m - 1, y - m - 1} : POINT{x - 2 * m - 2, y - m};
        EXPECT_EQ(image.At(lightStart.x, lightStart.y), light) << "ascending " << ascending;
        EXPECT_EQ(image.At(shadowStart.x, shadowStart.y), shadow) << "ascending " << ascending;
        // The triangle's inside stays face-coloured.
        const POINT inside = ascending ? POINT{x - 2 * m, y - m - 3} : POINT{x - 2 * m - 1, m + 2};
        EXPECT_EQ(image.At(inside.x, inside.y), face) << "ascending " << ascending;
    }
    // Sorting another column takes the arrow along; the former item stays owner-drawn, plain.
    ClickHeader(2);
    HeaderImage image(list->hHeader);
    RECT item = {};
    SendMessageW(list->hHeader, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const int m = (item.bottom - item.top) / 4;
    EXPECT_EQ(image.At(item.right - 2 * m, m), face);
}

TEST_F(WindowTest, ControlAAndDelete)
{
    Key(listWindow, 'A');
    EXPECT_EQ(SendMessageW(listWindow, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    Key(listWindow, 'A', true);
    EXPECT_EQ(SendMessageW(listWindow, LVM_GETSELECTEDCOUNT, 0, 0), 4);
    SelectOnly({1, 2});
    list->bDeleteDisabled = 1;
    Key(listWindow, VK_DELETE);
    EXPECT_EQ(list->GetItemCount(), 4);
    EXPECT_FALSE(list->IsModified());
    list->bDeleteDisabled = 2;   // only exactly 1 switches it off
    Key(listWindow, VK_DELETE);
    EXPECT_EQ(Order(), "delta bravo");
    EXPECT_EQ(RowObject::live, 2);
    EXPECT_TRUE(list->IsModified());
}

TEST_F(WindowTest, SingleClickEditing)
{
    list->Sort(1, TRUE);   // alpha?: counts 10 delta, 20 alpha, 30 charlie, 40 bravo
    ASSERT_EQ(Order(), "delta alpha charlie bravo");
    list->SetModified(FALSE);

    // Escape: nothing changes, nothing re-sorts.
    ClickCell(0, 1);
    ASSERT_NE(list->hEdit, nullptr);
    HWND editor = list->hEdit;
    EXPECT_TRUE(GetWindowLongW(editor, GWL_STYLE) & ES_NUMBER);
    EXPECT_TRUE(GetWindowLongW(editor, GWL_STYLE) & ES_RIGHT);
    EXPECT_EQ(Utf8(TextOf(editor).c_str()), "10");
    SendTyping(editor, L"99");
    Key(editor, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(list->hEdit, nullptr);
    EXPECT_EQ(Cell(0, 1), "10");
    EXPECT_FALSE(list->IsModified());
    EXPECT_TRUE(hookCalls.empty());

    // Enter: digits only, the value and the hook follow, the row takes its sorted place.
    ClickCell(0, 1);
    SendTyping(list->hEdit, L"5x0");
    Key(list->hEdit, VK_RETURN);
    EXPECT_EQ(Order(), "alpha charlie bravo delta");
    EXPECT_EQ(Cell(3, 1), "50");
    EXPECT_EQ(list->GetItemDataEx(3)->intValues[1], 50);
    ASSERT_EQ(hookCalls.size(), 1u);
    EXPECT_EQ(hookCalls[0].row, 0);   // the row as it was edited, before the re-sort
    EXPECT_EQ(hookCalls[0].value, 50);
    EXPECT_TRUE(list->IsModified());

    // Tab commits too; an emptied integer cell shows nothing and counts 0.
    ClickCell(2, 1);
    SetWindowTextW(list->hEdit, L"");
    Key(list->hEdit, VK_TAB);
    EXPECT_EQ(Order(), "bravo alpha charlie delta");
    EXPECT_EQ(Cell(0, 1), "");
    EXPECT_EQ(hookCalls.back().value, 0);

    // An emptied text cell keeps its text but still counts as a change.
    list->SetModified(FALSE);
    ClickCell(1, 0);
    SetWindowTextW(list->hEdit, L"");
    Key(list->hEdit, VK_RETURN);
    EXPECT_EQ(Cell(1, 0), "alpha");
    EXPECT_TRUE(list->IsModified());

    // Sizes are not typed in; non-editable cells open nothing.
    ClickCell(1, 2);
    SendTyping(list->hEdit, L"7");
    Key(list->hEdit, VK_RETURN);
    EXPECT_EQ(list->GetItemDataEx(1)->sizeValues[2], 1000);
    ClickCell(1, 3);
    EXPECT_EQ(list->hEdit, nullptr);

    // A click on another cell while editing commits the first editor and
    // opens one new one; a second editor is never opened beside it.
    ClickCell(1, 0);
    SetWindowTextW(list->hEdit, L"echo");
    ClickCell(3, 0);
    list->EditSubItem(0, 0);
    EXPECT_EQ(EditorCount(), 1);
    EXPECT_WEQ(L"echo", list->GetTextArray(1)[0]);
    EXPECT_EQ(list->nEditItem, 3);
    Key(list->hEdit, VK_ESCAPE);

    // A click below the rows opens nothing.
    RECT client;
    GetClientRect(listWindow, &client);
    Click(listWindow, POINT{20, client.bottom - 5});
    EXPECT_EQ(list->hEdit, nullptr);

    list->bThemedHeader = FALSE;
    list->Sort(0, TRUE);
    ClickCell(2, 1);
    SaveScreenshot(dialog, (ScreenshotDir() + L"\\sorted-list-editing.png").c_str());
    // A header click while editing commits the editor before it sorts.
    SetWindowTextW(list->hEdit, L"7");
    ClickHeader(1);
    EXPECT_EQ(EditorCount(), 0);
    EXPECT_EQ(Order(), "bravo delta echo charlie");
}

TEST_F(WindowTest, EditorLiesOverTheCellAfterScrolling)
{
    for (int k = 0; k < 4; ++k)
        SendMessageW(listWindow, LVM_SETCOLUMNWIDTH, k, 200);
    SendMessageW(listWindow, LVM_SCROLL, 300, 0);   // column 1 (200..400) starts left of the view
    ASSERT_LT(CellRect(2, 1).left, 0);
    ClickCell(2, 1);
    ASSERT_NE(list->hEdit, nullptr);
    const RECT cell = CellRect(2, 1);
    RECT editor;
    GetWindowRect(list->hEdit, &editor);
    MapWindowPoints(nullptr, listWindow, reinterpret_cast<POINT*>(&editor), 2);
    EXPECT_GE(cell.left, 0);
    EXPECT_EQ(editor.left, cell.left + 4);
    EXPECT_EQ(editor.top, cell.top);
    Key(list->hEdit, VK_ESCAPE);
}

TEST_F(WindowTest, MovingOneRow)
{
    list->Sort(0, TRUE);   // alpha bravo charlie delta
    void* alphaObject = list->GetItemData(0);
    const struct {
        std::initializer_list<int> selected;
        bool up;
        int result;
        const char* order;
    } moves[] = {
        {{0}, true, 0, "alpha bravo charlie delta"},
        {{3}, false, 0, "alpha bravo charlie delta"},
        {{}, true, 0, "alpha bravo charlie delta"},
        {{0}, false, 1, "bravo alpha charlie delta"},
        {{1}, false, 1, "bravo charlie alpha delta"},
        {{2}, true, 1, "bravo alpha charlie delta"},
    };
    for (const auto& move : moves) {
        SelectOnly(move.selected);
        const int row = move.selected.size() ? *move.selected.begin() : -1;
        EXPECT_EQ(move.up ? list->MoveItemUp() : list->MoveItemDown(), move.result) << "row " << row;
        EXPECT_EQ(Order(), move.order) << "row " << row;
        if (move.result)
            EXPECT_EQ(list->GetFirstSelItem(), row + (move.up ? -1 : 1));
    }
    EXPECT_EQ(list->nSortColumn, -1);
    EXPECT_EQ(list->GetItemData(1), alphaObject);   // the record moved with its texts
    EXPECT_EQ(Cell(1, 1), "20");

    // Several rows: the user is told, nothing moves.
    SelectOnly({0, 1});
    ModalDriver driver;
    bool told = false;
    driver.Then([&] {
        HWND box = DialogWithCaption(L"Error");
        if (!box)
            return false;
        told = ChildWithText(box, L"Please select only one item to move.") != nullptr;
        PostClick(box, IDOK);
        return true;
    });
    driver.Start();
    EXPECT_EQ(list->MoveItemDown(), 0);
    EXPECT_TRUE(told);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(Order(), "bravo alpha charlie delta");

    // The next header click starts ascending again.
    ClickHeader(0);
    EXPECT_TRUE(list->bAscending);
    EXPECT_EQ(Order(), "alpha bravo charlie delta");
}

TEST_F(WindowTest, EveryKindOfChangeSetsModified)
{
    const struct {
        const char* change;
        void (*run)(CSortedListCtrl&);
        BOOL modified;
    } changes[] = {
        {"AddItem", [](CSortedListCtrl& l) { l.AddItem(L"echo", 1, 1LL, L""); }, TRUE},
        {"AddItem of nothing", [](CSortedListCtrl& l) { EXPECT_EQ(l.AddItem(L"", 1, 1LL, L""), -1); }, FALSE},
        {"InsertItem", [](CSortedListCtrl& l) { l.InsertItem(L"plain", -1); }, TRUE},
        {"SetItemText", [](CSortedListCtrl& l) { l.SetItemText(0, 3, L"x"); }, TRUE},
        {"Sort", [](CSortedListCtrl& l) { l.Sort(1, FALSE); }, TRUE},
        {"Resort", [](CSortedListCtrl& l) { l.Resort(); }, TRUE},
        {"MoveItemDown",
         [](CSortedListCtrl& l) {
             SendMessageW(l.hList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&kSelected));
             EXPECT_EQ(l.MoveItemDown(), 1);
         },
         TRUE},
        {"DeleteItem", [](CSortedListCtrl& l) { l.DeleteItem(0); }, TRUE},
        {"DeleteAllSelectedItems", [](CSortedListCtrl& l) { l.SelectAllItems(); l.DeleteAllSelectedItems(); }, TRUE},
        {"DeleteAllItems", [](CSortedListCtrl& l) { l.DeleteAllItems(); }, FALSE},
    };
    for (const auto& change : changes) {
        list->SetModified(FALSE);
        change.run(*list);
        EXPECT_EQ(list->IsModified(), change.modified) << change.change;
    }
    EXPECT_EQ(RowObject::live, 0);
    EXPECT_EQ(list->GetItemCount(), 0);
}

TEST_F(WindowTest, RowObjectsAreReleasedOnEveryWayOut)
{
    // Replacing an object releases the former one; a row without a record takes none.
    list->SetItemData(0, RowObject::Make(), RowObject::Release);
    EXPECT_EQ(RowObject::live, 4);
    const int plain = list->InsertItem(L"plain", -1);
    void* stray = RowObject::Make();
    list->SetItemData(plain, stray, RowObject::Release);
    EXPECT_EQ(list->GetItemData(plain), nullptr);
    RowObject::Release(stray);
    EXPECT_EQ(list->GetItemDataEx(99), nullptr);
    EXPECT_EQ(list->InsertColumn(L"Late", 50, COLUMN_TEXT, LVCFMT_LEFT, 0), -1);

    list->DeleteAllItems();
    EXPECT_EQ(RowObject::live, 0);

    // The window's destruction releases the rows of a list in another dialog.
    HWND other = OpenTestDialog();
    ASSERT_NE(other, nullptr);
    CSortedListCtrl second;
    second.Create(GetDlgItem(other, IDC_LIST_TEST));
    second.InsertColumn(L"Name", 100, COLUMN_TEXT, LVCFMT_LEFT, 0);
    for (const WCHAR* name : {L"one", L"two", L"three"}) {
        second.SetItemData(second.AddItem(name), RowObject::Make(), RowObject::Release);
    }
    EXPECT_EQ(RowObject::live, 3);
    DestroyWindow(other);
    EXPECT_EQ(RowObject::live, 0);

    // The destructor (TearDown checks the count) releases what is left.
    list->Create(listWindow);
    list->AddItem(L"last", 1, 1LL, L"");
    list->SetItemData(0, RowObject::Make(), RowObject::Release);
}

}  // namespace
}  // namespace lvtest
