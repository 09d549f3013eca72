// Magick++ is a native Linux library: it takes Linux paths, while the library
// and its hosts speak Win32 paths. Internal to lorvexops.
#pragma once
#include <windows.h>
#include <string>

namespace lorvex {
// The Linux path (UTF-8) of a Win32 path; empty when Wine cannot map it.
std::string UnixPath(const WCHAR* path);
}
