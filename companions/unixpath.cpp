#include "unixpath.h"

#ifdef __WINE__
// Exported by Wine's kernel32; the result is freed from the process heap.
extern "C" char* CDECL wine_get_unix_file_name(const WCHAR* dosName);
#endif

namespace lorvex {

std::string UnixPath(const WCHAR* path)
{
    if (!path || !*path)
        return std::string();
#ifdef __WINE__
    char* unix = wine_get_unix_file_name(path);
    if (!unix)
        return std::string();
    std::string result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
#else
    // Magick++ for Windows opens the Win32 path itself, given in UTF-8.
    const int size = WideCharToMultiByte(CP_UTF8, 0, path, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return std::string();
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path, -1, &result[0], size, nullptr, nullptr);
    result.resize(static_cast<size_t>(size - 1));
    return result;
#endif
}

}  // namespace lorvex
