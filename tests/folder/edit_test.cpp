// Editing a built list: groups appended, replaced and removed, single files
// dropped and renamed, the whole list renumbered on disk.
#include "folder_fixture.h"

#include <memory>

using fx::MakeFile;
using Names = std::vector<std::string>;

namespace {

// Caller-owned entries naming files of a folder (the list copies the paths).
class EntryVector {
public:
    EntryVector(const fx::Scratch& dir, std::initializer_list<const WCHAR*> names)
    {
        for (const WCHAR* name : names) {
            std::unique_ptr<CFileEntry> entry(new CFileEntry);
            entry->pName = new MyString(dir / name);
            m_items.push_back(entry.release());
        }
    }
    ~EntryVector()
    {
        for (CFileEntry* entry : m_items)
            delete entry;
    }
    EntryVector(const EntryVector&) = delete;
    EntryVector& operator=(const EntryVector&) = delete;
    const std::vector<CFileEntry*>& items() const { return m_items; }

private:
    std::vector<CFileEntry*> m_items;
};

// Three groups: the folder g0 (a, b, c), then g1 (d, e) and g2 (f, g, h)
// appended from a second folder.
struct ThreeGroups {
    fx::Scratch dir;
    fx::Scratch other;
    SortDir list;

    ThreeGroups()
    {
        for (const WCHAR* name : {L"a.jpg", L"b.jpg", L"c.jpg"})
            MakeFile(dir / name, 4);
        for (const WCHAR* name : {L"d.png", L"e.png", L"f.bmp", L"g.bmp", L"h.bmp", L"n1.jpg", L"n2.jpg",
                                  L"n3.jpg", L"n4.jpg", L"n5.jpg"})
            MakeFile(other / name, 4);
        fx::ListFolder(list, dir.path());
        EntryVector g1(other, {L"d.png", L"e.png"});
        list.Append(g1.items(), L"g1");
        EntryVector g2(other, {L"f.bmp", L"g.bmp", L"h.bmp"});
        list.Append(g2.items(), L"g2");
    }
};

}  // namespace

TEST(ListGroups, AppendKeepsRangesConsecutive)
{
    ThreeGroups t;
    EXPECT_EQ(fx::Names(t.list), Names({"a.jpg", "b.jpg", "c.jpg", "d.png", "e.png", "f.bmp", "g.bmp", "h.bmp"}));
    EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..2:1", "1:3..4:1", "2:5..7:1"}));
    EXPECT_WEQ(L"g1", t.list.GetInfoBrowse(1)->pPath->c_str());

    // Unreadable files and null elements add nothing; an empty group still
    // gets a record with an empty range.
    EntryVector missing(t.other, {L"nothing.jpg"});
    std::vector<CFileEntry*> withNull = missing.items();
    withNull.push_back(nullptr);
    t.list.Append(withNull, L"none");
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
    struct Case {
        const char* label;
        std::initializer_list<const WCHAR*> files;
        Names names;
        Names ranges;
    } cases[] = {
        {"3 by 5", {L"n1.jpg", L"n2.jpg", L"n3.jpg", L"n4.jpg", L"n5.jpg"},
         {"a.jpg", "b.jpg", "c.jpg", "d.png", "e.png", "n1.jpg", "n2.jpg", "n3.jpg", "n4.jpg", "n5.jpg"},
         {"0:0..2:1", "1:3..4:1", "2:5..9:1"}},
        {"3 by 1", {L"n1.jpg"},
         {"a.jpg", "b.jpg", "c.jpg", "d.png", "e.png", "n1.jpg"},
         {"0:0..2:1", "1:3..4:1", "2:5..5:1"}},
        {"3 by unreadable", {L"gone1.jpg", L"gone2.jpg"},
         {"a.jpg", "b.jpg", "c.jpg", "d.png", "e.png"},
         {"0:0..2:1", "1:3..4:1", "2:5..4:0"}},
    };
    for (const Case& c : cases) {
        ThreeGroups t;
        EntryVector v(t.other, c.files);
        EXPECT_EQ(t.list.Replace(v.items(), 2), 1) << c.label;
        EXPECT_EQ(fx::Names(t.list), c.names) << c.label;
        EXPECT_EQ(fx::Ranges(t.list), c.ranges) << c.label;
    }

    // The middle group: the last one moves with it.
    ThreeGroups t;
    EntryVector five(t.other, {L"n1.jpg", L"n2.jpg", L"n3.jpg", L"n4.jpg", L"n5.jpg"});
    ASSERT_EQ(t.list.Replace(five.items(), 1), 1);
    EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..2:1", "1:3..7:1", "2:8..10:1"}));
    EntryVector none(t.other, {L"gone.jpg"});
    ASSERT_EQ(t.list.Replace(none.items(), 1), 1);
    EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..2:1", "1:3..2:0", "2:3..5:1"}));
    EXPECT_EQ(fx::Names(t.list), Names({"a.jpg", "b.jpg", "c.jpg", "f.bmp", "g.bmp", "h.bmp"}));

    // A group without files takes its new files where its range begins.
    EntryVector two(t.other, {L"n2.jpg", L"n1.jpg"});
    ASSERT_EQ(t.list.Replace(two.items(), 1), 1);
    EXPECT_EQ(fx::Names(t.list), Names({"a.jpg", "b.jpg", "c.jpg", "n2.jpg", "n1.jpg", "f.bmp", "g.bmp", "h.bmp"}));
    EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..2:1", "1:3..4:1", "2:5..7:1"}));

    // The caller's entries are still the caller's (EntryVector frees them).
    EXPECT_WEQ((t.other / L"n2.jpg").c_str(), two.items()[0]->pName->c_str());

    for (int bad : {-1, 3, 100})
        EXPECT_EQ(t.list.Replace(two.items(), bad), 0) << "record " << bad;
    EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..2:1", "1:3..4:1", "2:5..7:1"}));
}

TEST(ListGroups, ReplaceOnAFreshRecordKeepsLaterRangesRight)
{
    // A record from the folder constructor says 0..0 without holding files.
    fx::Scratch dir;
    MakeFile(dir / L"x.jpg", 2);
    MakeFile(dir / L"y.jpg", 2);
    MyString folder = dir.path();
    SortDir list(folder, 0);
    EXPECT_TRUE(list.GetDirectory().empty());
    EntryVector later(dir, {L"y.jpg"});
    list.Append(later.items(), L"later");
    ASSERT_EQ(fx::Ranges(list), Names({"-1:0..0:0", "1:0..0:1"}));
    EntryVector first(dir, {L"x.jpg"});
    ASSERT_EQ(list.Replace(first.items(), 0), 1);
    EXPECT_EQ(fx::Names(list), Names({"x.jpg", "y.jpg"}));
    EXPECT_EQ(fx::Ranges(list), Names({"-1:0..0:1", "1:1..1:1"}));
}

TEST(ListGroups, RemoveRenumbersTheLaterGroups)
{
    {
        ThreeGroups t;
        EXPECT_EQ(t.list.Remove(1), 1);
        EXPECT_EQ(fx::Names(t.list), Names({"a.jpg", "b.jpg", "c.jpg", "f.bmp", "g.bmp", "h.bmp"}));
        EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..2:1", "1:3..5:1"}));
        EXPECT_WEQ(L"g2", t.list.GetInfoBrowse(1)->pPath->c_str());
    }
    {
        // A middle group without files: only the numbering changes.
        ThreeGroups t;
        EntryVector none(t.other, {L"gone.jpg"});
        t.list.Replace(none.items(), 1);
        EXPECT_EQ(t.list.Remove(1), 1);
        EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..2:1", "1:3..5:1"}));
        EXPECT_EQ(fx::Names(t.list), Names({"a.jpg", "b.jpg", "c.jpg", "f.bmp", "g.bmp", "h.bmp"}));
    }
    {
        ThreeGroups t;
        for (int bad : {-1, 3})
            EXPECT_EQ(t.list.Remove(bad), 0) << "record " << bad;
        EXPECT_EQ(t.list.Remove(0), 1);
        EXPECT_EQ(fx::Ranges(t.list), Names({"0:0..1:1", "1:2..4:1"}));
        EXPECT_EQ(t.list.Remove(1), 1);
        EXPECT_EQ(t.list.Remove(0), 1);
        EXPECT_EQ(t.list.GetLengthFileList(), 0);
        EXPECT_EQ(t.list.Remove(0), 0) << "empty list";
    }
}

TEST(ListGroups, RemoveAllEmptiesEverything)
{
    ThreeGroups t;
    t.list.nHostValue = 3;
    t.list.RemoveAll();
    EXPECT_EQ(t.list.GetLengthFileList(), 0);
    EXPECT_EQ(t.list.GetLenghtInfoBrowse(), 0);
    EXPECT_TRUE(t.list.GetDirectory().empty());
    EXPECT_EQ(t.list.nHostValue, 0);
    EXPECT_GT(t.list.fileList.capacity(), 0u) << "storage is kept";
}

TEST(ListFiles, DeleteFileDropsTheFirstEntryOfThatNameIgnoringCase)
{
    fx::Scratch dir;
    MakeFile(dir / L"a.jpg", 3);
    MakeFile(dir / L"b.jpg", 3);
    MakeFile(dir / L"z.jpg", 0);
    SortDir list;
    list.InitializeSortDir(dir.path().c_str(), 0);
    for (const WCHAR* name : {L"a.jpg", L"b.jpg", L"A.JPG", L"z.jpg"})
        list.PushImage(dir / name);
    ASSERT_EQ(fx::Names(list), Names({"a.jpg", "b.jpg", "A.JPG", "z.jpg"}));

    for (unsigned bad : {3u, 4u, 0xFFFFFFFFu})
        EXPECT_EQ(list.DeleteFileW(bad), 0) << "position " << bad;
    EXPECT_EQ(list.DeleteFileW(2), 1);
    EXPECT_EQ(fx::Names(list), Names({"b.jpg", "A.JPG", "z.jpg"})) << "the earlier a.jpg went";
    EXPECT_EQ(fx::DiskNames(dir.path()), Names({"a.jpg", "b.jpg", "z.jpg"})) << "the disk is untouched";
    EXPECT_EQ(list.DeleteFileW(0), 1);
    EXPECT_EQ(fx::Names(list), Names({"A.JPG", "z.jpg"}));
}

TEST(ListFiles, RenameFileInAndOutOfTheList)
{
    fx::Scratch dir;
    MakeFile(dir / L"a.jpg", 7);
    MakeFile(dir / L"b.jpg", 7);
    MakeFile(dir / L"c.txt", 7);
    SortDir list;
    fx::ListFolder(list, dir.path());
    ASSERT_EQ(fx::Names(list), Names({"a.jpg", "b.jpg"}));

    EXPECT_EQ(list.RenameFile((dir / L"a.jpg").c_str(), (dir / L"фото 1.jpg").c_str()), 1);
    EXPECT_EQ(fx::Names(list), Names({"фото 1.jpg", "b.jpg"}));
    EXPECT_EQ((*list.GetFileList())[0]->dwSize, 7u) << "size stays";
    EXPECT_EQ(fx::DiskNames(dir.path()), Names({"b.jpg", "c.txt", "фото 1.jpg"}));

    EXPECT_EQ(list.RenameFile((dir / L"c.txt").c_str(), (dir / L"d.txt").c_str()), -1) << "not in the list";
    EXPECT_TRUE(fx::Exists(dir / L"d.txt"));
    EXPECT_EQ(fx::Names(list), Names({"фото 1.jpg", "b.jpg"}));

    struct Failure { const WCHAR* from; const WCHAR* to; } failures[] = {
        {L"missing.jpg", L"x.jpg"}, {L"b.jpg", L"d.txt"} /* taken */,
    };
    for (const Failure& f : failures) {
        EXPECT_EQ(list.RenameFile((dir / f.from).c_str(), (dir / f.to).c_str()), 0) << lvtest::Utf8(f.from);
        EXPECT_EQ(fx::Names(list), Names({"фото 1.jpg", "b.jpg"}));
    }
    EXPECT_EQ(list.RenameFile(nullptr, (dir / L"x.jpg").c_str()), 0);
    EXPECT_EQ(fx::DiskNames(dir.path()), Names({"b.jpg", "d.txt", "фото 1.jpg"}));
}

TEST(ListRenumber, RenamesEveryFileIntoTheFolder)
{
    struct Case { int first; Names disk; Names list; const WCHAR* moved; } cases[] = {
        {1, {"Trip0001.jpg", "Trip0002.png", "Trip0003.bmp"}, {"Trip0001.jpg", "Trip0002.png", "Trip0003.bmp"},
         L"Trip0003.bmp"},
        {9999, {"Trip10000.png", "Trip10001.bmp", "Trip9999.jpg"}, {"Trip9999.jpg", "Trip10000.png", "Trip10001.bmp"},
         L"Trip10001.bmp"},
    };
    for (const Case& c : cases) {
        fx::Scratch dir;
        fx::Scratch other;
        MakeFile(dir / L"a.jpg", 5);
        MakeFile(dir / L"b.png", 6);
        MakeFile(other / L"c.bmp", 7);
        SortDir list;
        fx::ListFolder(list, dir.path());
        EntryVector appended(other, {L"c.bmp"});
        list.Append(appended.items(), L"other");
        MyString base(L"Trip");
        EXPECT_EQ(list.RenameImageList(base, c.first), 1) << "from " << c.first;
        EXPECT_EQ(fx::DiskNames(dir.path()), c.disk) << "from " << c.first;
        EXPECT_EQ(fx::DiskNames(other.path()), Names()) << "appended files move into the folder";
        EXPECT_EQ(fx::Names(list), c.list) << "from " << c.first;
        EXPECT_EQ(fx::ReadText(dir / c.moved), std::string(7, 'x')) << "c.bmp's bytes under its new name";
        for (int i = 0; i < 3; ++i) {
            const CFileEntry* entry = (*list.GetFileList())[i];
            EXPECT_EQ(entry->dwSize, 0u) << i;
            EXPECT_EQ(entry->ftLastWrite.dwLowDateTime | entry->ftLastWrite.dwHighDateTime, 0u) << i;
            EXPECT_EQ(list.GetString(i), nullptr) << "unknown until the list is rebuilt";
        }
        EXPECT_EQ(fx::Ranges(list), Names({"0:0..1:1", "1:2..2:1"}));
    }
}

TEST(ListRenumber, AFailedRenameLeavesEveryFileUnderItsOldName)
{
    // The second of three renames fails: its target name is taken.
    {
        fx::Scratch dir;
        MakeFile(dir / L"a.jpg", 1);
        MakeFile(dir / L"b.png", 2);
        MakeFile(dir / L"c.bmp", 3);
        MakeFile(dir / L"Trip0002.png", 4);
        SortDir list;
        list.InitializeSortDir(dir.path().c_str(), 0);
        for (const WCHAR* name : {L"a.jpg", L"b.png", L"c.bmp"})
            list.PushImage(dir / name);
        MyString base(L"Trip");
        EXPECT_EQ(list.RenameImageList(base, 1), 0);
        EXPECT_EQ(fx::DiskNames(dir.path()), Names({"Trip0002.png", "a.jpg", "b.png", "c.bmp"}));
        struct Content { const WCHAR* name; size_t size; } contents[] = {
            {L"a.jpg", 1}, {L"b.png", 2}, {L"c.bmp", 3}, {L"Trip0002.png", 4}};
        for (const Content& c : contents)
            EXPECT_EQ(fx::ReadText(dir / c.name).size(), c.size) << lvtest::Utf8(c.name);
        EXPECT_EQ(fx::Names(list), Names({"a.jpg", "b.png", "c.bmp"}));
        EXPECT_NE(list.GetString(0), nullptr) << "entries of files back under their names keep their sizes";
    }
    // The second file lies in a folder that cannot be changed.
    {
        fx::Scratch dir;
        fx::Scratch lockedParent;
        MyString locked = lockedParent / L"locked";
        ASSERT_TRUE(fx::MakeFolder(locked));
        MakeFile(dir / L"a.jpg", 1);
        MakeFile(locked + L"\\b.png", 2);
        MakeFile(dir / L"c.bmp", 3);
        SortDir list;
        list.InitializeSortDir(dir.path().c_str(), 0);
        list.PushImage(dir / L"a.jpg");
        list.PushImage(locked + L"\\b.png");
        list.PushImage(dir / L"c.bmp");
        fx::LockedFolder lock(locked);
        if (!lock.locked())
            GTEST_SKIP() << "the folder could not be locked here";
        MyString base(L"Trip");
        EXPECT_EQ(list.RenameImageList(base, 1), 0);
        EXPECT_EQ(fx::DiskNames(dir.path()), Names({"a.jpg", "c.bmp"}));
        EXPECT_EQ(fx::DiskNames(locked), Names({"b.png"}));
        EXPECT_EQ(fx::Names(list), Names({"a.jpg", "b.png", "c.bmp"}));
    }
}
