// Building the list from real folders and its sort orders. The last test
// registers plug-in extensions for good, so it stays last.
#include "folder_fixture.h"

#include <algorithm>

using fx::Hours;
using fx::MakeFile;
using fx::Names;

TEST(ListBuilding, InitializeAddsOneBackslashAndOneRecord)
{
    fx::Dir dir;
    MyString withSlash = dir.path() + L"\\";
    for (const MyString& folder : {dir.path(), withSlash}) {
        SortDir list;
        list.InitializeSortDir(folder.c_str(), 77);
        EXPECT_WEQ(withSlash.c_str(), list.GetInfoBrowse(0)->pPath->c_str());
        EXPECT_EQ(fx::Ranges(list), Names({"0:0..0:0"})) << lvtest::Utf8(folder.c_str());
        list.CreateSortedImageList();   // an empty folder leaves an empty range
        EXPECT_EQ(fx::Ranges(list), Names({"0:0..-1:0"}));
        EXPECT_WEQ(withSlash.c_str(), list.GetDirectory().c_str()) << "the patterns leave directory as it was";
    }
}

TEST(ListBuilding, EveryModeInBothDirections)
{
    fx::Dir dir;
    struct File { const WCHAR* name; unsigned size; int hours; } files[] = {
        {L"a.jpg", 300, 3}, {L"B.png", 100, 1}, {L"c.BMP", 200, 4}, {L"d10.jpeg", 50, 2}, {L"d9.tif", 400, 5},
        {L"e.PSD", 250, 0}, {L"f.lvx", 10, 0}, {L"g.txt", 10, 0},   // never listed: the portfolio type, other types
    };
    for (const File& f : files)
        ASSERT_TRUE(MakeFile(dir / f.name, f.size, Hours(f.hours)));
    ASSERT_TRUE(CreateDirectoryW((dir / L"Holiday").c_str(), nullptr));
    const Names byName = {"a.jpg", "B.png", "c.BMP", "d9.tif", "d10.jpeg", "e.PSD"};
    struct Case { DWORD mode; Names ascending; } cases[] = {
        {SORT_BY_NAME, byName},
        {SORT_BY_EXTENSION, {"c.BMP", "d10.jpeg", "a.jpg", "B.png", "e.PSD", "d9.tif"}},   // case ignored
        {SORT_BY_SIZE, {"d10.jpeg", "B.png", "c.BMP", "e.PSD", "a.jpg", "d9.tif"}},
        {SORT_BY_DATE, {"e.PSD", "B.png", "d10.jpeg", "a.jpg", "c.BMP", "d9.tif"}},
        {4, byName}, {0xFFFFFFFFu, byName},   // unknown keys sort by name
    };
    for (const Case& c : cases) {
        for (BOOL ascending : {TRUE, FALSE}) {
            fx::SortSelection selection(c.mode, ascending);
            Names expected = c.ascending;
            if (!ascending)
                std::reverse(expected.begin(), expected.end());
            EXPECT_EQ(fx::Listed(dir.path()), expected) << "mode " << c.mode << (ascending ? " up" : " down");
        }
    }
}

TEST(ListBuilding, SizesCountOnlyTheirLow32BitsAndEmptyFilesAreNotOffered)
{
    fx::Dir dir;
    ASSERT_TRUE(MakeFile(dir / L"big.jpg", (4ull << 30) + 100)) << "a sparse file, low part 100";
    ASSERT_TRUE(MakeFile(dir / L"small.jpg", 100) && MakeFile(dir / L"mid.jpg", 200) && MakeFile(dir / L"zero.jpg", 0));
    for (BOOL ascending : {TRUE, FALSE}) {
        fx::SortSelection selection(SORT_BY_SIZE, ascending);
        SortDir list;
        fx::ListFolder(list, dir.path());
        Names names = fx::ListNames(list);
        ASSERT_EQ(names.size(), 4u);
        std::sort(names.begin() + 1, names.begin() + 3);   // 100 and 100 tie: either order is right
        EXPECT_EQ(names, ascending ? Names({"zero.jpg", "big.jpg", "small.jpg", "mid.jpg"})
                                   : Names({"mid.jpg", "big.jpg", "small.jpg", "zero.jpg"}));
        MyString zero = dir / L"zero.jpg";
        int empty = list.GetIndex(zero);   // listed, but neither offered nor dropped
        EXPECT_EQ(list.GetString(empty), nullptr);
        EXPECT_EQ(list.DeleteFileW(empty), 0);
        EXPECT_EQ(list.GetLengthFileList(), 4);
    }
}

// (The natural name order itself is the string suite's.)
TEST(ListBuilding, UnicodeNamesAreFoundByNameAndFirstLetter)
{
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFiles(dir, {L"a.jpg", L"фото.jpg", L"写真.png", L"anim\U0001F39E.gif"}));
    SortDir list;
    fx::ListFolder(list, dir.path());
    EXPECT_EQ(fx::ListNames(list), Names({"a.jpg", "anim\xF0\x9F\x8E\x9E.gif", "фото.jpg", "写真.png"}));
    MyString photo = dir / L"фото.jpg";
    ASSERT_EQ(list.GetIndex(photo), 2);
    EXPECT_WEQ(photo.c_str(), list.GetString(2)->c_str());
    EXPECT_EQ(list.GetIndexFirstLater(L'ф', 0), 2);
    EXPECT_EQ(list.GetIndexFirstLater(L'写', 0), 3);
}

TEST(ListBuilding, NamesWithoutExtensionFollowTheViewOption)
{
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFiles(dir, {L"README", L"a.jpg", L"notes.txt"}));
    ASSERT_TRUE(CreateDirectoryW((dir / L"album.jpg").c_str(), nullptr));   // a folder is no picture
    ASSERT_TRUE(CreateDirectoryW((dir / L"Trips").c_str(), nullptr));
    const Names withType = {"a.jpg"}, all = {"a.jpg", "README"};
    for (int option : {0, 1, 2}) {   // only exactly 1 switches it on
        fx::NamesWithoutExtension view(option);
        EXPECT_EQ(fx::Listed(dir.path()), option == 1 ? all : withType) << "OpenFileOutExt " << option;
    }
    fx::NamesWithoutExtension view(1);   // by extension the name without one goes last
    for (BOOL ascending : {TRUE, FALSE}) {
        fx::SortSelection selection(SORT_BY_EXTENSION, ascending);
        EXPECT_EQ(fx::Listed(dir.path()).back(), "README") << (ascending ? "ascending" : "descending");
    }
}

// One listing must give what a search per extension gives on this platform,
// including matches through generated short names ("scan.tiff" for *.TIF).
TEST(ListBuilding, SameEntriesAsOneSearchPerExtension)
{
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFiles(dir, {L"scan.tiff", L"p.jpeg", L"q.JPG", L"r.jpg.bak", L"s.b.jpg", L".jpg", L"u.J2C",
                                    L"longer name.jpeg", L"ppm.pgmx", L"写真.png", L"x.lvx", L"y.jpgx"}));
    GetOpenFilter();
    Names expected;
    for (const WCHAR* ext : szSupportedFilesFilter) {
        Names found = lvtest::FileNames((dir.path() + L"\\*." + ext).c_str());
        expected.insert(expected.end(), found.begin(), found.end());
    }
    Names actual = fx::Listed(dir.path());
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(std::count(actual.begin(), actual.end(), "scan.tiff"), 1) << "found through its short name";
}

TEST(EntryOrder, TiesAndExtensionsThatAreNone)
{
    // A dot in a folder or before a space makes no extension; equal keys
    // never come before each other.
    struct Entry : CFileEntry {
        explicit Entry(const WCHAR* path) { pName = new MyString(path), dwSize = 10, ftLastWrite = Hours(5); }
    };
    Entry a(L"C:\\p\\a.BMP"), c(L"C:\\p\\c.jpg"), upper(L"C:\\p\\z.JPG"), none(L"C:\\p.d\\LICENSE");
    Entry spaced(L"C:\\p\\x.j pg");
    struct Case { const char* label; DWORD mode; const Entry& first; const Entry& second; bool before; } cases[] = {
        {"c.jpg/z.JPG tie", SORT_BY_EXTENSION, c, upper, false}, {"folder dot", SORT_BY_EXTENSION, none, a, false},
        {"a.BMP/folder dot", SORT_BY_EXTENSION, a, none, true}, {"x.j pg/a.BMP", SORT_BY_EXTENSION, spaced, a, false},
        {"size tie", SORT_BY_SIZE, c, none, false}, {"date tie", SORT_BY_DATE, c, none, false},
    };
    for (const Case& k : cases) {
        for (BOOL ascending : {TRUE, FALSE}) {
            fx::SortSelection selection(k.mode, ascending);
            EXPECT_EQ(FileEntryBefore(&k.first, &k.second), k.before) << k.label << (ascending ? " up" : " down");
        }
    }
}

// Registers plug-in extensions for good: the last test of this file, and
// later files list no .gif or .xyz files.
TEST(ListPlugins, AnExtensionListedTwiceListsItsFilesTwice)
{
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFiles(dir, {L"a.gif", L"b.GIF", L"c.xyz", L"d.png"}));
    RegisterFileExtension(L"gif");   // beside the static GIF
    RegisterFileExtension(L"xyz");
    EXPECT_EQ(fx::Listed(dir.path()), Names({"a.gif", "a.gif", "b.GIF", "b.GIF", "c.xyz", "d.png"}));
}
