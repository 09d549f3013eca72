// Building the list from real folders and its sort orders. The first test
// needs a process in which no filter was built yet, and the last one
// registers plug-in extensions for good, so their places matter.
#include "folder_fixture.h"

#include <algorithm>
#include <set>

using fx::Hours;
using fx::MakeFile;
using fx::Names;

TEST(ListBuilding, BeforeAnyFilterOnlyNamesWithoutExtensionAreFound)
{
    if (!szSupportedFilesFilter.empty())
        GTEST_SKIP() << "a filter was built earlier in this process";
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFiles(dir, {L"a.jpg", L"README"}));
    for (int option : {0, 1}) {
        fx::NamesWithoutExtension view(option);
        SortDir list;
        list.InitializeSortDir(dir.path().c_str(), 0);
        list.CreateSortedImageList();
        EXPECT_EQ(fx::ListNames(list), option ? Names({"README"}) : Names()) << "OpenFileOutExt " << option;
    }
}

TEST(ListBuilding, InitializeAddsOneBackslashAndOneRecord)
{
    fx::Dir dir;
    MyString withSlash = dir.path() + L"\\";
    for (const MyString& folder : {dir.path(), withSlash}) {
        SortDir list;
        list.nHostValue = 9;
        list.InitializeSortDir(folder.c_str(), 77);
        EXPECT_WEQ(withSlash.c_str(), list.GetDirectory().c_str());
        EXPECT_EQ(list.nHostValue, 0);
        ASSERT_EQ(list.GetLenghtInfoBrowse(), 1);
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
        {4, byName}, {7, byName}, {0xFFFFFFFFu, byName},   // unknown keys sort by name
    };
    for (const Case& c : cases) {
        for (BOOL ascending : {TRUE, FALSE}) {
            fx::SortSelection selection(c.mode, ascending);
            SortDir list;
            fx::ListFolder(list, dir.path());
            Names expected = c.ascending;
            if (!ascending)
                std::reverse(expected.begin(), expected.end());
            EXPECT_EQ(fx::ListNames(list), expected) << "mode " << c.mode << (ascending ? " ascending" : " descending");
            EXPECT_EQ(fx::Ranges(list), Names({"0:0..5:1"}));
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
        MyString big = dir / L"big.jpg", zero = dir / L"zero.jpg";
        ASSERT_GE(list.GetIndex(big), 0);
        EXPECT_EQ((*list.GetFileList())[list.GetIndex(big)]->dwSize, 100u);
        int empty = list.GetIndex(zero);   // listed, but neither offered nor dropped
        EXPECT_EQ(list.GetString(empty), nullptr);
        EXPECT_EQ(list.DeleteFileW(empty), 0);
        EXPECT_EQ(list.GetLengthFileList(), 4);
    }
}

TEST(ListBuilding, NaturalNameOrderAndUnicodeNames)
{
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFiles(dir, {L"img10.jpg", L"img2.jpg", L"IMG1.jpg", L"a08.png", L"a9.png", L"фото.jpg",
                                    L"写真.png", L"anim\U0001F39E.gif", L"Zebra.bmp"}));
    SortDir list;
    fx::ListFolder(list, dir.path());
    Names listed = fx::ListNames(list);
    ASSERT_EQ(listed.size(), 9u);
    const std::vector<CFileEntry*>& entries = *list.GetFileList();
    for (size_t i = 1; i < listed.size(); ++i)   // the order is the library's Compare on the full paths
        EXPECT_LE(entries[i - 1]->pName->Compare(*entries[i]->pName), 0) << listed[i - 1] << " before " << listed[i];
    auto at = [&](const char* name) { return std::find(listed.begin(), listed.end(), name) - listed.begin(); };
    EXPECT_LT(at("IMG1.jpg"), at("img2.jpg"));
    EXPECT_LT(at("img2.jpg"), at("img10.jpg"));
    EXPECT_LT(at("a08.png"), at("a9.png"));
    EXPECT_LT(at("anim\xF0\x9F\x8E\x9E.gif"), at("Zebra.bmp"));

    MyString photo = dir / L"фото.jpg";   // found by name and by first letter
    ASSERT_EQ(list.GetIndex(photo), at("фото.jpg"));
    EXPECT_WEQ(photo.c_str(), list.GetString(at("фото.jpg"))->c_str());
    EXPECT_EQ(list.GetIndexFirstLater(L'ф', 0), at("фото.jpg"));
    EXPECT_EQ(list.GetIndexFirstLater(L'写', 0), at("写真.png"));
}

TEST(ListBuilding, NamesWithoutExtensionFollowTheViewOption)
{
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFiles(dir, {L"README", L"a.jpg", L"notes.txt"}));
    ASSERT_TRUE(CreateDirectoryW((dir / L"Holiday").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((dir / L"album.jpg").c_str(), nullptr));   // folders matching a type are listed
    struct Case { int option; Names expected; } cases[] = {
        {0, {"a.jpg", "album.jpg"}},
        {1, {"a.jpg", "album.jpg", "README"}},
        {2, {"a.jpg", "album.jpg"}},   // only exactly 1 switches it on
    };
    for (const Case& c : cases) {
        fx::NamesWithoutExtension view(c.option);
        SortDir list;
        fx::ListFolder(list, dir.path());
        EXPECT_EQ(fx::ListNames(list), c.expected) << "OpenFileOutExt " << c.option;
    }
    fx::NamesWithoutExtension view(1);   // by extension the name without one goes last
    for (BOOL ascending : {TRUE, FALSE}) {
        fx::SortSelection selection(SORT_BY_EXTENSION, ascending);
        SortDir list;
        fx::ListFolder(list, dir.path());
        EXPECT_EQ(fx::ListNames(list).back(), "README") << (ascending ? "ascending" : "descending");
    }
}

// One listing must give what a search per extension gives on this platform,
// including matches through generated short names ("scan.tiff" for *.TIF).
TEST(ListBuilding, SameEntriesAsOneSearchPerExtension)
{
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFiles(dir, {L"scan.tiff", L"x.TIFF", L"p.jpeg", L"q.JPG", L"r.jpg.bak", L"s.b.jpg", L".jpg",
                                    L"t.jp2", L"u.J2C", L"v.psd", L"w.hdf", L"longer name.jpeg", L"ppm.pgmx",
                                    L"фото.jpg", L"写真.png", L"x.lvx", L"README", L"y.jpgx"}));
    ASSERT_TRUE(CreateDirectoryW((dir / L"album.jpg").c_str(), nullptr));
    GetOpenFilter();
    std::multiset<std::string> expected, actual;
    for (const WCHAR* ext : szSupportedFilesFilter) {
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW((dir.path() + L"\\*." + ext).c_str(), &data);
        for (bool more = search != INVALID_HANDLE_VALUE && lstrcmpiW(ext, L"LVX"); more;
             more = FindNextFileW(search, &data))
            expected.insert(lvtest::Utf8(data.cFileName));
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
    }
    SortDir list;
    fx::ListFolder(list, dir.path());
    for (const std::string& name : fx::ListNames(list))
        actual.insert(name);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(actual.count("scan.tiff"), 1u) << "found through its short name";
}

TEST(EntryOrder, TiesAndExtensionsThatAreNone)
{
    // Hand-made entries: a dot in a folder or before a space makes no
    // extension, and equal keys never come before each other.
    struct Entry : CFileEntry {
        explicit Entry(const WCHAR* path) { pName = new MyString(path), dwSize = 10, ftLastWrite = Hours(5); }
    };
    Entry a(L"C:\\p\\a.BMP"), c(L"C:\\p\\c.jpg"), upper(L"C:\\p\\z.JPG"), none(L"C:\\p\\README");
    Entry none2(L"C:\\p.d\\LICENSE"), spaced(L"C:\\p\\x.j pg");
    struct Case { const char* label; DWORD mode; const Entry& first; const Entry& second; bool up; bool down; } cases[] = {
        {"c.jpg/z.JPG tie", SORT_BY_EXTENSION, c, upper, false, false},
        {"README/LICENSE tie", SORT_BY_EXTENSION, none, none2, false, false},
        {"folder dot is no extension", SORT_BY_EXTENSION, none2, a, false, false},
        {"a.BMP before folder dot", SORT_BY_EXTENSION, a, none2, true, true},
        {"x.j pg/a.BMP", SORT_BY_EXTENSION, spaced, a, false, false},
        {"size tie", SORT_BY_SIZE, c, none, false, false}, {"size tie reversed", SORT_BY_SIZE, none, c, false, false},
        {"date tie", SORT_BY_DATE, c, none, false, false}, {"date tie reversed", SORT_BY_DATE, none, c, false, false},
    };
    for (const Case& k : cases) {
        for (BOOL ascending : {TRUE, FALSE}) {
            fx::SortSelection selection(k.mode, ascending);
            EXPECT_EQ(FileEntryBefore(&k.first, &k.second), ascending ? k.up : k.down)
                << k.label << (ascending ? " ascending" : " descending");
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
    SortDir list;
    list.InitializeSortDir(dir.path().c_str(), 0);
    list.CreateSortedImageList();
    EXPECT_EQ(fx::ListNames(list), Names({"a.gif", "a.gif", "b.GIF", "b.GIF", "c.xyz", "d.png"}));
    EXPECT_EQ(fx::Ranges(list), Names({"0:0..5:1"}));
}
