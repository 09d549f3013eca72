// Uses a C export, a C++ class and the module's resources of the installed
// library; prints "consumer ok" when all three work.
#include <lorvexops/lorvexops.h>
#include <cstdio>

extern "C" int wmain(int, WCHAR**)
{
    HINSTANCE module = LorvexGetModuleInstance();
    if (!module || module != GetModuleHandleW(L"lorvexops.dll")) {
        std::printf("consumer: module not loaded\n");
        return 1;
    }
    if (!FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16))) {
        std::printf("consumer: no version resource\n");
        return 1;
    }
    std::printf("consumer ok\n");
    return 0;
}
