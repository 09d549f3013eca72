// Real folders for the folder-list tests: files with chosen sizes (written
// bytes) and times (SetFileTime), and readable views of a list.
#pragma once
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace fx {

using Names = std::vector<std::string>;

struct Dir : lvtest::TempDir {
    MyString path() const { return MyString(lvtest::TempDir::path().c_str()); }
    MyString operator/(const WCHAR* name) const { return MyString(File(name).c_str()); }
};

// Hours after 2021-03-01 00:00 UTC, as a file time.
inline FILETIME Hours(int hours)
{
    ULONGLONG value = 132588576000000000ULL + static_cast<ULONGLONG>(hours) * 36000000000ULL;
    return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

// size bytes 'x' (beyond 1 MiB sparse: only the last byte), last written at time.
inline bool MakeFile(const MyString& path, unsigned long long size, FILETIME time = Hours(0))
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string bytes(size > (1u << 20) ? 1 : static_cast<size_t>(size), 'x');
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size - bytes.size());
    DWORD written = 0;
    bool ok = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
              (bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ok = SetFileTime(file, nullptr, nullptr, &time) && ok;
    CloseHandle(file);
    return ok;
}

inline bool MakeFiles(const Dir& dir, std::initializer_list<const WCHAR*> names, unsigned size = 3)
{
    return std::all_of(names.begin(), names.end(), [&](const WCHAR* name) { return MakeFile(dir / name, size); });
}

inline std::string ReadText(const MyString& path)
{
    std::string bytes;
    return lvtest::ReadWholeFile(path.c_str(), &bytes) ? bytes : std::string("(missing)");
}

// The last path parts of the entries, in order.
inline Names ListNames(const SortDir& list)
{
    Names names;
    for (const CFileEntry* entry : *list.GetFileList()) {
        std::string path = entry && entry->pName ? lvtest::Utf8(entry->pName->c_str()) : "(null)";
        names.push_back(path.substr(path.find_last_of('\\') + 1));
    }
    return names;
}

// "nIndex:nFirst..nLast:bHasFiles" of every record.
inline Names Ranges(SortDir& list)
{
    Names ranges;
    for (int b = 0; b < list.GetLenghtInfoBrowse(); ++b) {
        const CInfoBrowse* r = list.GetInfoBrowse(b);
        ranges.push_back(std::to_string(r->nIndex) + ":" + std::to_string(r->nFirst) + ".." +
                         std::to_string(r->nLast) + ":" + std::to_string(r->bHasFiles));
    }
    return ranges;
}

// The names of the files of folder on disk, sorted.
inline Names DiskNames(const MyString& folder) { return lvtest::FileNames((folder + L"\\*").c_str()); }

inline void ListFolder(SortDir& list, const MyString& folder)
{
    GetOpenFilter();
    list.InitializeSortDir(folder.c_str(), 0);
    list.CreateSortedImageList();
}

// The names a fresh list of folder holds, after checking its one full range.
inline Names Listed(const MyString& folder)
{
    SortDir list;
    ListFolder(list, folder);
    Names names = ListNames(list);
    EXPECT_EQ(Ranges(list), Names({"0:0.." + std::to_string(names.size() - 1) + ":" + (names.empty() ? "0" : "1")}));
    return names;
}

// Caller-owned entries (the list copies the paths).
struct Group {
    std::vector<std::unique_ptr<CFileEntry>> owned;
    std::vector<CFileEntry*> items;
    Group(const Dir& dir, std::initializer_list<const WCHAR*> names)
    {
        for (const WCHAR* name : names) {
            owned.emplace_back(new CFileEntry);
            owned.back()->pName = new MyString(dir / name);
            items.push_back(owned.back().get());
        }
    }
};

// Three groups: the folder g0 (a, b, c), then g1 (d, e) and g2 (f, g, h)
// appended from a second folder, which also holds n1..n5.jpg.
struct ThreeGroups {
    Dir dir, other;
    SortDir list;
    ThreeGroups()
    {
        MakeFiles(dir, {L"a.jpg", L"b.jpg", L"c.jpg"});
        MakeFiles(other, {L"d.png", L"e.png", L"f.bmp", L"g.bmp", L"h.bmp", L"n1.jpg", L"n2.jpg", L"n3.jpg",
                          L"n4.jpg", L"n5.jpg"});
        ListFolder(list, dir.path());
        list.Append(Group(other, {L"d.png", L"e.png"}).items, L"g1");
        list.Append(Group(other, {L"f.bmp", L"g.bmp", L"h.bmp"}).items, L"g2");
    }
};

// The sort key and direction, and the view option "OpenFileOutExt", for a scope.
struct SortSelection {
    DWORD oldMode = gdwSortingMode;
    BOOL oldAscending = bSortAscending;
    SortSelection(DWORD mode, BOOL ascending) { gdwSortingMode = mode, bSortAscending = ascending; }
    ~SortSelection() { gdwSortingMode = oldMode, bSortAscending = oldAscending; }
};
struct NamesWithoutExtension {
    int old = gVSO[VSO_OPEN_FILE_OUT_EXT].nValue;
    explicit NamesWithoutExtension(int value) { gVSO[VSO_OPEN_FILE_OUT_EXT].nValue = value; }
    ~NamesWithoutExtension() { gVSO[VSO_OPEN_FILE_OUT_EXT].nValue = old; }
};

// Sets or clears the Linux immutable flag of a folder: "" or the reason.
std::string SetImmutable(const char* unixPath, bool on);

// A folder unchangeable even for root while the object lives; error is empty
// when the folder was locked.
struct LockedFolder {
    std::string unixPath, error;
    explicit LockedFolder(const MyString& folder) : unixPath(lvtest::UnixPath(folder.c_str()))
    {
        error = unixPath.empty() ? "no Linux path" : SetImmutable(unixPath.c_str(), true);
    }
    ~LockedFolder() { if (error.empty()) SetImmutable(unixPath.c_str(), false); }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;
};

}  // namespace fx
