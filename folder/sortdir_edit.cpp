// SortDir: the edits that follow what the user does after the list is built.
#include "win/guard.h"
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
    lorvex::Guarded([&] {
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
    });
}

void SortDir::Append(CInfoBrowse* r)
{
    if (!r)
        return;
    std::unique_ptr<CInfoBrowse> owned(r);
    lorvex::Guarded([&] {
        r->nLast = static_cast<int>(fileList.size()) - 1;
        AppendRecord(browseList, r);
        owned.release();
    });
}

int SortDir::Replace(std::vector<CFileEntry*> v, int b)
{
    return lorvex::Guarded<int>(0, [&]() -> int {
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
    });
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
    return lorvex::Guarded<int>(0, [&]() -> int {
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
    });
}

namespace {

// One file of a renumber: where it is now, where it waits, where it goes.
struct Move {
    CFileEntry* entry = nullptr;
    std::unique_ptr<MyString> parked;   // unique name in the same folder
    std::unique_ptr<MyString> target;
    enum Stage { Original, Parked, Final } stage = Original;
};

// Moves from to a name of the folder that no file has; the name, or null.
std::unique_ptr<MyString> Park(const MyString& folder, const MyString& from, unsigned& counter)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        WCHAR suffix[40];
        wsprintfW(suffix, L"~lvxrenumber%08x%04x.tmp", GetCurrentProcessId(), counter++ & 0xFFFF);
        std::unique_ptr<MyString> parked(new MyString(folder));
        *parked += suffix;
        if (MoveFileW(from.c_str(), parked->c_str()))
            return parked;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            return nullptr;
    }
    return nullptr;
}

// Takes every moved file back to its old name, last first. A file that
// cannot go back is named in the list where it stayed, so the list still
// names every file.
void RollBack(std::vector<Move>& moves)
{
    for (size_t k = moves.size(); k-- > 0;) {
        Move& move = moves[k];
        if (move.stage == Move::Final && MoveFileW(move.target->c_str(), move.parked->c_str()))
            move.stage = Move::Parked;
        if (move.stage == Move::Parked && MoveFileW(move.parked->c_str(), move.entry->pName->c_str()))
            move.stage = Move::Original;
        if (move.stage == Move::Original)
            continue;
        CFileEntry* entry = move.entry;
        delete entry->pName;
        entry->pName = (move.stage == Move::Parked ? move.parked : move.target).release();
        entry->dwSize = 0;
        entry->ftLastWrite = FILETIME();
    }
}

}  // namespace

int SortDir::RenameImageList(MyString& base, int first)
{
    return lorvex::Guarded<int>(0, [&]() -> int {
        // Every new name is made before the first rename, so a failure can
        // only come from the disk.
        std::vector<Move> moves;
        moves.reserve(fileList.size());
        for (size_t i = 0; i < fileList.size(); ++i) {
            CFileEntry* entry = fileList[i];
            if (!entry || !entry->pName)
                continue;
            WCHAR number[16];
            wsprintfW(number, L"%04u", static_cast<unsigned int>(static_cast<int>(i) + first));
            Move move;
            move.entry = entry;
            move.target.reset(new MyString(directory));
            *move.target += base;
            *move.target += number;
            *move.target += entry->pName->GetStringExtension();
            moves.push_back(std::move(move));
        }
        // Two phases, so that a new name may be one the list holds now
        // (Trip0002 becoming Trip0001): every file first goes to a unique
        // name of its own, then each to its new name. A new name held by a
        // file outside the list still fails the whole renumber.
        unsigned counter = 0;
        for (Move& move : moves) {
            move.parked = Park(directory, *move.entry->pName, counter);
            if (!move.parked) {
                RollBack(moves);
                return 0;
            }
            move.stage = Move::Parked;
        }
        for (Move& move : moves) {
            if (!MoveFileW(move.parked->c_str(), move.target->c_str())) {
                RollBack(moves);
                return 0;
            }
            move.stage = Move::Final;
        }
        // The renamed files are named by their new names; size and time are
        // unknown until the host rebuilds the list.
        for (Move& move : moves) {
            CFileEntry* entry = move.entry;
            delete entry->pName;
            entry->pName = move.target.release();
            entry->dwSize = 0;
            entry->ftLastWrite = FILETIME();
        }
        return 1;
    });
}
