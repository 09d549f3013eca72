// Wide text inside the library: lorvex::WString (2-byte traits, see
// <lorvexops/widestring.h>) and the one case-folding rule for file names.
#pragma once
#include <windows.h>

#include <lorvexops/widestring.h>

#include <vector>

namespace lorvex {

// Upper case as the file system compares names: ASCII directly, everything
// else through the system's case table (CharUpperW on one character).
WCHAR FoldCase(WCHAR c);

// True when the two names are equal but for case, by FoldCase; a count of -1
// means up to the terminating zero.
bool EqualNoCase(const WCHAR* a, int aCount, const WCHAR* b, int bCount);
inline bool EqualNoCase(const WCHAR* a, const WCHAR* b) { return EqualNoCase(a, -1, b, -1); }

// Compares by FoldCase, then by code unit: < 0, 0, > 0.
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
