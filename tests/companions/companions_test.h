// Helpers of the companions suite. Wide text is kept in MyString, never in
// std::basic_string<WCHAR>, whose character traits call the C library's
// 4-byte wide functions.
#pragma once
#include <lorvexops/companions.h>
#include <windows.h>
#include <string>

namespace ctest {

// Wide text from UTF-8.
MyString U(const char* utf8);

// A fresh folder under the temporary folder, removed with its content.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const MyString& path() const { return m_path; }
    MyString File(const MyString& name) const { return m_path + L"\\" + name; }
    // The names of the files inside, sorted, joined with "|" (UTF-8).
    std::string Listing() const;

private:
    MyString m_path;
};

}  // namespace ctest
