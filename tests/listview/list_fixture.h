// One test dialog holding a report list, shared by the suite (showing and
// destroying a top-level window costs seconds under Xvfb); each test attaches
// a fresh CSortedListCtrl to the list with its own columns.
#pragma once
#include <lorvexops/lorvexops.h>
#include "testsupport.h"
#include "test_ids.h"

#include <memory>
#include <string>

namespace lvtest {

struct ColumnSpec {
    const WCHAR* title;
    enColumnType type;
    int editable;
    int width = 90;
    int format = LVCFMT_LEFT;
};

// Row objects handed to the list with a counting deleter: live() must fall
// back to 0 whenever the list has released its rows.
struct RowObject {
    static int live;
    static void Release(void* object);
    static void* Make();
};

class ListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    void Columns(std::initializer_list<ColumnSpec> specs);
    // Column 0's texts in list order, separated by blanks.
    std::string Order();
    // A click as the mouse sends it: button down and up at the point.
    static void Click(HWND window, POINT at, WPARAM keys = 0);
    void ClickHeader(int column);
    void ClickCell(int row, int column);
    RECT CellRect(int row, int column);
    void Key(HWND window, WPARAM key, bool control = false);
    void SelectOnly(std::initializer_list<int> rows);

    static HWND dialog;
    HWND listWindow = nullptr;
    std::unique_ptr<CSortedListCtrl> list;
};

HWND OpenTestDialog();   // modeless, shown
FILETIME UtcTime(int year, int month, int day, int hour = 12);

}  // namespace lvtest
