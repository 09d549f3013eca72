// The library's module: one instance, found the way hosts find it.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <vector>

TEST(Module, LoadLibraryGivesTheInstanceTheLibraryKeeps)
{
    HMODULE loaded = LoadLibraryW(L"lorvexops.dll");
    ASSERT_NE(loaded, nullptr) << "error " << GetLastError();
    EXPECT_EQ(loaded, LorvexGetModuleInstance());
    EXPECT_EQ(loaded, GetModuleHandleW(L"lorvexops.dll"));
    FreeLibrary(loaded);
}

TEST(Module, ExportsAreReachableByName)
{
    HMODULE module = GetModuleHandleW(L"lorvexops.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, "LorvexGetModuleInstance"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "NoSuchExport"), nullptr);
}

TEST(Module, VersionResourceMatchesTheHeader)
{
    WCHAR path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(LorvexGetModuleInstance(), path, MAX_PATH), 0u);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u) << lvtest::Utf8(path);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    EXPECT_EQ(HIWORD(info->dwFileVersionMS), LORVEXOPS_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(info->dwFileVersionMS), LORVEXOPS_VERSION_MINOR);
    EXPECT_EQ(HIWORD(info->dwFileVersionLS), LORVEXOPS_VERSION_PATCH);
}

// The screenshot helper every dialog suite relies on: a window's pixels end up
// in a PNG of the window's size.
TEST(Support, ScreenshotOfAWindowIsAPngOfItsSize)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"Screenshot \x0444\x043e\x0442\x043e",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 240, 120,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    lvtest::PumpMessages(50);
    lvtest::TempDir dir;
    lvtest::WString png = dir.File(L"shot.png");
    EXPECT_EQ(png.size(), dir.path().size() + 9);
    ASSERT_TRUE(lvtest::SaveScreenshot(window, png.c_str()));
    DestroyWindow(window);
    std::string bytes;
    ASSERT_TRUE(lvtest::ReadWholeFile(png.c_str(), &bytes));
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
        return (unsigned char)bytes[at] << 24 | (unsigned char)bytes[at + 1] << 16 |
               (unsigned char)bytes[at + 2] << 8 | (unsigned char)bytes[at + 3];
    };
    EXPECT_EQ(be32(16), 240u);
    EXPECT_EQ(be32(20), 120u);
}
