// SortDir: the edits that follow what the user does after the list is built.
#include "folder/folder_internal.h"

#include <algorithm>
#include <memory>

namespace {

// The existing positions of a range [first, last], as a half-open span.
void ExistingSpan(int first, int last, size_t count, size_t* begin, size_t* end)
{
    long long b = std::max(first, 0);
    long long e = std::min(static_cast<long long>(last) + 1, static_cast<long long>(count));
    *begin = static_cast<size_t>(std::min<long long>(b, count));
    *end = e > b ? static_cast<size_t>(e) : *begin;
}

void AppendRecord(std::vector<CInfoBrowse*>& records, CInfoBrowse* record)
{
    records.push_back(record);
    record->nIndex = static_cast<int>(records.size()) - 1;
}

}  // namespace

void SortDir::Append(std::vector<CFileEntry*> v, const WCHAR* name)
{
    try {
        std::unique_ptr<CInfoBrowse> record(new CInfoBrowse);
        record->nFirst = static_cast<int>(fileList.size());
        for (const CFileEntry* element : v) {
            if (!element || !element->pName)
                continue;
            size_t before = fileList.size();
            PushFile(new MyString(*element->pName));
            if (fileList.size() > before)
                record->bHasFiles = 1;
        }
        record->nLast = static_cast<int>(fileList.size()) - 1;
        record->pPath = new MyString(name);
        AppendRecord(browseList, record.get());
        record.release();
    } catch (...) {
    }
}

void SortDir::Append(CInfoBrowse* r)
{
    if (!r)
        return;
    std::unique_ptr<CInfoBrowse> owned(r);
    try {
        r->nLast = static_cast<int>(fileList.size()) - 1;
        AppendRecord(browseList, r);
        owned.release();
    } catch (...) {
    }
}

int SortDir::Replace(std::vector<CFileEntry*> v, int b)
{
    try {
        CInfoBrowse* r = GetInfoBrowse(b);
        if (!r)
            return 0;
        int oldCount = r->nLast - r->nFirst + 1;
        size_t insertAt;
        if (r->bHasFiles == 1) {
            size_t end;
            ExistingSpan(r->nFirst, r->nLast, fileList.size(), &insertAt, &end);
            lorvex::DestroyEntries(fileList, insertAt, end);
            r->bHasFiles = 0;
        } else {
            // A group without files takes its new files where its range
            // begins, right after the previous group's entries.
            size_t ignored;
            ExistingSpan(r->nFirst, r->nFirst, fileList.size(), &insertAt, &ignored);
            r->nFirst = static_cast<int>(insertAt);
            r->nLast = r->nFirst - 1;
            oldCount = 0;
        }
        int newCount = 0;
        for (const CFileEntry* element : v) {
            if (!element || !element->pName)
                continue;
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (!GetFileAttributesExW(element->pName->c_str(), GetFileExInfoStandard, &data))
                continue;
            std::unique_ptr<CFileEntry> entry =
                lorvex::MakeEntry(element->pName->c_str(), data.nFileSizeLow, data.ftLastWriteTime);
            fileList.insert(fileList.begin() + insertAt, entry.get());
            entry.release();
            ++insertAt;
            ++newCount;
            r->bHasFiles = 1;
        }
        int shift = newCount - oldCount;
        if (shift != 0) {
            r->nLast += shift;
            for (size_t k = static_cast<size_t>(b) + 1; k < browseList.size(); ++k) {
                CInfoBrowse* later = browseList[k];
                if (later && later->nIndex > b) {
                    later->nFirst += shift;
                    later->nLast += shift;
                }
            }
        }
        return 1;
    } catch (...) {
        return 0;
    }
}

int SortDir::Remove(int b)
{
    CInfoBrowse* r = GetInfoBrowse(b);
    if (!r)
        return 0;
    if (r->bHasFiles == 1) {
        size_t begin, end;
        ExistingSpan(r->nFirst, r->nLast, fileList.size(), &begin, &end);
        lorvex::DestroyEntries(fileList, begin, end);
        int removed = r->nLast - r->nFirst + 1;
        for (size_t k = static_cast<size_t>(b) + 1; k < browseList.size(); ++k) {
            if (CInfoBrowse* later = browseList[k]) {
                later->nFirst -= removed;
                later->nLast -= removed;
            }
        }
    }
    for (size_t k = static_cast<size_t>(b) + 1; k < browseList.size(); ++k)
        if (CInfoBrowse* later = browseList[k])
            --later->nIndex;
    browseList.erase(browseList.begin() + b);
    delete r;
    return 1;
}

void SortDir::RemoveAll()
{
    for (CInfoBrowse* record : browseList)
        delete record;
    browseList.clear();
    lorvex::DestroyEntries(fileList, 0, fileList.size());
    directory.erase();
    nHostValue = 0;
}

int SortDir::DeleteFileW(unsigned int i)
{
    if (i >= fileList.size())
        return 0;
    const CFileEntry* target = fileList[i];
    if (!target || target->dwSize == 0 || !target->pName)
        return 0;
    for (size_t k = 0; k < fileList.size(); ++k) {
        const CFileEntry* entry = fileList[k];
        if (entry && entry->pName && (*entry->pName |= *target->pName)) {
            lorvex::DestroyEntries(fileList, k, k + 1);
            return 1;
        }
    }
    return 0;
}

int SortDir::RenameFile(const WCHAR* oldPath, const WCHAR* newPath)
{
    try {
        if (!oldPath || !newPath)
            return 0;
        // Made before the disk changes, so nothing can fail after the rename.
        std::unique_ptr<MyString> newName(new MyString(newPath));
        MyString oldName(oldPath);
        if (!MoveFileW(oldPath, newPath))
            return 0;
        int index = GetIndex(oldName);
        if (index < 0)
            return -1;
        CFileEntry* entry = fileList[index];
        delete entry->pName;
        entry->pName = newName.release();
        return 1;
    } catch (...) {
        return 0;
    }
}

int SortDir::RenameImageList(MyString& base, int first)
{
    try {
        // Every new name is made before the first rename, so a failure can
        // only come from the disk, and the roll-back needs no memory.
        size_t count = fileList.size();
        std::vector<std::unique_ptr<MyString>> newNames(count);
        for (size_t i = 0; i < count; ++i) {
            const CFileEntry* entry = fileList[i];
            if (!entry || !entry->pName)
                continue;
            WCHAR number[16];
            wsprintfW(number, L"%04u", static_cast<unsigned int>(static_cast<int>(i) + first));
            std::unique_ptr<MyString> name(new MyString(directory));
            *name += base;
            *name += number;
            *name += entry->pName->GetStringExtension();
            newNames[i] = std::move(name);
        }
        size_t renamed = 0;
        for (; renamed < count; ++renamed) {
            if (!newNames[renamed])
                continue;
            if (!MoveFileW(fileList[renamed]->pName->c_str(), newNames[renamed]->c_str()))
                break;
        }
        if (renamed < count) {
            // Put back what was renamed, last first. A file that cannot go
            // back keeps its new name in the list, so the list names it.
            for (size_t k = renamed; k-- > 0;) {
                if (!newNames[k])
                    continue;
                if (MoveFileW(newNames[k]->c_str(), fileList[k]->pName->c_str()))
                    continue;
                CFileEntry* entry = fileList[k];
                delete entry->pName;
                entry->pName = newNames[k].release();
                entry->dwSize = 0;
                entry->ftLastWrite = FILETIME();
            }
            return 0;
        }
        // The renamed files are named by their new names; size and time are
        // unknown until the host rebuilds the list.
        for (size_t i = 0; i < count; ++i) {
            if (!newNames[i])
                continue;
            CFileEntry* entry = fileList[i];
            delete entry->pName;
            entry->pName = newNames[i].release();
            entry->dwSize = 0;
            entry->ftLastWrite = FILETIME();
        }
        return 1;
    } catch (...) {
        return 0;
    }
}
