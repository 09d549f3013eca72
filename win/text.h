// Wide text inside the library: lorvex::WString (2-byte traits, see
// <lorvexops/widestring.h>) and the one case-folding rule for file names.
#pragma once
#include <windows.h>

#include <lorvexops/widestring.h>

#include <vector>

namespace lorvex {

// The one case folding for file names: lower case, ASCII directly, everything
// else through the system's case table (CharLowerW on one character). Lower
// rather than upper case so that punctuation such as '_' orders before
// letters, as people expect in a list of names.
WCHAR FoldCase(WCHAR c);

// The C runtime's toupper on a 16-bit character: only a-z change. Used where
// names are matched the way the runtime's toupper matches them (first-letter
// search, extension checks), which must not depend on the system's tables.
inline WCHAR AsciiUpper(WCHAR c)
{
    return c >= L'a' && c <= L'z' ? static_cast<WCHAR>(c - (L'a' - L'A')) : c;
}
inline void AsciiUpper(WCHAR* text)
{
    for (; text && *text; ++text)
        *text = AsciiUpper(*text);
}

// True when the two names are equal but for case, by FoldCase; a count of -1
// means up to the terminating zero.
bool EqualNoCase(const WCHAR* a, int aCount, const WCHAR* b, int bCount);
inline bool EqualNoCase(const WCHAR* a, const WCHAR* b) { return EqualNoCase(a, -1, b, -1); }

// Compares by FoldCase: < 0, 0, > 0.
int CompareNoCase(const WCHAR* a, int aCount, const WCHAR* b, int bCount);

// The text of a window (an edit, a static) as a WString.
WString WindowText(HWND window);

// File names handed out once each, compared by FoldCase: a name already
// taken comes back as "name (2).ext", "name (3).ext"... so files gathered
// from several folders into one place never replace one another.
class UniqueNames {
public:
    WString Take(const WCHAR* fileName);
private:
    std::vector<WString> m_taken;   // folded
};

}  // namespace lorvex
