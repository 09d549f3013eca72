// SortDir: construction, copies, building the list from the disk, lookups.
#include "win/guard.h"
#include <lorvexops/folder.h>
#include <lorvexops/filetypes.h>
#include <lorvexops/settings.h>

#include "filetypes/filetypes_internal.h"
#include "folder/folder_internal.h"

#include <shlwapi.h>

#include <algorithm>
#include <memory>

namespace lorvex {

std::unique_ptr<CFileEntry> MakeEntry(const WCHAR* path, DWORD size, const FILETIME& time)
{
    std::unique_ptr<MyString> name(new MyString(path));
    std::unique_ptr<CFileEntry> entry(new CFileEntry);
    entry->pName = name.release();
    entry->dwSize = size;
    entry->ftLastWrite = time;
    return entry;
}

void DestroyEntries(std::vector<CFileEntry*>& entries, size_t first, size_t last)
{
    for (size_t i = first; i < last; ++i)
        delete entries[i];
    entries.erase(entries.begin() + first, entries.begin() + last);
}

bool ListsNamesWithoutExtension()
{
    return gVSO[VSO_OPEN_FILE_OUT_EXT].nValue == 1;
}

}  // namespace lorvex

namespace {

std::unique_ptr<CInfoBrowse> CopyRecord(const CInfoBrowse& source)
{
    std::unique_ptr<CInfoBrowse> copy(new CInfoBrowse);
    std::unique_ptr<MyString> path(source.pPath ? new MyString(*source.pPath) : nullptr);
    *copy = source;
    copy->pPath = path.release();
    return copy;
}

std::unique_ptr<CFileEntry> CopyEntry(const CFileEntry& source)
{
    std::unique_ptr<CFileEntry> copy(new CFileEntry);
    std::unique_ptr<MyString> name(source.pName ? new MyString(*source.pName) : nullptr);
    *copy = source;
    copy->pName = name.release();
    return copy;
}

// Vectors that destroy what they still hold, so a copy that fails half-way
// leaks nothing.
struct EntryVector {
    std::vector<CFileEntry*> items;
    ~EntryVector() { lorvex::DestroyEntries(items, 0, items.size()); }
};
struct RecordVector {
    std::vector<CInfoBrowse*> items;
    ~RecordVector()
    {
        for (CInfoBrowse* record : items)
            delete record;
    }
};

void DeepCopy(const SortDir& source, EntryVector& entries, RecordVector& records)
{
    entries.items.reserve(source.fileList.size());
    for (const CFileEntry* entry : source.fileList)
        entries.items.push_back(entry ? CopyEntry(*entry).release() : nullptr);
    records.items.reserve(source.browseList.size());
    for (const CInfoBrowse* record : source.browseList)
        records.items.push_back(record ? CopyRecord(*record).release() : nullptr);
}

}  // namespace

SortDir::SortDir() : nHostValue(0) {}

SortDir::SortDir(MyString& folder, unsigned int) : nHostValue(0)
{
    lorvex::Guarded([&] {
        std::unique_ptr<CInfoBrowse> record(new CInfoBrowse);
        record->pPath = new MyString(folder);
        browseList.push_back(record.get());
        record.release();
    });
}

SortDir::SortDir(const SortDir& other) : nHostValue(other.nHostValue)
{
    lorvex::Guarded([&] {
        directory = other.directory;
        EntryVector entries;
        RecordVector records;
        DeepCopy(other, entries, records);
        fileList.swap(entries.items);
        browseList.swap(records.items);
    });
}

SortDir& SortDir::operator=(const SortDir& other)
{
    if (this == &other)
        return *this;
    lorvex::Guarded([&] {
        EntryVector entries;
        RecordVector records;
        DeepCopy(other, entries, records);
        MyString path(other.directory);
        ClearList();
        fileList.swap(entries.items);
        browseList.swap(records.items);
        directory = path;
        nHostValue = other.nHostValue;
    });
    return *this;
}

SortDir::~SortDir()
{
    ClearList();
}

void SortDir::ClearList()
{
    lorvex::DestroyEntries(fileList, 0, fileList.size());
    std::vector<CFileEntry*>().swap(fileList);
    for (CInfoBrowse* record : browseList)
        delete record;
    std::vector<CInfoBrowse*>().swap(browseList);
}

void SortDir::InitializeSortDir(const WCHAR* folder, unsigned int)
{
    lorvex::Guarded([&] {
        ClearList();
        nHostValue = 0;
        directory = folder;
        int length = directory.length();
        if (length > 0 && directory[length - 1] != L'\\')
            directory += L"\\";
        std::unique_ptr<CInfoBrowse> record(new CInfoBrowse);
        record->pPath = new MyString(directory);
        browseList.push_back(record.get());
        record.release();
        browseList.back()->nIndex = static_cast<int>(browseList.size()) - 1;
    });
}

void SortDir::PushFile(MyString* path)
{
    std::unique_ptr<MyString> owned(path);
    lorvex::Guarded([&] {
        if (!owned)
            return;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(owned->c_str(), GetFileExInfoStandard, &data))
            return;
        std::unique_ptr<CFileEntry> entry(new CFileEntry);
        entry->pName = owned.release();
        entry->dwSize = data.nFileSizeLow;
        entry->ftLastWrite = data.ftLastWriteTime;
        fileList.push_back(entry.get());
        entry.release();
    });
}

void SortDir::PushImage(MyString path)
{
    lorvex::Guarded([&] {
        PushFile(new MyString(path));
    });
}

void SortDir::CreateSortedImageList()
{
    // Out of memory part-way: sort and describe what was added.
    lorvex::Guarded([&] {
        if (!directory.empty()) {
            std::vector<const WCHAR*> extensions;
            for (const WCHAR* ext : szSupportedFilesFilter)
                if (ext && !lorvex::IsPortfolio(ext))
                    extensions.push_back(ext);
            lorvex::FolderScan scan;
            if (scan.Read(directory.c_str())) {
                for (const WCHAR* ext : extensions)
                    scan.AddMatches(lorvex::ExtensionPattern(ext), fileList);
                if (lorvex::ListsNamesWithoutExtension())
                    scan.AddNamesWithoutExtension(fileList);
            }
        }
    });
    std::sort(fileList.begin(), fileList.end(), FileEntryBefore);
    if (!browseList.empty() && browseList.back()) {
        CInfoBrowse* record = browseList.back();
        record->nLast = static_cast<int>(fileList.size()) - 1;
        if (record->nLast >= record->nFirst)
            record->bHasFiles = 1;
    }
}

MyString* SortDir::GetString(int i)
{
    if (i < 0 || static_cast<size_t>(i) >= fileList.size())
        return nullptr;
    CFileEntry* entry = fileList[i];
    if (!entry || entry->dwSize == 0)
        return nullptr;
    return entry->pName;
}

int SortDir::GetIndex(MyString& name)
{
    for (size_t i = 0; i < fileList.size(); ++i) {
        const CFileEntry* entry = fileList[i];
        if (entry && entry->pName && (*entry->pName == name))
            return static_cast<int>(i);
    }
    return -1;
}

namespace {

bool NameStartsWith(const CFileEntry* entry, WCHAR wanted)
{
    if (!entry || !entry->pName)
        return false;
    const WCHAR* name = PathFindFileNameW(entry->pName->c_str());
    return name && lorvex::AsciiUpper(name[0]) == wanted;
}

}  // namespace

int SortDir::GetIndexFirstLater(WCHAR ch, int start)
{
    int count = static_cast<int>(fileList.size());
    if (count == 0)
        return -1;
    WCHAR wanted = lorvex::AsciiUpper(ch);
    if (start >= 0) {
        for (int i = start; i < count; ++i)
            if (NameStartsWith(fileList[i], wanted))
                return i;
    }
    if (start < 1)
        return -1;
    int end = std::min(start, count);
    for (int i = 0; i < end; ++i)
        if (NameStartsWith(fileList[i], wanted))
            return i;
    return -1;
}

int SortDir::GetIndexListBrowse(int i)
{
    for (const CInfoBrowse* record : browseList)
        if (record && record->nFirst <= i && i <= record->nLast)
            return record->nIndex;
    return -1;
}

int SortDir::GetIndexFirstImgBrowse(int b)
{
    const CInfoBrowse* record = GetInfoBrowse(b);
    return record ? record->nFirst : 0;
}

CInfoBrowse* SortDir::GetInfoBrowse(int b)
{
    if (b < 0 || static_cast<size_t>(b) >= browseList.size())
        return nullptr;
    return browseList[b];
}

CInfoBrowse* SortDir::GetInfoBrowseIndexUppdate(int key)
{
    for (CInfoBrowse* record : browseList)
        if (record && record->nIndexUpdate == key)
            return record;
    return nullptr;
}

int SortDir::GetLengthFileList()
{
    return static_cast<int>(fileList.size());
}

int SortDir::GetLenghtInfoBrowse()
{
    return static_cast<int>(browseList.size());
}

MyString SortDir::GetDirectory()
{
    return lorvex::Guarded<MyString>(MyString(), [&]() -> MyString {
        return directory;
    });
}

const std::vector<CFileEntry*>* SortDir::GetFileList() const
{
    return &fileList;
}
