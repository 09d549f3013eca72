// Character traits for 2-byte WCHAR strings in Winelib programs.
//
// wineg++ makes wchar_t 2 bytes, but std::char_traits<wchar_t> calls glibc's
// wcslen/wmemcpy/wmemcmp, built for 4-byte wchar_t: a plain
// std::basic_string<WCHAR> gets wrong lengths and copies past its buffers.
// LorvexWString uses these traits instead, which work on 2-byte units.
#pragma once
#include <windows.h>
#include <cstring>
#include <string>

struct LorvexWcharTraits : std::char_traits<wchar_t> {
    using std::char_traits<wchar_t>::assign;
    static size_t length(const WCHAR* s)
    {
        size_t n = 0;
        while (s[n])
            ++n;
        return n;
    }
    static int compare(const WCHAR* a, const WCHAR* b, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            if (a[i] != b[i])
                return WORD(a[i]) < WORD(b[i]) ? -1 : 1;
        return 0;
    }
    static const WCHAR* find(const WCHAR* s, size_t n, const WCHAR& c)
    {
        for (size_t i = 0; i < n; ++i)
            if (s[i] == c)
                return s + i;
        return nullptr;
    }
    static WCHAR* move(WCHAR* to, const WCHAR* from, size_t n)
    {
        return n ? static_cast<WCHAR*>(memmove(to, from, n * sizeof(WCHAR))) : to;
    }
    static WCHAR* copy(WCHAR* to, const WCHAR* from, size_t n)
    {
        return n ? static_cast<WCHAR*>(memcpy(to, from, n * sizeof(WCHAR))) : to;
    }
    static WCHAR* assign(WCHAR* s, size_t n, WCHAR c)
    {
        for (size_t i = 0; i < n; ++i)
            s[i] = c;
        return s;
    }
};

using LorvexWString = std::basic_string<WCHAR, LorvexWcharTraits>;
