// A host that uses only the library's C++ classes (SortDir, MyDImage): the
// public header alone must get the installed DLL loaded and initialised.
// Prints "consumer ok" when the classes, the module and its resources work.
#include <lorvexops/lorvexops.h>
#include <cstdio>

extern "C" int wmain(int, WCHAR**)
{
    HMODULE module = GetModuleHandleW(L"lorvexops.dll");
    if (!module || !FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16))) {
        std::printf("consumer: library not loaded\n");
        return 1;
    }
    MyDImage image(32, 16, 24, 0);
    image.tFlipH();
    WCHAR self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    SortDir list;
    list.PushImage(MyString(self));
    if (!image.GetDib() || list.GetLengthFileList() != 1) {
        std::printf("consumer: classes do not work\n");
        return 1;
    }
    std::printf("consumer ok\n");
    return 0;
}
