// Shared by the test suites: wide-string checks, temporary folders, message
// pumping, screenshots, locations of test data.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace lvtest {

// wchar_t is 2 bytes here while glibc's wcslen/wmemcpy (and libstdc++'s
// prebuilt std::wstring) assume 4: these traits keep every string operation
// in this program's own 2-byte code.
struct WcharTraits : std::char_traits<wchar_t> {
    using std::char_traits<wchar_t>::assign;
    static size_t length(const wchar_t* s) { size_t n = 0; while (s[n]) ++n; return n; }
    static int compare(const wchar_t* a, const wchar_t* b, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            if (a[i] != b[i])
                return a[i] < b[i] ? -1 : 1;
        return 0;
    }
    static const wchar_t* find(const wchar_t* s, size_t n, const wchar_t& c)
    {
        for (size_t i = 0; i < n; ++i)
            if (s[i] == c)
                return s + i;
        return nullptr;
    }
    static wchar_t* move(wchar_t* d, const wchar_t* s, size_t n) { return static_cast<wchar_t*>(memmove(d, s, n * sizeof(wchar_t))); }
    static wchar_t* copy(wchar_t* d, const wchar_t* s, size_t n) { return static_cast<wchar_t*>(memcpy(d, s, n * sizeof(wchar_t))); }
    static wchar_t* assign(wchar_t* s, size_t n, wchar_t c)
    {
        for (size_t i = 0; i < n; ++i)
            s[i] = c;
        return s;
    }
};
using WString = std::basic_string<WCHAR, WcharTraits>;

std::string Utf8(const WCHAR* text);
WString Wide(const char* utf8);
// The Linux path of a Win32 path, for Magick++ (a native library).
std::string UnixPath(const WCHAR* path);

// Wide-string equality that prints both sides in UTF-8 on failure (gtest's
// own wide checks call glibc's 4-byte wcscmp).
::testing::AssertionResult WideEqual(const char* expected_expr, const char* actual_expr,
                                     const WCHAR* expected, const WCHAR* actual);
#define EXPECT_WEQ(expected, actual) EXPECT_PRED_FORMAT2(::lvtest::WideEqual, expected, actual)
#define ASSERT_WEQ(expected, actual) ASSERT_PRED_FORMAT2(::lvtest::WideEqual, expected, actual)

// A fresh folder under the temporary folder, removed with all its content
// when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const WString& path() const { return m_path; }
    WString File(const WCHAR* name) const;
    // Writes bytes to name inside the folder; returns the full path.
    WString Write(const WCHAR* name, const void* data, size_t size) const;
private:
    WString m_path;
};

bool ReadWholeFile(const WCHAR* path, std::string* bytes);
bool WriteWholeFile(const WCHAR* path, const void* data, size_t size);
bool FileExists(const WCHAR* path);
void RemoveTree(const WCHAR* path);

// Dispatches waiting messages for up to milliseconds (0: just what waits).
void PumpMessages(DWORD milliseconds = 0);

// Saves what hwnd shows (frame included) as a PNG; true on success.
bool SaveScreenshot(HWND hwnd, const WCHAR* pngPath);
// Folder for screenshots: <build>/screenshots (created on demand).
WString ScreenshotDir();

// Folders given by CTest's environment (empty when unset).
WString SourceDir();
WString TestDataDir();

}  // namespace lvtest
