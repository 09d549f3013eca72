// Internals of the sorted list view shared by its source files.
#pragma once
#include <lorvexops/listview.h>
#include <lorvexops/widestring.h>

#include <climits>

namespace lorvex {

// A decimal number read the way the C run-time's _wtoi/_wtoi64 read one:
// leading white space, an optional sign, digits up to the first non-digit;
// 0 when there are none, clamped to [low, high] on overflow. Null reads 0.
LONGLONG ParseDecimal(const WCHAR* text, LONGLONG low, LONGLONG high);
inline int ParseInt(const WCHAR* text) { return static_cast<int>(ParseDecimal(text, INT_MIN, INT_MAX)); }

// The text a file-time cell shows: the local short date, a blank, the local
// time (the time alone when the date cannot be made, the date and the blank
// when the time cannot).
WString FileTimeText(const FILETIME& utc);

// Text of one list cell (LVM_SETITEMW); null shows an empty cell.
void SetCellText(HWND list, int row, int column, const WCHAR* text);

}  // namespace lorvex
