// Shared by the test suites: wide-string checks, temporary folders, message
// pumping, screenshots, locations of test data.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <lorvexops/widestring.h>
#include <string>

namespace lvtest {

// Not std::basic_string<WCHAR>: see lorvexops/widestring.h.
using WString = lorvex::WString;

std::string Utf8(const WCHAR* text);
WString Wide(const char* utf8);
// The Linux path of a Win32 path, for Magick++ (a native library).
std::string UnixPath(const WCHAR* path);

// Wide-string equality that prints both sides in UTF-8 on failure (gtest's
// own wide checks call glibc's 4-byte wcscmp).
::testing::AssertionResult WideEqual(const char* expected_expr, const char* actual_expr,
                                     const WCHAR* expected, const WCHAR* actual);
#define EXPECT_WEQ(expected, actual) EXPECT_PRED_FORMAT2(::lvtest::WideEqual, expected, actual)

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
