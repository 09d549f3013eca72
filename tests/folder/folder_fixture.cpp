#include "folder_fixture.h"

#include <algorithm>

namespace fx {

namespace {

void RemoveAll(const MyString& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!lstrcmpW(data.cFileName, L".") || !lstrcmpW(data.cFileName, L".."))
                continue;
            MyString child = folder + L"\\" + data.cFileName;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveAll(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

Scratch::Scratch()
{
    WCHAR base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        WCHAR name[64];
        wsprintfW(name, L"lvfolder-%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
        MyString path = MyString(base) + name;
        if (CreateDirectoryW(path.c_str(), nullptr)) {
            m_path = path;
            return;
        }
    }
}

Scratch::~Scratch()
{
    if (!m_path.empty())
        RemoveAll(m_path);
}

MyString Scratch::operator/(const WCHAR* name) const
{
    return m_path + L"\\" + name;
}

FILETIME Hours(int hours)
{
    // 2021-03-01 00:00 UTC plus the hours.
    ULONGLONG value = 132588576000000000ULL + static_cast<ULONGLONG>(hours) * 36000000000ULL;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(value);
    time.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return time;
}

bool MakeFile(const MyString& path, unsigned long long size, FILETIME time)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    if (size > (1u << 20)) {
        // A sparse file: seek and write the last byte only.
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(size - 1);
        DWORD written = 0;
        ok = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && WriteFile(file, "z", 1, &written, nullptr);
    } else if (size > 0) {
        std::string bytes(static_cast<size_t>(size), 'x');
        DWORD written = 0;
        ok = WriteFile(file, bytes.data(), static_cast<DWORD>(size), &written, nullptr) && written == size;
    }
    ok = SetFileTime(file, nullptr, nullptr, &time) && ok;
    CloseHandle(file);
    return ok;
}

bool MakeFolder(const MyString& path)
{
    return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

std::string ReadText(const MyString& path)
{
    std::string bytes;
    return lvtest::ReadWholeFile(path.c_str(), &bytes) ? bytes : std::string("(missing)");
}

bool Exists(const MyString& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Names(SortDir& list)
{
    std::vector<std::string> names;
    for (const CFileEntry* entry : *list.GetFileList()) {
        if (!entry || !entry->pName) {
            names.push_back("(null)");
            continue;
        }
        const WCHAR* path = entry->pName->c_str();
        const WCHAR* name = path;
        for (const WCHAR* c = path; *c; ++c)
            if (*c == L'\\')
                name = c + 1;
        names.push_back(lvtest::Utf8(name));
    }
    return names;
}

std::vector<std::string> Ranges(SortDir& list)
{
    std::vector<std::string> ranges;
    for (int b = 0; b < list.GetLenghtInfoBrowse(); ++b) {
        const CInfoBrowse* r = list.GetInfoBrowse(b);
        char text[64];
        snprintf(text, sizeof text, "%d:%d..%d:%d", r->nIndex, r->nFirst, r->nLast, r->bHasFiles);
        ranges.push_back(text);
    }
    return ranges;
}

std::vector<std::string> DiskNames(const MyString& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (lstrcmpW(data.cFileName, L".") && lstrcmpW(data.cFileName, L".."))
            names.push_back(lvtest::Utf8(data.cFileName));
    } while (FindNextFileW(search, &data));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

SortSelection::SortSelection(DWORD mode, BOOL ascending) : m_mode(gdwSortingMode), m_ascending(bSortAscending)
{
    gdwSortingMode = mode;
    bSortAscending = ascending;
}

SortSelection::~SortSelection()
{
    gdwSortingMode = m_mode;
    bSortAscending = m_ascending;
}

NamesWithoutExtension::NamesWithoutExtension(int value) : m_old(gVSO[VSO_OPEN_FILE_OUT_EXT].nValue)
{
    gVSO[VSO_OPEN_FILE_OUT_EXT].nValue = value;
}

NamesWithoutExtension::~NamesWithoutExtension()
{
    gVSO[VSO_OPEN_FILE_OUT_EXT].nValue = m_old;
}

bool SetImmutable(const char* unixPath, bool on);

LockedFolder::LockedFolder(const MyString& folder) : m_unixPath(lvtest::UnixPath(folder.c_str()))
{
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_READONLY);
    m_locked = !m_unixPath.empty() && SetImmutable(m_unixPath.c_str(), true);
}

LockedFolder::~LockedFolder()
{
    if (m_locked)
        SetImmutable(m_unixPath.c_str(), false);
}

void ListFolder(SortDir& list, const MyString& folder)
{
    GetOpenFilter();
    list.InitializeSortDir(folder.c_str(), 0);
    list.CreateSortedImageList();
}

}  // namespace fx
