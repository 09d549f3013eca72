// A std::basic_string for WCHAR that is safe in Winelib code. wineg++ makes
// wchar_t 2 bytes, but std::char_traits<wchar_t> calls glibc's wcslen/wmemcpy,
// which were built for 4 bytes: std::basic_string<WCHAR> with the standard
// traits miscounts and overruns. These traits work on 2-byte units.
#pragma once
#include <windows.h>
#include <cstring>
#include <string>

namespace lorvex {

struct WCharTraits : std::char_traits<WCHAR> {
    using char_type = WCHAR;

    static size_t length(const WCHAR* s)
    {
        size_t n = 0;
        while (s[n])
            ++n;
        return n;
    }
    static int compare(const WCHAR* a, const WCHAR* b, size_t n)
    {
        for (size_t i = 0; i < n; ++i) {
            if (a[i] != b[i])
                return a[i] < b[i] ? -1 : 1;
        }
        return 0;
    }
    static const WCHAR* find(const WCHAR* s, size_t n, const WCHAR& c)
    {
        for (size_t i = 0; i < n; ++i) {
            if (s[i] == c)
                return s + i;
        }
        return nullptr;
    }
    static WCHAR* move(WCHAR* to, const WCHAR* from, size_t n)
    {
        return n ? static_cast<WCHAR*>(std::memmove(to, from, n * sizeof(WCHAR))) : to;
    }
    static WCHAR* copy(WCHAR* to, const WCHAR* from, size_t n)
    {
        return n ? static_cast<WCHAR*>(std::memcpy(to, from, n * sizeof(WCHAR))) : to;
    }
    static void assign(WCHAR& to, const WCHAR& from) { to = from; }
    static WCHAR* assign(WCHAR* to, size_t n, WCHAR c)
    {
        for (size_t i = 0; i < n; ++i)
            to[i] = c;
        return to;
    }
};

using WString = std::basic_string<WCHAR, WCharTraits>;

}  // namespace lorvex
