// lorvex-host dims FILE...: each picture's pixel size through the utility
// library's image service.
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <algorithm>
#include <vector>

namespace {

void PrintDims(const WCHAR* path, const WCHAR* shownName)
{
    SIZE size = {};
    OutW(shownName);
    if (CDll2LorvexMessage().GetImageDim(path, &size))
        Out(": %ld x %ld\n", static_cast<long>(size.cx), static_cast<long>(size.cy));
    else
        Out(": unreadable\n");
}

int Dims(const HostContext& context)
{
    if (context.args.empty()) {
        Out("usage: lorvex-host dims FILE...\n");
        return 2;
    }
    for (const WCHAR* path : context.args)
        PrintDims(path, path);
    return 0;
}

// Every file of folder, in the library's natural name order (img2 before img10).
std::vector<MyString> FilesIn(const WCHAR* folder)
{
    std::vector<MyString> names;
    MyString base(folder);
    WCHAR last = base[base.length() - 1];
    if (last != '\\' && last != '/')
        base += L"\\";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((base + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(MyString(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end(), [](const MyString& a, const MyString& b) { return a.Compare(b) < 0; });
    for (MyString& name : names)
        name = base + name;
    return names;
}

void DimsDemo(const WCHAR* samples, const WCHAR*)
{
    Heading("lorvex-host dims SAMPLES\\*");
    for (const MyString& path : FilesIn(samples)) {
        const WCHAR* name = path.c_str();
        for (const WCHAR* p = name; *p; ++p)
            if (*p == '\\' || *p == '/')
                name = p + 1;
        PrintDims(path.c_str(), name);
    }
}

HostCommand dims("dims", "FILE...       each picture's pixel size, or \"unreadable\"", Dims, DimsDemo, 10);

}  // namespace
