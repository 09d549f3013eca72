// lorvex-host list / renumber: a folder's picture list in the chosen order,
// and renumbering its files on disk.
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <shlwapi.h>

namespace {

const struct { const WCHAR* name; DWORD mode; } kModes[] = {
    {L"name", SORT_BY_NAME}, {L"ext", SORT_BY_EXTENSION}, {L"size", SORT_BY_SIZE}, {L"date", SORT_BY_DATE},
};

void PrintList(SortDir& list)
{
    const std::vector<CFileEntry*>& entries = *list.GetFileList();
    for (size_t i = 0; i < entries.size(); ++i) {
        const CFileEntry* entry = entries[i];
        SYSTEMTIME time = {};
        FileTimeToSystemTime(&entry->ftLastWrite, &time);
        Out("  %3u  %10lu  %04u-%02u-%02u %02u:%02u:%02u  ", static_cast<unsigned>(i),
            static_cast<unsigned long>(entry->dwSize), time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
            time.wSecond);
        OutW(PathFindFileNameW(entry->pName ? entry->pName->c_str() : L""));
        Out("\n");
    }
    if (entries.empty())
        Out("  (no pictures)\n");
}

// Lists folder in the given order; the list is left in list.
void ListInOrder(SortDir& list, const WCHAR* folder, DWORD mode, BOOL ascending)
{
    gdwSortingMode = mode;
    bSortAscending = ascending;
    GetOpenFilter();   // the folder list enumerates the filter's extensions
    list.InitializeSortDir(folder, 0);
    list.CreateSortedImageList();
}

}  // namespace

bool ParseFolderArguments(const HostContext& context, const WCHAR* flag, const WCHAR** sortKey, bool* flagGiven)
{
    for (size_t i = 1; i < context.args.size(); ++i) {
        const WCHAR* arg = context.args[i];
        if (!lstrcmpiW(arg, flag)) {
            *flagGiven = true;
        } else if (!lstrcmpiW(arg, L"--sort") && i + 1 < context.args.size()) {
            *sortKey = context.args[++i];
        } else {
            Out("unknown argument: %s\n", Utf8(arg).c_str());
            return false;
        }
    }
    return true;
}

namespace {

int List(const HostContext& context)
{
    if (context.args.empty()) {
        Out("usage: lorvex-host list DIR [--sort name|ext|size|date] [--desc]\n");
        return 2;
    }
    const WCHAR* key = L"name";
    bool descending = false;
    if (!ParseFolderArguments(context, L"--desc", &key, &descending))
        return 2;
    DWORD mode = ~0u;
    for (const auto& m : kModes)
        if (!lstrcmpiW(key, m.name))
            mode = m.mode;
    if (mode == ~0u) {
        Out("unknown sort order: %s\n", Utf8(key).c_str());
        return 2;
    }
    const BOOL ascending = descending ? FALSE : TRUE;
    SortDir list;
    ListInOrder(list, context.args[0], mode, ascending);
    PrintList(list);
    return 0;
}

int Renumber(const HostContext& context)
{
    if (context.args.size() < 3) {
        Out("usage: lorvex-host renumber DIR BASE FIRST\n");
        return 2;
    }
    SortDir list;
    ListInOrder(list, context.args[0], SORT_BY_NAME, TRUE);
    MyString base(context.args[1]);
    int first = StrToIntW(context.args[2]);
    int result = list.RenameImageList(base, first);
    Out("%s\n", result ? "renamed:" : "a rename failed; every file is back under its old name:");
    ListInOrder(list, context.args[0], SORT_BY_NAME, TRUE);
    PrintList(list);
    return result ? 0 : 1;
}

void FolderDemo(const WCHAR* samples, const WCHAR* output)
{
    Heading("lorvex-host list (the samples in each order)");
    const char* labels[] = {"name", "extension", "size", "date"};
    for (const auto& m : kModes) {
        Out("-- by %s, ascending\n", labels[m.mode]);
        SortDir list;
        ListInOrder(list, samples, m.mode, TRUE);
        PrintList(list);
    }
    Out("-- by name, descending\n");
    SortDir list;
    ListInOrder(list, samples, SORT_BY_NAME, FALSE);
    PrintList(list);
    gdwSortingMode = SORT_BY_NAME;
    bSortAscending = TRUE;

    // Renumber a copy, never the samples themselves.
    Heading("lorvex-host renumber (a copy of the samples) Trip 1");
    MyString copy = MyString(output) + L"\\renumbered";
    CreateDirectoryW(copy.c_str(), nullptr);
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((copy + L"\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {   // an earlier run's copy
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((copy + L"\\" + data.cFileName).c_str());
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    MyString from = MyString(samples) + L"\\";
    search = FindFirstFileW((from + L"*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                CopyFileW((from + data.cFileName).c_str(), (copy + L"\\" + data.cFileName).c_str(), FALSE);
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    Out("(in ");
    OutW(copy.c_str());
    Out(")\n");
    const WCHAR* args[] = {copy.c_str(), L"Trip", L"1"};
    RunCommand("renumber", std::vector<const WCHAR*>(args, args + 3));
}

HostCommand list("list", "DIR [--sort name|ext|size|date] [--desc]   a folder's picture list", List, FolderDemo, 50);
HostCommand renumber("renumber", "DIR BASE FIRST   renames the pictures to BASE0001.ext, ...", Renumber);

}  // namespace
