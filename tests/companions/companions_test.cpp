#include "companions_test.h"
#include "testsupport.h"

#include <algorithm>
#include <vector>

namespace ctest {

MyString U(const char* utf8)
{
    int chars = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (chars <= 1)
        return MyString();
    std::vector<WCHAR> wide(static_cast<size_t>(chars), 0);
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), chars);
    return MyString(wide.data());
}

namespace {

void RemoveFolder(const MyString& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            MyString name(data.cFileName);
            if (name == L"." || name == L"..")
                continue;
            MyString child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    WCHAR base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        WCHAR name[64];
        wsprintfW(name, L"lvcomp-%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
        MyString path = MyString(base) + name;
        if (CreateDirectoryW(path.c_str(), nullptr)) {
            m_path = path;
            return;
        }
    }
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        RemoveFolder(m_path);
}

std::string TempFolder::Listing() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((m_path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(lvtest::Utf8(data.cFileName));
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names)
        listing += (listing.empty() ? "" : "|") + name;
    return listing;
}

}  // namespace ctest
