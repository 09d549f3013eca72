// The records' starting values and the entry order on hand-made entries.
#include "folder_fixture.h"

namespace {

struct Entry {
    CFileEntry record;
    Entry(const WCHAR* path, DWORD size, int hours)
    {
        record.pName = new MyString(path);
        record.dwSize = size;
        record.ftLastWrite = fx::Hours(hours);
    }
};

}  // namespace

TEST(FileRecords, StartingValues)
{
    CInfoBrowse browse;
    EXPECT_EQ(browse.pPath, nullptr);
    EXPECT_EQ(browse.bHostFlag, 1);
    EXPECT_EQ(browse.nIndex, -1);
    EXPECT_EQ(browse.nFirst, 0);
    EXPECT_EQ(browse.nLast, 0);
    EXPECT_EQ(browse.nIndexUpdate, -1);
    EXPECT_EQ(browse.bHasFiles, 0);
    CFileEntry entry;
    EXPECT_EQ(entry.pName, nullptr);
    EXPECT_EQ(entry.dwSize, 0u);
    EXPECT_EQ(entry.ftLastWrite.dwLowDateTime | entry.ftLastWrite.dwHighDateTime, 0u);
    EXPECT_EQ(gdwSortingMode, 0u);
    EXPECT_NE(bSortAscending, 0);
}

TEST(EntryOrder, ExtensionsIgnoreCaseAndMissingOnesGoLast)
{
    Entry a(L"C:\\p\\a.BMP", 1, 0), b(L"C:\\p\\b.gif", 1, 0), c(L"C:\\p\\c.jpg", 1, 0);
    Entry none(L"C:\\p\\README", 1, 0), none2(L"C:\\p.d\\LICENSE", 1, 0), upper(L"C:\\p\\z.JPG", 1, 0);
    Entry spaced(L"C:\\p\\x.j pg", 1, 0);   // a space after the dot: no extension
    struct Case { const char* label; const Entry& first; const Entry& second; bool ascending; bool descending; } cases[] = {
        {"a.BMP/b.gif", a, b, true, false},
        {"b.gif/c.jpg", b, c, true, false},
        {"c.jpg/z.JPG tie", c, upper, false, false},
        {"README/c.jpg", none, c, false, false},
        {"c.jpg/README", c, none, true, true},
        {"README/LICENSE tie", none, none2, false, false},
        {"folder dot is no extension", none2, a, false, false},
        {"x.j pg/a.BMP", spaced, a, false, false},
    };
    for (const Case& k : cases) {
        fx::SortSelection up(SORT_BY_EXTENSION, TRUE);
        EXPECT_EQ(FileEntryBefore(&k.first.record, &k.second.record), k.ascending) << k.label << " ascending";
        fx::SortSelection down(SORT_BY_EXTENSION, FALSE);
        EXPECT_EQ(FileEntryBefore(&k.first.record, &k.second.record), k.descending) << k.label << " descending";
    }
}

TEST(EntryOrder, EqualKeysNeverComeBeforeEachOther)
{
    // No second key: entries equal in the chosen key are unordered both ways.
    Entry x(L"C:\\p\\x.jpg", 10, 5), y(L"C:\\p\\y.png", 10, 5);
    for (DWORD mode : {2u, 3u}) {
        for (BOOL ascending : {TRUE, FALSE}) {
            fx::SortSelection selection(mode, ascending);
            EXPECT_FALSE(FileEntryBefore(&x.record, &y.record)) << "mode " << mode;
            EXPECT_FALSE(FileEntryBefore(&y.record, &x.record)) << "mode " << mode;
        }
    }
}
