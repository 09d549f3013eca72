// Typed columns sorted by value through header clicks, the sort arrow in both
// header modes, and what the rows own.
#include "list_fixture.h"

#include "../../listview/listview_internal.h"

#include <vector>

namespace lvtest {
namespace {

// Name, size, kind, modified, index: each column's text order differs from
// its value order.
void AddTypedRows(CSortedListCtrl& list)
{
    const FILETIME sep = UtcTime(2019, 9, 1), oct = UtcTime(2019, 10, 1), jan = UtcTime(2021, 1, 1);
    list.AddItem(L"Z:\\pics\\b.jpg", 2048000LL, L"Beta", &oct, 7);
    list.AddItem(L"a.jpg", 999LL, L"alpha", &jan, 5);
    list.AddItem(L"c.jpg", 50000LL, L"BETA", &sep, 3);
}

class SortTest : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        Columns({{L"Name", COLUMN_TEXT, 0}, {L"Size", COLUMN_FILESIZE, 0}, {L"Kind", COLUMN_TEXT, 0},
                 {L"Modified", COLUMN_FILETIME, 0}, {L"Index", COLUMN_INTEGER, 0}});
        AddTypedRows(*list);
    }
};

TEST_F(SortTest, HeaderClicksSortByValue)
{
    EXPECT_EQ(Order(), "b.jpg a.jpg c.jpg");   // full path shown as its file name
    struct {
        int column;
        const char* order;
        BOOL ascending;
    } const clicks[] = {
        {4, "c.jpg a.jpg b.jpg", TRUE},    // 3 5 7
        {4, "b.jpg a.jpg c.jpg", FALSE},
        {4, "c.jpg a.jpg b.jpg", TRUE},
        {1, "a.jpg c.jpg b.jpg", TRUE},    // 999 bytes, 48.8 KB, 1.95 MB
        {3, "c.jpg b.jpg a.jpg", TRUE},    // September before October before 2021, whatever the text
        {0, "a.jpg b.jpg c.jpg", TRUE},
    };
    for (const auto& click : clicks) {
        ClickHeader(click.column);
        EXPECT_EQ(Order(), click.order) << "column " << click.column;
        EXPECT_EQ(list->nSortColumn, click.column);
        EXPECT_EQ(list->bAscending, click.ascending) << "column " << click.column;
    }
    // Letter case ignored: alpha first, the two betas side by side.
    ClickHeader(2);
    EXPECT_EQ(Order().substr(0, 5), "a.jpg");
}

TEST_F(SortTest, EditedTextsSortByTheirNewValues)
{
    list->SetItemText(2, 4, L"12");   // c.jpg: 3 -> 12
    list->SetItemText(0, 4, L"x7");   // b.jpg: a leading letter reads 0
    list->SetItemText(1, 1, L"1");    // a.jpg: 999 -> 1 byte, the text stays as given
    list->Sort(4, TRUE);
    EXPECT_EQ(Order(), "b.jpg a.jpg c.jpg");
    list->Sort(1, FALSE);
    EXPECT_EQ(Order(), "b.jpg c.jpg a.jpg");
    EXPECT_WEQ(L"1", list->GetTextArray(2)[1]);
    // No sort column: the order stays.
    list->Sort(-1, TRUE);
    EXPECT_EQ(Order(), "b.jpg c.jpg a.jpg");
}

TEST(ListParsing, DecimalsReadLikeTheRuntime)
{
    const struct {
        const WCHAR* text;
        LONGLONG asInt;
    } cases[] = {
        {L"12", 12}, {L"  -42xyz", -42}, {L"\t+7", 7}, {L"x7", 0}, {L"", 0}, {nullptr, 0}, {L"- 5", 0},
        {L"99999999999", INT_MAX}, {L"-99999999999", INT_MIN}, {L"-2147483648", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lorvex::ParseInt(c.text), c.asInt) << (c.text ? Utf8(c.text) : "null");
    EXPECT_EQ(lorvex::ParseDecimal(L"-9223372036854775808", LLONG_MIN, LLONG_MAX), LLONG_MIN);
    EXPECT_EQ(lorvex::ParseDecimal(L"92233720368547758070", LLONG_MIN, LLONG_MAX), LLONG_MAX);
}

}  // namespace
}  // namespace lvtest
