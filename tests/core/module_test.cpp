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
