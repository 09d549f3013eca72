// What a host or a careless user can do to the library's files and module
// state: saves over files with an identity, the exported filter flag, the
// templates only hosts open.
#include <lorvexops/lorvexops.h>
#include "modaldriver.h"
#include "testsupport.h"

#include <algorithm>

#include <vector>

namespace {

std::vector<std::string> FolderNames(const lvtest::TempDir& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(dir.File(L"*").c_str(), &data);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &data))
        if (data.cFileName[0] != L'.')
            names.push_back(lvtest::Utf8(data.cFileName));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

// Both writers (BMP saves and the image service) replace a file keeping its
// attributes, leave a user's other files alone, refuse a
// read-only target, and leave nothing behind when they fail.
TEST(Saves, KeepTheFilesIdentityAndNeverTouchAnotherFile)
{
    lvtest::TempDir dir;
    const lvtest::WString target = dir.Write(L"фото.bmp", "old", 3);
    const lvtest::WString neighbour = dir.Write(L"фото.bmp.lvxsave~", "mine", 4);
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN));

    HDIB dib = DibCreate(8, 4, 24, 0);
    ASSERT_EQ(DibFileSave(dib, target.c_str()), 1);
    EXPECT_EQ(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD(FILE_ATTRIBUTE_HIDDEN));
    std::string bytes;
    EXPECT_TRUE(lvtest::ReadWholeFile(neighbour.c_str(), &bytes) && bytes == "mine");

    ASSERT_TRUE(lvtest::ReadWholeFile(target.c_str(), &bytes));
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    SetLastError(0);
    EXPECT_EQ(DibFileSave(dib, target.c_str()), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    const lvtest::WString png = dir.File(L"копия.png");
    EXPECT_EQ(CDll2LorvexMessage().WriteImage(target.c_str(), png.c_str(), SIZE{4, 2}, 0), 1);
    EXPECT_EQ(CDll2LorvexMessage().WriteImage(png.c_str(), target.c_str(), SIZE{4, 2}, 0), 0);
    std::string after;
    EXPECT_TRUE(lvtest::ReadWholeFile(target.c_str(), &after) && after == bytes) << "read-only file unchanged";
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FolderNames(dir), (std::vector<std::string>{"копия.png", "фото.bmp", "фото.bmp.lvxsave~"}))
        << "no temporary file left";
    DibDelete(dib);
}

TEST(ModuleState, FilterFlagIsExportedAndHostTemplatesLoad)
{
    HMODULE module = LorvexGetModuleInstance();
    EXPECT_EQ(GetProcAddress(module, "gbNoFilterDialog"), reinterpret_cast<FARPROC>(&gbNoFilterDialog));
    const struct { int id; const WCHAR* caption; } templates[] = {
        {LORVEX_IDD_COMPRESSION, L"Compression"},
        {LORVEX_IDD_IMAGE_PROPERTIES, L"Tessik Lorvex - Image Properties"},
    };
    for (const auto& t : templates) {
        HWND dialog = CreateDialogParamW(module, MAKEINTRESOURCEW(t.id), nullptr, NoHandling, 0);
        ASSERT_TRUE(dialog) << t.id;
        EXPECT_WEQ(t.caption, lvtest::TextOf(dialog).c_str());
        DestroyWindow(dialog);
    }
}
