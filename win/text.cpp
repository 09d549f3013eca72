#include "win/text.h"

namespace lorvex {

WCHAR FoldCase(WCHAR c)
{
    if (c < 0x80)
        return c >= L'A' && c <= L'Z' ? static_cast<WCHAR>(c + (L'a' - L'A')) : c;
    return static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(
        CharLowerW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

namespace {

int Length(const WCHAR* text, int count)
{
    if (!text)
        return 0;
    return count < 0 ? lstrlenW(text) : count;
}

}  // namespace

int CompareNoCase(const WCHAR* a, int aCount, const WCHAR* b, int bCount)
{
    const int na = Length(a, aCount), nb = Length(b, bCount);
    const int n = na < nb ? na : nb;
    for (int i = 0; i < n; ++i) {
        const WCHAR fa = FoldCase(a[i]), fb = FoldCase(b[i]);
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    return (na > nb) - (na < nb);
}

bool EqualNoCase(const WCHAR* a, int aCount, const WCHAR* b, int bCount)
{
    return Length(a, aCount) == Length(b, bCount) && CompareNoCase(a, aCount, b, bCount) == 0;
}

WString WindowText(HWND window)
{
    const int length = window ? GetWindowTextLengthW(window) : 0;
    WString text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = length > 0 ? GetWindowTextW(window, &text[0], length + 1) : 0;
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

WString UniqueNames::Take(const WCHAR* fileName)
{
    WString name(fileName ? fileName : L"");
    const size_t dot = name.find_last_of(L'.');
    const WString stem = dot == WString::npos || dot == 0 ? name : name.substr(0, dot);
    const WString extension = stem.size() == name.size() ? WString() : name.substr(dot);
    for (int copy = 2;; ++copy) {
        WString folded(name);
        for (WCHAR& c : folded)
            c = FoldCase(c);
        bool taken = false;
        for (const WString& other : m_taken)
            taken = taken || other == folded;
        if (!taken) {
            m_taken.push_back(folded);
            return name;
        }
        WCHAR number[16];
        wsprintfW(number, L" (%d)", copy);
        name = stem + number + extension;
    }
}

}  // namespace lorvex
