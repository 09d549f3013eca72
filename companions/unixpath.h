// Magick++ takes the paths of the system it was built for: under Wine a native
// Linux library wanting Linux paths, on Windows Win32 paths in UTF-8, while the
// library and its hosts speak wide Win32 paths. Internal to lorvexops.
#pragma once
#include <windows.h>
#include <string>

namespace lorvex {
// The path Magick++ opens for a Win32 path; empty when it has none.
std::string UnixPath(const WCHAR* path);
}
