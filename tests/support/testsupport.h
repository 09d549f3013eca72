// Shared by the test suites.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <lorvexops/widestring.h>
#include <string>
#include <vector>

namespace lvtest {

// Not std::basic_string<WCHAR>: see lorvexops/widestring.h.
using WString = lorvex::WString;

std::string Utf8(const WCHAR* text);
WString Wide(const char* utf8);
// The Linux path of a Win32 path, for Magick++ (a native library).
std::string UnixPath(const WCHAR* path);

// Prints both sides in UTF-8 (gtest's wide checks call glibc's 4-byte wcscmp).
::testing::AssertionResult WideEqual(const char* expected_expr, const char* actual_expr,
                                     const WCHAR* expected, const WCHAR* actual);
#define EXPECT_WEQ(expected, actual) EXPECT_PRED_FORMAT2(::lvtest::WideEqual, expected, actual)

// A fresh temporary folder, removed with its content when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const WString& path() const { return m_path; }
    WString File(const WCHAR* name) const;
    WString Write(const WCHAR* name, const void* data, size_t size) const;   // returns the full path
private:
    WString m_path;
};

bool ReadWholeFile(const WCHAR* path, std::string* bytes);
// The lines of a text file (a record a stand-in wrote); none when it is missing.
std::vector<std::string> ReadLines(const WCHAR* path);
bool WriteWholeFile(const WCHAR* path, const void* data, size_t size);
bool FileExists(const WCHAR* path);
// The names (UTF-8, sorted) of the files, not folders, a search pattern finds.
std::vector<std::string> FileNames(const WCHAR* pattern);

// An export of the library as a host finds it: loaded by name (data
// references alone do not load it), then GetProcAddress.
template <typename T = const BYTE*>
T Export(const char* name)
{
    static HMODULE module = LoadLibraryW(L"lorvexops.dll");
    return module ? reinterpret_cast<T>(GetProcAddress(module, name)) : nullptr;
}

// Dispatches waiting messages for up to milliseconds (0: just what waits).
void PumpMessages(DWORD milliseconds = 0);

// Saves what hwnd shows (frame included) as <build>/screenshots/name, a PNG;
// true on success. Only with LORVEX_SCREENSHOTS=1 in the environment:
// otherwise (the usual test run) nothing is taken and the call succeeds.
bool SaveScreenshot(HWND hwnd, const WCHAR* name);
WString TestDataDir();     // from CTest's environment (empty when unset)

// A combo box's entries as "a | b | c" (UTF-8), or only the one at index.
std::string ComboEntries(HWND combo, int index = -1);

}  // namespace lvtest
