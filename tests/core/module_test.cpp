// The library as hosts find it: one module instance, every name of its
// export list, the Windows calling convention, the version resource.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

TEST(Module, LoadLibraryGivesTheInstanceTheLibraryKeeps)
{
    HMODULE loaded = LoadLibraryW(L"lorvexops.dll");
    ASSERT_NE(loaded, nullptr) << "error " << GetLastError();
    EXPECT_EQ(loaded, LorvexGetModuleInstance());
    EXPECT_EQ(loaded, GetModuleHandleW(L"lorvexops.dll"));
    FreeLibrary(loaded);
}

// The export list generated from the subsystems' fragments: every name in it
// must resolve, or a host linking by name fails to load.
TEST(Module, EveryNameOfTheExportListResolves)
{
    const char* build = std::getenv("LORVEX_BUILD_DIR");
    ASSERT_NE(build, nullptr) << "run through scripts/wine-run.sh";
    std::ifstream spec(std::string(build) + "/lorvexops.spec");
    ASSERT_TRUE(spec.is_open());
    int names = 0;
    for (std::string line; std::getline(spec, line);) {
        std::istringstream words(line);
        std::string ordinal, kind, name;
        words >> ordinal >> kind >> name;
        while (!name.empty() && name[0] == '-')   // flags before the name
            words >> name;
        if (ordinal != "@")
            continue;
        name = name.substr(0, name.find('('));
        ++names;
        EXPECT_NE(nullptr, lvtest::Export<FARPROC>(name.c_str())) << kind << " " << name;
    }
    EXPECT_GT(names, 60);
}

TEST(Module, ArgumentsAndResultsCrossTheCallingConvention)
{
    auto create = lvtest::Export<HDIB(__cdecl*)(int, int, int, int)>("DibCreate");
    auto setPixel = lvtest::Export<int(__cdecl*)(HDIB, int, int, DWORD)>("DibSetPixel");
    auto getPixel = lvtest::Export<DWORD(__cdecl*)(HDIB, int, int)>("DibGetPixel");
    auto height = lvtest::Export<int(__cdecl*)(HDIB)>("DibHeight");
    auto destroy = lvtest::Export<int(__cdecl*)(HDIB)>("DibDelete");
    ASSERT_TRUE(create && setPixel && getPixel && height && destroy);
    HDIB dib = create(7, 5, 24, 0);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(height(dib), 5);
    EXPECT_EQ(setPixel(dib, 6, 4, 0x123456), 1);
    EXPECT_EQ(getPixel(dib, 6, 4), 0x123456u);
    EXPECT_EQ(destroy(dib), 1);
}

TEST(Module, VersionResourceMatchesTheHeader)
{
    WCHAR path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(LorvexGetModuleInstance(), path, MAX_PATH), 0u);
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(block.empty()) << lvtest::Utf8(path);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    EXPECT_EQ(HIWORD(info->dwFileVersionMS), LORVEXOPS_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(info->dwFileVersionMS), LORVEXOPS_VERSION_MINOR);
    EXPECT_EQ(HIWORD(info->dwFileVersionLS), LORVEXOPS_VERSION_PATCH);
}
