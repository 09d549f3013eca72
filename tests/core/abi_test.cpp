// A host that finds the exports with GetProcAddress calls them with the
// Windows calling convention; arguments must arrive where that convention
// puts them.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

namespace {

template <typename Fn>
Fn Export(const char* name)
{
    return reinterpret_cast<Fn>(GetProcAddress(LorvexGetModuleInstance(), name));
}

}  // namespace

TEST(Abi, DibFunctionsThroughGetProcAddress)
{
    using Create = HDIB(__cdecl*)(int, int, int, int);
    using Size = int(__cdecl*)(HDIB);
    using SetPixel = int(__cdecl*)(HDIB, int, int, DWORD);
    using GetPixel = DWORD(__cdecl*)(HDIB, int, int);
    using Delete = int(__cdecl*)(HDIB);
    auto create = Export<Create>("DibCreate");
    auto width = Export<Size>("DibWidth");
    auto height = Export<Size>("DibHeight");
    auto setPixel = Export<SetPixel>("DibSetPixel");
    auto getPixel = Export<GetPixel>("DibGetPixel");
    auto destroy = Export<Delete>("DibDelete");
    ASSERT_TRUE(create && width && height && setPixel && getPixel && destroy);

    HDIB dib = create(7, 5, 24, 0);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(width(dib), 7);
    EXPECT_EQ(height(dib), 5);
    EXPECT_EQ(setPixel(dib, 6, 4, 0x123456), 1);
    EXPECT_EQ(getPixel(dib, 6, 4), 0x123456u);
    EXPECT_EQ(destroy(dib), 1);
}

TEST(Abi, FilterFunctionsThroughGetProcAddress)
{
    using Filter = const WCHAR*(__cdecl*)();
    auto withLvx = Export<Filter>("GetOpenFilter");
    auto withoutLvx = Export<Filter>("GetOpenFilterWithoutLVX");
    ASSERT_TRUE(withLvx && withoutLvx);
    const WCHAR* a = withLvx();
    const WCHAR* b = withoutLvx();
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a, GetOpenFilter());
    EXPECT_EQ(b, GetOpenFilterWithoutLVX());
}
