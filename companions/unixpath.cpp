#include "unixpath.h"

// Exported by Wine's kernel32; the result is freed from the process heap.
extern "C" char* CDECL wine_get_unix_file_name(const WCHAR* dosName);

namespace lorvex {

std::string UnixPath(const WCHAR* path)
{
    if (!path || !*path)
        return std::string();
    char* unix = wine_get_unix_file_name(path);
    if (!unix)
        return std::string();
    std::string result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

}  // namespace lorvex
