#include "testsupport.h"
#include "win/scoped.h"

#include <Magick++.h>
#include <algorithm>

extern "C" char* CDECL wine_get_unix_file_name(const WCHAR* dosName);

namespace lvtest {

std::string UnixPath(const WCHAR* path)
{
    char* unix = wine_get_unix_file_name(path);
    std::string result(unix ? unix : "");
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

std::string Utf8(const WCHAR* text)
{
    if (!text)
        return "(null)";
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], bytes, nullptr, nullptr);
    return result.c_str();
}

WString Wide(const char* utf8)
{
    int chars = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    WString result(chars, 0);
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &result[0], chars);
    return result.c_str();
}

::testing::AssertionResult WideEqual(const char* expected_expr, const char* actual_expr,
                                     const WCHAR* expected, const WCHAR* actual)
{
    if (expected && actual ? lstrcmpW(expected, actual) == 0 : expected == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual_expr << " is \"" << Utf8(actual) << "\", expected " << expected_expr
           << " = \"" << Utf8(expected) << "\"";
}

// Removes path with everything inside.
static void RemoveTree(const WCHAR* path)
{
    WIN32_FIND_DATAW data;
    lorvex::ScopedFind find(FindFirstFileW((WString(path) + L"\\*").c_str(), &data));
    for (BOOL more = find.ok(); more; more = FindNextFileW(find.get(), &data)) {
        if (!lstrcmpW(data.cFileName, L".") || !lstrcmpW(data.cFileName, L".."))
            continue;
        WString child = WString(path) + L"\\" + data.cFileName;
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(child.c_str());
        else
            DeleteFileW(child.c_str());
    }
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path);
}

TempDir::TempDir()
{
    WCHAR base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    WCHAR name[64];
    do {
        wsprintfW(name, L"lvtest-%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
        m_path = WString(base) + name;
    } while (!CreateDirectoryW(m_path.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempDir::~TempDir()
{
    if (!m_path.empty())
        RemoveTree(m_path.c_str());
}

WString TempDir::File(const WCHAR* name) const { return m_path + L"\\" + name; }

WString TempDir::Write(const WCHAR* name, const void* data, size_t size) const
{
    WString path = File(name);
    WriteWholeFile(path.c_str(), data, size);
    return path;
}

bool ReadWholeFile(const WCHAR* path, std::string* bytes)
{
    lorvex::ScopedFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD read = 0;
    bytes->resize(file ? GetFileSize(file.get(), nullptr) : 0);
    return file && (bytes->empty() || (ReadFile(file.get(), &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read,
                                                nullptr) && read == bytes->size()));
}

std::vector<std::string> ReadLines(const WCHAR* path)
{
    std::string text;
    ReadWholeFile(path, &text);
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

bool WriteWholeFile(const WCHAR* path, const void* data, size_t size)
{
    lorvex::ScopedFile file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && (size == 0 || (WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) &&
                                  written == size));
}

bool FileExists(const WCHAR* path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FileNames(const WCHAR* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    lorvex::ScopedFind find(FindFirstFileW(pattern, &data));
    for (BOOL more = find.ok(); more; more = FindNextFileW(find.get(), &data))
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(Utf8(data.cFileName));
    std::sort(names.begin(), names.end());
    return names;
}

void PumpMessages(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (milliseconds)
            Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

bool SaveScreenshot(HWND hwnd, const WCHAR* name)
{
    WCHAR wanted[4] = {}, build[MAX_PATH] = {};
    GetEnvironmentVariableW(L"LORVEX_SCREENSHOTS", wanted, 4);
    RECT rect;
    if (lstrcmpW(wanted, L"1") != 0)
        return true;
    if (!GetWindowRect(hwnd, &rect))
        return false;
    if (!GetEnvironmentVariableW(L"LORVEX_BUILD_DIR", build, MAX_PATH))
        GetTempPathW(MAX_PATH, build);
    const WString dir = WString(build) + L"\\screenshots";
    CreateDirectoryW(dir.c_str(), nullptr);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpMessages(50);
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32}};
    void* bits = nullptr;
    lorvex::ScopedBitmap section(width > 0 && height > 0 ? CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits,
                                                                            nullptr, 0) : nullptr);
    if (!section)
        return false;
    {
        lorvex::ScopedWindowDC window(hwnd, true);
        lorvex::ScopedMemDC memory(window.get());
        lorvex::ScopedSelect select(memory.get(), section.get());
        BitBlt(memory.get(), 0, 0, width, height, window.get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    try {
        Magick::Image image(width, height, "BGRA", Magick::CharPixel, bits);
        image.matte(false);
        image.write("png:" + UnixPath((dir + L"\\" + name).c_str()));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

WString TestDataDir()
{
    WCHAR value[MAX_PATH] = {};
    GetEnvironmentVariableW(L"LORVEX_TESTDATA_DIR", value, MAX_PATH);
    return value;
}

std::string ComboEntries(HWND combo, int index)
{
    std::string joined;
    int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = index < 0 ? 0 : index; i < count && (index < 0 || i == index); ++i) {
        WCHAR text[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        joined += (joined.empty() ? "" : " | ") + Utf8(text);
    }
    return joined;
}

}  // namespace lvtest
