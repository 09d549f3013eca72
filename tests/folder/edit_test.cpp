// Editing a built list: groups appended, replaced and removed, single files
// dropped and renamed, the whole list renumbered on disk; the lookups.
#include "folder_fixture.h"

using fx::Group;
using fx::MakeFile;
using fx::Names;
using fx::ThreeGroups;

namespace {
const Names kThreeRanges = {"0:0..2:1", "1:3..4:1", "2:5..7:1"};
const Names kWithoutG1 = {"a.jpg", "b.jpg", "c.jpg", "f.bmp", "g.bmp", "h.bmp"};
}

TEST(ListLookups, PositionsRecordsNamesAndFirstLetters)
{
    // Records 0:0..2 (a, b, c), 1:3..2 (emptied), 2:3..5 (f, g, h), 3:6..6 (b again).
    ThreeGroups t;
    t.list.Replace(Group(t.other, {L"gone.jpg"}).items, 1);
    t.list.Append(Group(t.dir, {L"b.jpg"}).items, L"again");
    t.list.GetInfoBrowse(2)->nIndexUpdate = 42;
    ASSERT_EQ(fx::Ranges(t.list), Names({"0:0..2:1", "1:3..2:0", "2:3..5:1", "3:6..6:1"}));
    struct Case { int at, browse, first; } cases[] = {{0, 0, 0}, {1, 0, 3}, {3, 2, 6}, {6, 3, 0}, {7, -1, 0}, {-1, -1, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(t.list.GetIndexListBrowse(c.at), c.browse) << "entry " << c.at;
        EXPECT_EQ(t.list.GetIndexFirstImgBrowse(c.at), c.first) << "record " << c.at;
    }
    EXPECT_EQ(t.list.GetInfoBrowse(4), nullptr);
    EXPECT_EQ(t.list.GetInfoBrowseIndexUppdate(42), t.list.GetInfoBrowse(2));
    MyString b = t.dir / L"b.jpg", upper = t.dir / L"B.JPG";
    EXPECT_EQ(t.list.GetIndex(b), 1) << "the first of two entries with the name";
    EXPECT_EQ(t.list.GetIndex(upper), -1) << "exact match only";
    EXPECT_EQ(t.list.GetString(7), nullptr);

    // First letters a b c f g h b: the search starts after start and wraps once.
    struct Letter { WCHAR ch; int start, expected; } letters[] = {
        {'b', 5, 6}, {'B', 0, 1}, {'b', 7, 1}, {'b', 100, 1}, {'c', 3, 2}, {'a', 0, 0}, {'z', 3, -1}, {'a', -1, -1}};
    for (const Letter& l : letters)
        EXPECT_EQ(t.list.GetIndexFirstLater(l.ch, l.start), l.expected) << char(l.ch) << " from " << l.start;
    EXPECT_EQ(SortDir().GetIndexFirstLater(L'a', 0), -1) << "empty list";
}

TEST(ListCopies, CopiesOwnTheirEntriesAndRecords)
{
    std::unique_ptr<ThreeGroups> original(new ThreeGroups);
    original->list.nHostValue = 5;
    const Names names = fx::ListNames(original->list);
    SortDir copy(original->list), assigned;
    fx::ListFolder(assigned, original->other.path());
    assigned = original->list;
    assigned = assigned;
    original.reset();   // the copies hold their own strings
    for (SortDir* other : {&copy, &assigned}) {
        EXPECT_EQ(other->nHostValue, 5);
        EXPECT_EQ(fx::ListNames(*other), names);
        EXPECT_EQ(fx::Ranges(*other), kThreeRanges);
        EXPECT_WEQ(L"g1", other->GetInfoBrowse(1)->pPath->c_str());
    }
}

TEST(ListGroups, AppendKeepsRangesConsecutive)
{
    ThreeGroups t;
    EXPECT_EQ(fx::ListNames(t.list), Names({"a.jpg", "b.jpg", "c.jpg", "d.png", "e.png", "f.bmp", "g.bmp", "h.bmp"}));
    EXPECT_EQ(fx::Ranges(t.list), kThreeRanges);
    EXPECT_WEQ(L"g1", t.list.GetInfoBrowse(1)->pPath->c_str());

    // Unreadable files and null elements add nothing; the record still comes.
    Group missing(t.other, {L"nothing.jpg"});
    missing.items.push_back(nullptr);
    t.list.Append(missing.items, L"none");
    EXPECT_EQ(fx::Ranges(t.list).back(), "3:8..7:0");

    // A record the caller prepared: its range ends at the last entry.
    std::unique_ptr<CInfoBrowse> record(new CInfoBrowse);
    record->nFirst = t.list.GetLengthFileList();
    t.list.PushImage(t.other / L"n1.jpg");
    record->bHasFiles = 1;
    t.list.Append(record.release());
    EXPECT_EQ(fx::Ranges(t.list).back(), "4:8..8:1");
    t.list.Append(static_cast<CInfoBrowse*>(nullptr));
    EXPECT_EQ(t.list.GetLenghtInfoBrowse(), 5);
}

TEST(ListGroups, ReplaceShiftsTheLaterGroups)
{
    ThreeGroups t;   // the last group: nothing behind it moves
    ASSERT_EQ(t.list.Replace(Group(t.other, {L"n1.jpg"}).items, 2), 1);
    EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..2:1", "1:3..4:1", "2:5..5:1"}));
    EXPECT_EQ(fx::ListNames(t.list).back(), "n1.jpg");

    ThreeGroups m;   // the middle group: the last one moves with it
    ASSERT_EQ(m.list.Replace(Group(m.other, {L"n1.jpg", L"n2.jpg", L"n3.jpg", L"n4.jpg", L"n5.jpg"}).items, 1), 1);
    EXPECT_EQ(fx::Ranges(m.list), Names({"0:0..2:1", "1:3..7:1", "2:8..10:1"}));
    ASSERT_EQ(m.list.Replace(Group(m.other, {L"gone.jpg"}).items, 1), 1);
    EXPECT_EQ(fx::Ranges(m.list), Names({"0:0..2:1", "1:3..2:0", "2:3..5:1"}));
    EXPECT_EQ(fx::ListNames(m.list), kWithoutG1);

    // A group without files takes its new files where its range begins.
    Group two(m.other, {L"n2.jpg", L"n1.jpg"});
    ASSERT_EQ(m.list.Replace(two.items, 1), 1);
    EXPECT_EQ(fx::ListNames(m.list), Names({"a.jpg", "b.jpg", "c.jpg", "n2.jpg", "n1.jpg", "f.bmp", "g.bmp", "h.bmp"}));
    EXPECT_EQ(fx::Ranges(m.list), kThreeRanges);
    EXPECT_WEQ((m.other / L"n2.jpg").c_str(), two.items[0]->pName->c_str()) << "the caller's entries stay the caller's";
    for (int bad : {-1, 3})
        EXPECT_EQ(m.list.Replace(two.items, bad), 0) << "record " << bad;
    EXPECT_EQ(fx::Ranges(m.list), kThreeRanges);
}

TEST(ListGroups, ReplaceOnAFreshRecordKeepsLaterRangesRight)
{
    fx::Dir dir;   // a record from the folder constructor says 0..0 without holding files
    ASSERT_TRUE(fx::MakeFiles(dir, {L"x.jpg", L"y.jpg"}));
    MyString folder = dir.path();
    SortDir list(folder, 0);
    list.Append(Group(dir, {L"y.jpg"}).items, L"later");
    ASSERT_EQ(fx::Ranges(list), Names({"-1:0..0:0", "1:0..0:1"}));
    ASSERT_EQ(list.Replace(Group(dir, {L"x.jpg"}).items, 0), 1);
    EXPECT_EQ(fx::ListNames(list), Names({"x.jpg", "y.jpg"}));
    EXPECT_EQ(fx::Ranges(list), Names({"-1:0..0:1", "1:1..1:1"}));
}

TEST(ListGroups, RemoveRenumbersTheLaterGroups)
{
    for (bool emptied : {false, true}) {   // a middle group without files: only the numbering changes
        ThreeGroups t;
        if (emptied)
            t.list.Replace(Group(t.other, {L"gone.jpg"}).items, 1);
        EXPECT_EQ(t.list.Remove(1), 1);
        EXPECT_EQ(fx::ListNames(t.list), kWithoutG1) << "emptied " << emptied;
        EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..2:1", "1:3..5:1"})) << "emptied " << emptied;
        EXPECT_WEQ(L"g2", t.list.GetInfoBrowse(1)->pPath->c_str());
    }
    ThreeGroups t;
    EXPECT_EQ(t.list.Remove(-1) + t.list.Remove(3), 0);
    EXPECT_EQ(t.list.Remove(0), 1);
    EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..1:1", "1:2..4:1"}));
    EXPECT_EQ(t.list.Remove(1) + t.list.Remove(0), 2);
    EXPECT_EQ(t.list.Remove(0), 0) << "empty list";
    ThreeGroups all;
    all.list.RemoveAll();
    EXPECT_EQ(all.list.GetLengthFileList() + all.list.GetLenghtInfoBrowse(), 0);
    EXPECT_TRUE(all.list.GetDirectory().empty());
}

TEST(ListFiles, DeleteFileDropsTheFirstEntryOfThatNameIgnoringCase)
{
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFiles(dir, {L"a.jpg", L"b.jpg"}) && MakeFile(dir / L"z.jpg", 0));
    SortDir list;
    list.InitializeSortDir(dir.path().c_str(), 0);
    for (const WCHAR* name : {L"a.jpg", L"b.jpg", L"A.JPG", L"z.jpg"})
        list.PushImage(dir / name);
    for (unsigned bad : {3u, 4u, 0xFFFFFFFFu})   // 3: size 0
        EXPECT_EQ(list.DeleteFileW(bad), 0) << "position " << bad;
    EXPECT_EQ(list.DeleteFileW(2), 1);
    EXPECT_EQ(fx::ListNames(list), Names({"b.jpg", "A.JPG", "z.jpg"})) << "the earlier a.jpg went";
    EXPECT_EQ(fx::DiskNames(dir.path()), Names({"a.jpg", "b.jpg", "z.jpg"})) << "the disk is untouched";
}

TEST(ListFiles, RenameFileInAndOutOfTheList)
{
    fx::Dir dir;
    ASSERT_TRUE(fx::MakeFiles(dir, {L"a.jpg", L"b.jpg", L"c.txt"}, 7));
    SortDir list;
    fx::ListFolder(list, dir.path());
    const Names listed = {"фото 1.jpg", "b.jpg"}, disk = {"b.jpg", "d.txt", "фото 1.jpg"};
    EXPECT_EQ(list.RenameFile((dir / L"a.jpg").c_str(), (dir / L"фото 1.jpg").c_str()), 1);
    EXPECT_EQ((*list.GetFileList())[0]->dwSize, 7u) << "size stays";
    EXPECT_EQ(list.RenameFile((dir / L"c.txt").c_str(), (dir / L"d.txt").c_str()), -1) << "not in the list";
    struct Failure { const WCHAR* from; const WCHAR* to; } failures[] = {
        {L"missing.jpg", L"x.jpg"}, {L"b.jpg", L"d.txt"} /* taken */, {nullptr, L"x.jpg"}, {L"b.jpg", nullptr},
    };
    for (const Failure& f : failures)
        EXPECT_EQ(list.RenameFile(f.from ? (dir / f.from).c_str() : nullptr, f.to ? (dir / f.to).c_str() : nullptr), 0)
            << lvtest::Utf8(f.from) << " to " << lvtest::Utf8(f.to);
    EXPECT_EQ(fx::ListNames(list), listed);
    EXPECT_EQ(fx::DiskNames(dir.path()), disk);
}

TEST(ListRenumber, RenamesEveryFileIntoTheFolder)
{
    struct Case { int first; Names list; } cases[] = {
        {1, {"Trip0001.jpg", "Trip0002.png", "Trip0003.bmp"}},
        {9999, {"Trip9999.jpg", "Trip10000.png", "Trip10001.bmp"}},
    };
    for (const Case& c : cases) {
        Names disk = c.list;
        std::sort(disk.begin(), disk.end());
        fx::Dir dir, other;
        ASSERT_TRUE(fx::MakeFiles(dir, {L"a.jpg", L"b.png"}) && MakeFile(other / L"c.bmp", 7));
        SortDir list;
        fx::ListFolder(list, dir.path());
        list.Append(Group(other, {L"c.bmp"}).items, L"other");
        MyString base(L"Trip");
        EXPECT_EQ(list.RenameImageList(base, c.first), 1) << "from " << c.first;
        EXPECT_EQ(fx::DiskNames(dir.path()), disk) << "from " << c.first;
        EXPECT_EQ(fx::DiskNames(other.path()), Names()) << "appended files move into the folder";
        EXPECT_EQ(fx::ListNames(list), c.list) << "from " << c.first;
        EXPECT_EQ(fx::ReadText(dir / lvtest::Wide(c.list[2].c_str()).c_str()), "xxxxxxx") << "c.bmp's bytes, renamed";
        const CFileEntry* entry = (*list.GetFileList())[2];   // size and time unknown until rebuilt
        EXPECT_EQ(entry->dwSize | entry->ftLastWrite.dwLowDateTime | entry->ftLastWrite.dwHighDateTime, 0u);
        EXPECT_EQ(fx::Ranges(list), Names({"0:0..1:1", "1:2..2:1"}));
    }
}

// The second of three renames fails, on a taken name or out of a locked
// folder; the first is put back and no file is lost.
TEST(ListRenumber, AFailedRenameRollsBack)
{
    auto renumber = [](const fx::Dir& dir, const MyString& bFolder) {
        SortDir list;
        list.InitializeSortDir(dir.path().c_str(), 0);
        for (const MyString& path : {dir / L"a.jpg", bFolder + L"\\b.png", dir / L"c.bmp"})
            list.PushImage(path);
        MyString base(L"Trip");
        EXPECT_EQ(list.RenameImageList(base, 1), 0);
        EXPECT_EQ(fx::ListNames(list), Names({"a.jpg", "b.png", "c.bmp"}));
        EXPECT_NE(list.GetString(0), nullptr) << "entries of files back under their names keep their sizes";
        EXPECT_EQ(fx::ReadText(dir / L"a.jpg") + "|" + fx::ReadText(bFolder + L"\\b.png") + "|" +
                  fx::ReadText(dir / L"c.bmp"), "x|xx|xxx") << "a, b and c under their old names";
    };
    fx::Dir dir, other;
    ASSERT_TRUE(MakeFile(dir / L"a.jpg", 1) && MakeFile(dir / L"b.png", 2) && MakeFile(dir / L"c.bmp", 3) &&
                MakeFile(dir / L"Trip0002.png", 4));
    renumber(dir, dir.path());
    EXPECT_EQ(fx::DiskNames(dir.path()), Names({"Trip0002.png", "a.jpg", "b.png", "c.bmp"}));
    EXPECT_EQ(fx::ReadText(dir / L"Trip0002.png"), "xxxx");

    MyString locked = other / L"locked";
    ASSERT_TRUE(DeleteFileW((dir / L"Trip0002.png").c_str()) && CreateDirectoryW(locked.c_str(), nullptr) &&
                MoveFileW((dir / L"b.png").c_str(), (locked + L"\\b.png").c_str()));
    fx::LockedFolder lock(locked);   // declared after the folders: unlocked before they go
    if (!lock.error.empty())
        GTEST_SKIP() << "cannot lock a folder here: " << lock.error;
    renumber(dir, locked);
    EXPECT_EQ(fx::DiskNames(dir.path()), Names({"a.jpg", "c.bmp"}));
    EXPECT_EQ(fx::DiskNames(locked), Names({"b.png"}));
}
