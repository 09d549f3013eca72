// Building the list from real folders, its sort orders and its lookups.
// The first test needs a process in which no filter was built yet, and the
// last one registers plug-in extensions for good, so their places matter.
#include "folder_fixture.h"

#include <algorithm>
#include <map>

using fx::Hours;
using fx::MakeFile;
using Names = std::vector<std::string>;

TEST(ListBuilding, BeforeAnyFilterOnlyNamesWithoutExtensionAreFound)
{
    if (!szSupportedFilesFilter.empty())
        GTEST_SKIP() << "a filter was built earlier in this process";
    fx::Scratch dir;
    ASSERT_TRUE(MakeFile(dir / L"a.jpg", 10));
    ASSERT_TRUE(MakeFile(dir / L"README", 10));
    SortDir list;
    list.InitializeSortDir(dir.path().c_str(), 0);
    list.CreateSortedImageList();
    EXPECT_EQ(list.GetLengthFileList(), 0);
    fx::NamesWithoutExtension on(1);
    list.InitializeSortDir(dir.path().c_str(), 0);
    list.CreateSortedImageList();
    EXPECT_EQ(fx::Names(list), Names({"README"}));
}

TEST(ListBuilding, InitializeAddsOneBackslashAndOneRecord)
{
    fx::Scratch dir;
    MyString withSlash = dir.path() + L"\\";
    const MyString* folders[] = {&dir.path(), &withSlash};
    for (const MyString* folder : folders) {
        SortDir list;
        list.nHostValue = 9;
        list.InitializeSortDir(folder->c_str(), 77);
        EXPECT_WEQ(withSlash.c_str(), list.GetDirectory().c_str());
        EXPECT_EQ(list.nHostValue, 0);
        ASSERT_EQ(list.GetLenghtInfoBrowse(), 1);
        const CInfoBrowse* record = list.GetInfoBrowse(0);
        EXPECT_WEQ(withSlash.c_str(), record->pPath->c_str());
        EXPECT_EQ(fx::Ranges(list), Names({"0:0..0:0"})) << lvtest::Utf8(folder->c_str());

        // An empty folder leaves an empty range.
        list.CreateSortedImageList();
        EXPECT_EQ(list.GetLengthFileList(), 0);
        EXPECT_EQ(fx::Ranges(list), Names({"0:0..-1:0"}));
        EXPECT_WEQ(withSlash.c_str(), list.GetDirectory().c_str()) << "the patterns leave directory as it was";
    }
}

TEST(ListBuilding, EveryModeInBothDirections)
{
    fx::Scratch dir;
    struct File { const WCHAR* name; unsigned size; int hours; } files[] = {
        {L"a.jpg", 300, 3}, {L"B.png", 100, 1}, {L"c.BMP", 200, 4},
        {L"d10.jpeg", 50, 2}, {L"d9.tif", 400, 5}, {L"e.PSD", 250, 0},
    };
    for (const File& f : files)
        ASSERT_TRUE(MakeFile(dir / f.name, f.size, Hours(f.hours)));
    // Never listed: the portfolio type, other types, folders.
    ASSERT_TRUE(MakeFile(dir / L"f.lvx", 10));
    ASSERT_TRUE(MakeFile(dir / L"g.txt", 10));
    ASSERT_TRUE(fx::MakeFolder(dir / L"Holiday"));

    struct Case { DWORD mode; Names ascending; } cases[] = {
        {SORT_BY_NAME, {"a.jpg", "B.png", "c.BMP", "d9.tif", "d10.jpeg", "e.PSD"}},
        {SORT_BY_EXTENSION, {"c.BMP", "d10.jpeg", "a.jpg", "B.png", "e.PSD", "d9.tif"}},
        {SORT_BY_SIZE, {"d10.jpeg", "B.png", "c.BMP", "e.PSD", "a.jpg", "d9.tif"}},
        {SORT_BY_DATE, {"e.PSD", "B.png", "d10.jpeg", "a.jpg", "c.BMP", "d9.tif"}},
        {4, {"a.jpg", "B.png", "c.BMP", "d9.tif", "d10.jpeg", "e.PSD"}},
        {7, {"a.jpg", "B.png", "c.BMP", "d9.tif", "d10.jpeg", "e.PSD"}},
        {0xFFFFFFFFu, {"a.jpg", "B.png", "c.BMP", "d9.tif", "d10.jpeg", "e.PSD"}},
    };
    for (const Case& c : cases) {
        for (BOOL ascending : {TRUE, FALSE}) {
            fx::SortSelection selection(c.mode, ascending);
            SortDir list;
            fx::ListFolder(list, dir.path());
            Names expected = c.ascending;
            if (!ascending)
                std::reverse(expected.begin(), expected.end());
            EXPECT_EQ(fx::Names(list), expected) << "mode " << c.mode << (ascending ? " ascending" : " descending");
            EXPECT_EQ(fx::Ranges(list), Names({"0:0..5:1"}));
        }
    }
}

TEST(ListBuilding, SizesCountOnlyTheirLow32Bits)
{
    fx::Scratch dir;
    const unsigned long long big = (4ull << 30) + 100;   // low part 100
    ASSERT_TRUE(MakeFile(dir / L"big.jpg", big)) << "a sparse 4 GiB file";
    ASSERT_TRUE(MakeFile(dir / L"small.jpg", 100));
    ASSERT_TRUE(MakeFile(dir / L"tiny.jpg", 50));
    ASSERT_TRUE(MakeFile(dir / L"mid.jpg", 200));
    for (BOOL ascending : {TRUE, FALSE}) {
        fx::SortSelection selection(SORT_BY_SIZE, ascending);
        SortDir list;
        fx::ListFolder(list, dir.path());
        Names names = fx::Names(list);
        ASSERT_EQ(names.size(), 4u);
        EXPECT_EQ(names[0], ascending ? "tiny.jpg" : "mid.jpg");
        EXPECT_EQ(names[3], ascending ? "mid.jpg" : "tiny.jpg");
        // The two sizes tie: either order is right.
        Names middle = {names[1], names[2]};
        std::sort(middle.begin(), middle.end());
        EXPECT_EQ(middle, Names({"big.jpg", "small.jpg"}));
        MyString bigPath = dir / L"big.jpg";
        int index = list.GetIndex(bigPath);
        ASSERT_GE(index, 0);
        EXPECT_EQ((*list.GetFileList())[index]->dwSize, 100u);
    }
}

TEST(ListBuilding, NaturalNameOrderAndUnicodeNames)
{
    fx::Scratch dir;
    const WCHAR* names[] = {L"img10.jpg", L"img2.jpg", L"IMG1.jpg", L"a08.png", L"a9.png",
                            L"фото.jpg", L"写真.png", L"anim\U0001F39E.gif", L"Zebra.bmp"};
    for (const WCHAR* name : names)
        ASSERT_TRUE(MakeFile(dir / name, 10)) << lvtest::Utf8(name);
    SortDir list;
    fx::ListFolder(list, dir.path());
    Names listed = fx::Names(list);
    ASSERT_EQ(listed.size(), 9u);

    // The list's order is the library's Compare on the full paths.
    for (size_t i = 1; i < listed.size(); ++i) {
        const MyString* before = (*list.GetFileList())[i - 1]->pName;
        const MyString* after = (*list.GetFileList())[i]->pName;
        EXPECT_LE(before->Compare(*after), 0) << listed[i - 1] << " before " << listed[i];
    }
    auto position = [&](const char* name) {
        return std::find(listed.begin(), listed.end(), name) - listed.begin();
    };
    EXPECT_LT(position("IMG1.jpg"), position("img2.jpg"));
    EXPECT_LT(position("img2.jpg"), position("img10.jpg"));
    EXPECT_LT(position("a08.png"), position("a9.png"));
    EXPECT_LT(position("anim\xF0\x9F\x8E\x9E.gif"), position("Zebra.bmp"));

    // Unicode names are found by name and by first letter.
    MyString photo = dir / L"фото.jpg";
    int index = list.GetIndex(photo);
    ASSERT_GE(index, 0);
    EXPECT_WEQ(photo.c_str(), list.GetString(index)->c_str());
    EXPECT_EQ(list.GetIndexFirstLater(L'ф', 0), index);
    EXPECT_EQ(list.GetIndexFirstLater(L'写', 0), position("写真.png"));
}

TEST(ListBuilding, NamesWithoutExtensionFollowTheViewOption)
{
    fx::Scratch dir;
    ASSERT_TRUE(MakeFile(dir / L"README", 10));
    ASSERT_TRUE(MakeFile(dir / L"a.jpg", 10));
    ASSERT_TRUE(MakeFile(dir / L"notes.txt", 10));
    ASSERT_TRUE(fx::MakeFolder(dir / L"Holiday"));
    ASSERT_TRUE(fx::MakeFolder(dir / L"album.jpg"));   // folders matching a type are listed
    struct Case { int option; Names expected; } cases[] = {
        {0, {"a.jpg", "album.jpg"}},
        {1, {"a.jpg", "album.jpg", "README"}},
        {2, {"a.jpg", "album.jpg"}},   // only exactly 1 switches it on
    };
    for (const Case& c : cases) {
        fx::NamesWithoutExtension option(c.option);
        SortDir list;
        fx::ListFolder(list, dir.path());
        EXPECT_EQ(fx::Names(list), c.expected) << "OpenFileOutExt " << c.option;
    }
    // In extension order the name without one goes last, both ways.
    fx::NamesWithoutExtension option(1);
    for (BOOL ascending : {TRUE, FALSE}) {
        fx::SortSelection selection(SORT_BY_EXTENSION, ascending);
        SortDir list;
        fx::ListFolder(list, dir.path());
        Names names = fx::Names(list);
        ASSERT_EQ(names.size(), 3u);
        EXPECT_EQ(names[2], "README") << (ascending ? "ascending" : "descending");
    }
}

TEST(ListBuilding, ZeroByteFilesAreListedButNotOffered)
{
    fx::Scratch dir;
    ASSERT_TRUE(MakeFile(dir / L"a.jpg", 0));
    ASSERT_TRUE(MakeFile(dir / L"b.jpg", 5));
    SortDir list;
    fx::ListFolder(list, dir.path());
    ASSERT_EQ(list.GetLengthFileList(), 2);
    EXPECT_EQ(list.GetString(0), nullptr) << "size 0";
    ASSERT_NE(list.GetString(1), nullptr);
    EXPECT_EQ(list.DeleteFileW(0), 0);
    EXPECT_EQ(list.GetLengthFileList(), 2);
}

// One listing must give what a search per extension gives on this platform,
// including matches through generated short names ("scan.tiff" for *.TIF).
TEST(ListBuilding, SameEntriesAsOneSearchPerExtension)
{
    fx::Scratch dir;
    const WCHAR* files[] = {L"scan.tiff", L"x.TIFF", L"p.jpeg", L"q.JPG", L"r.jpg.bak", L"s.b.jpg",
                            L".jpg", L"t.jp2", L"u.J2C", L"v.psd", L"w.hdf", L"longer name.jpeg",
                            L"ppm.pgmx", L"фото.jpg", L"写真.png", L"x.lvx", L"README", L"y.jpgx"};
    int hour = 0;
    for (const WCHAR* name : files)
        ASSERT_TRUE(MakeFile(dir / name, 10 + hour, Hours(hour++))) << lvtest::Utf8(name);
    ASSERT_TRUE(fx::MakeFolder(dir / L"album.jpg"));

    GetOpenFilter();
    std::multimap<std::string, std::string> expected;
    for (const WCHAR* ext : szSupportedFilesFilter) {
        if (!lstrcmpiW(ext, L"LVX"))
            continue;
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW((dir.path() + L"\\*." + ext).c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            MyString path = dir / data.cFileName;
            WIN32_FILE_ATTRIBUTE_DATA info;
            if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info))
                continue;
            char detail[64];
            snprintf(detail, sizeof detail, "%lu %lu", static_cast<unsigned long>(info.nFileSizeLow),
                     static_cast<unsigned long>(info.ftLastWriteTime.dwLowDateTime));
            expected.emplace(lvtest::Utf8(path.c_str()), detail);
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    SortDir list;
    fx::ListFolder(list, dir.path());
    std::multimap<std::string, std::string> actual;
    for (const CFileEntry* entry : *list.GetFileList()) {
        char detail[64];
        snprintf(detail, sizeof detail, "%lu %lu", static_cast<unsigned long>(entry->dwSize),
                 static_cast<unsigned long>(entry->ftLastWrite.dwLowDateTime));
        actual.emplace(lvtest::Utf8(entry->pName->c_str()), detail);
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(actual.count(lvtest::Utf8((dir / L"scan.tiff").c_str())), 1u) << "found through its short name";
}

TEST(ListLookups, GetIndexFirstLaterWrapsAround)
{
    fx::Scratch dir;
    SortDir list;
    EXPECT_EQ(list.GetIndexFirstLater(L'a', 0), -1) << "empty list";
    for (const WCHAR* name : {L"a.jpg", L"b1.jpg", L"c.jpg", L"d.jpg", L"e.jpg", L"f.jpg", L"b2.jpg"}) {
        ASSERT_TRUE(MakeFile(dir / name, 1));
        list.PushImage(dir / name);
    }
    ASSERT_EQ(list.GetLengthFileList(), 7);
    struct Case { WCHAR ch; int start; int expected; } cases[] = {
        {L'b', 5, 6}, {L'b', 0, 1}, {L'B', 0, 1}, {L'b', 2, 6}, {L'b', 7, 1}, {L'b', 100, 1},
        {L'c', 3, 2}, {L'a', 1, 0}, {L'z', 3, -1}, {L'a', -1, -1}, {L'a', 0, 0}, {L'.', 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list.GetIndexFirstLater(c.ch, c.start), c.expected)
            << "'" << static_cast<char>(c.ch) << "' from " << c.start;
}

TEST(ListLookups, PositionsNamesAndRecords)
{
    fx::Scratch dir;
    SortDir list;
    list.InitializeSortDir(dir.path().c_str(), 0);
    std::vector<CFileEntry*> group;
    for (const WCHAR* name : {L"a.jpg", L"b.jpg", L"c.jpg"}) {
        ASSERT_TRUE(MakeFile(dir / name, 3));
        group.push_back(new CFileEntry);
        group.back()->pName = new MyString(dir / name);
    }
    list.CreateSortedImageList();                        // record 0: 0..2
    list.Append(std::vector<CFileEntry*>(), L"empty");   // record 1: 3..2
    list.Append(group, L"again");                        // record 2: 3..5
    list.GetInfoBrowse(2)->nIndexUpdate = 42;
    for (CFileEntry* entry : group)
        delete entry;
    ASSERT_EQ(fx::Ranges(list), Names({"0:0..2:1", "1:3..2:0", "2:3..5:1"}));

    struct Position { int i; int browse; } positions[] = {{0, 0}, {2, 0}, {3, 2}, {5, 2}, {6, -1}, {-1, -1}};
    for (const Position& p : positions)
        EXPECT_EQ(list.GetIndexListBrowse(p.i), p.browse) << "entry " << p.i;

    struct First { int b; int first; } firsts[] = {{0, 0}, {1, 3}, {2, 3}, {3, 0}, {-1, 0}};
    for (const First& f : firsts)
        EXPECT_EQ(list.GetIndexFirstImgBrowse(f.b), f.first) << "record " << f.b;

    EXPECT_EQ(list.GetInfoBrowse(-1), nullptr);
    EXPECT_EQ(list.GetInfoBrowse(3), nullptr);
    EXPECT_EQ(list.GetInfoBrowseIndexUppdate(42), list.GetInfoBrowse(2));
    EXPECT_EQ(list.GetInfoBrowseIndexUppdate(-1), list.GetInfoBrowse(0)) << "the first record with the key";
    EXPECT_EQ(list.GetInfoBrowseIndexUppdate(7), nullptr);

    MyString b = dir / L"b.jpg";
    EXPECT_EQ(list.GetIndex(b), 1) << "the first of two entries with the name";
    MyString upper = dir / L"B.JPG";
    EXPECT_EQ(list.GetIndex(upper), -1) << "exact match only";
    for (int i : {-1, 6, 1000})
        EXPECT_EQ(list.GetString(i), nullptr) << "position " << i;
    EXPECT_EQ(list.GetFileList(), &list.fileList);
}

TEST(ListCopies, CopiesOwnTheirEntriesAndRecords)
{
    fx::Scratch dir;
    ASSERT_TRUE(MakeFile(dir / L"a.jpg", 3));
    ASSERT_TRUE(MakeFile(dir / L"b.jpg", 3));
    SortDir* original = new SortDir;
    fx::ListFolder(*original, dir.path());
    original->nHostValue = 5;

    SortDir copy(*original);
    SortDir assigned;
    fx::ListFolder(assigned, dir.path());
    assigned = *original;
    assigned = assigned;
    for (SortDir* other : {&copy, &assigned}) {
        EXPECT_EQ(fx::Names(*other), Names({"a.jpg", "b.jpg"}));
        EXPECT_EQ(fx::Ranges(*other), fx::Ranges(*original));
        EXPECT_EQ(other->nHostValue, 5);
        EXPECT_WEQ(original->GetDirectory().c_str(), other->GetDirectory().c_str());
        EXPECT_NE((*other->GetFileList())[0], (*original->GetFileList())[0]);
        EXPECT_NE((*other->GetFileList())[0]->pName, (*original->GetFileList())[0]->pName);
        EXPECT_NE(other->GetInfoBrowse(0)->pPath, original->GetInfoBrowse(0)->pPath);
    }
    delete original;   // the copies still hold their own strings
    EXPECT_EQ(fx::Names(copy), Names({"a.jpg", "b.jpg"}));
    EXPECT_EQ(fx::Names(assigned), Names({"a.jpg", "b.jpg"}));
}

// Registers plug-in extensions for good: the last suite of this file, and
// later files list no .gif or .xyz files.
TEST(ListPlugins, AnExtensionListedTwiceListsItsFilesTwice)
{
    fx::Scratch dir;
    ASSERT_TRUE(MakeFile(dir / L"a.gif", 3));
    ASSERT_TRUE(MakeFile(dir / L"b.GIF", 3));
    ASSERT_TRUE(MakeFile(dir / L"c.xyz", 3));
    ASSERT_TRUE(MakeFile(dir / L"d.png", 3));
    RegisterFileExtension(L"gif");   // beside the static GIF
    RegisterFileExtension(L"xyz");
    SortDir list;
    list.InitializeSortDir(dir.path().c_str(), 0);
    list.CreateSortedImageList();
    EXPECT_EQ(fx::Names(list), Names({"a.gif", "a.gif", "b.GIF", "b.GIF", "c.xyz", "d.png"}));
    EXPECT_EQ(fx::Ranges(list), Names({"0:0..5:1"}));
}
