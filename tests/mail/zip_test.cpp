// CZLib: archives read back entry by entry; names, storing or deflating, and
// never a partial or lost archive.
#include <lorvexops/ziplib.h>
#include "mailtest.h"

using mailtest::MakePicture;
using lvtest::WString;

namespace {

WString Sub(const lvtest::TempDir& dir, const char* folder, const char* name)
{
    WString path = dir.File(lvtest::Wide(folder).c_str());
    CreateDirectoryW(path.c_str(), nullptr);
    return path + L"\\" + lvtest::Wide(name);
}

int FilesIn(const WString& folder)
{
    int count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data))
        count += !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    FindClose(find);
    return count;
}

// A JPEG under a name that does not say so.
WString JpegNamed(const WString& path)
{
    const WString jpeg = MakePicture(path + L".jpg", 30, 30);
    MoveFileW(jpeg.c_str(), path.c_str());
    return path;
}

}  // namespace

TEST(ZipLibrary, EntriesKeepEveryByteUnderDistinctUtf8Names)
{
    lvtest::TempDir dir;
    struct {
        WString path;
        const char* entry;
        int method;
    } rows[] = {
        {MakePicture(Sub(dir, "a", "фото.jpg"), 40, 30), "фото.jpg", 0},
        {MakePicture(Sub(dir, "a", "写真.png"), 40, 30, 1), "写真.png", 0},
        {MakePicture(Sub(dir, "a", "anim🎞.gif"), 40, 30, 2), "anim🎞.gif", 0},
        {MakePicture(Sub(dir, "a", "page.bmp"), 40, 30, 3), "page.bmp", 8},
        // Same name from other folders, in other letter case: both kept.
        {MakePicture(Sub(dir, "b", "PAGE.bmp"), 20, 10, 4), "PAGE (2).bmp", 8},
        {MakePicture(Sub(dir, "c", "page.BMP"), 10, 20, 5), "page (3).BMP", 8},
        // A JPEG by content under another extension is stored all the same.
        {JpegNamed(Sub(dir, "c", "photo.dat")), "photo.dat", 0},
    };

    const WString archive = dir.File(L"out.zip");
    CZLib zip;
    ASSERT_EQ(1, zip.Open(archive.c_str(), 0));
    for (const auto& row : rows)
        EXPECT_EQ(1, zip.AddFile(row.path.c_str())) << row.entry;
    EXPECT_EQ(0, zip.AddFile(dir.File(L"missing.jpg").c_str()));
    EXPECT_FALSE(lvtest::FileExists(archive.c_str())) << "visible before it is complete";
    ASSERT_EQ(1, zip.Close());

    const auto entries = mailtest::ReadZip(archive.c_str());
    ASSERT_EQ(std::size(rows), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(rows[i].entry);
        EXPECT_EQ(rows[i].entry, entries[i].name);
        EXPECT_EQ(rows[i].method, entries[i].method);
        EXPECT_TRUE(entries[i].flags & 0x800) << "language-encoding flag";
        EXPECT_TRUE(entries[i].bytes == mailtest::Bytes(rows[i].path));
    }
    EXPECT_EQ(1, FilesIn(dir.path())) << "temporary files left beside the archive";
}

TEST(ZipLibrary, OnlyACompleteArchiveReplacesAnOlderOne)
{
    lvtest::TempDir dir;
    const WString picture = MakePicture(dir.File(L"p.png"), 16, 16);
    const WString archive = dir.File(L"out.zip");
    lvtest::WriteWholeFile(archive.c_str(), "older", 5);
    {
        CZLib abandoned;   // destroyed without Close
        ASSERT_EQ(1, abandoned.Open(archive.c_str(), 0));
        abandoned.AddFile(picture.c_str());
    }
    EXPECT_EQ("older", mailtest::Bytes(archive));
    EXPECT_EQ(2, FilesIn(dir.path())) << "the abandoned archive left a file";

    CZLib zip;
    ASSERT_EQ(1, zip.Open(archive.c_str(), 0));
    ASSERT_EQ(1, zip.AddFile(picture.c_str()));
    ASSERT_EQ(1, zip.Close());
    EXPECT_EQ(1u, mailtest::ReadZip(archive.c_str()).size());
    EXPECT_EQ(0, zip.Close()) << "closed twice";

    CZLib nowhere;
    EXPECT_EQ(0, nowhere.Open(dir.File(L"no\\such\\folder.zip").c_str(), 0));
    EXPECT_EQ(0, nowhere.AddFile(picture.c_str()));
    EXPECT_EQ(0, nowhere.Close());
}
