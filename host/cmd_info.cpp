// lorvex-host info: which library is loaded, its version, and Magick++'s.
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <Magick++.h>
#include <vector>

namespace {

std::string FileVersion(const WCHAR* path)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (!size)
        return "unknown";
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path, 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return "unknown";
    char text[64];
    snprintf(text, sizeof text, "%lu.%lu.%lu.%lu",
             static_cast<unsigned long>(HIWORD(info->dwFileVersionMS)),
             static_cast<unsigned long>(LOWORD(info->dwFileVersionMS)),
             static_cast<unsigned long>(HIWORD(info->dwFileVersionLS)),
             static_cast<unsigned long>(LOWORD(info->dwFileVersionLS)));
    return text;
}

int Info(const HostContext&)
{
    HINSTANCE module = LorvexGetModuleInstance();
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    Out("library:  ");
    OutW(path);
    Out("\nversion:  %s (resource %s)\n", LORVEXOPS_VERSION_STRING, FileVersion(path).c_str());
    Out("same module as LoadLibraryW: %s\n", LoadLibraryW(L"lorvexops.dll") == module ? "yes" : "no");
    size_t ignored = 0;
    Out("Magick++: %s\n", MagickCore::GetMagickVersion(&ignored));
    return 0;
}

void InfoDemo(const WCHAR*, const WCHAR*)
{
    Heading("lorvex-host info");
    Info(HostContext());
}

HostCommand info("info", "              the loaded library, its version and Magick++'s", Info, InfoDemo, 0);

}  // namespace
