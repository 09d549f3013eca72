// Inside the library: the save-options page procedures, for code that shows
// the "JPG" page on its own before a JPEG save.
#pragma once
#include <windows.h>

namespace lorvex {

// Creation parameter that makes the JPEG page run as a stand-alone modal
// dialog: it shows its "Ok" button, "Ok" stores the four JPEG rows of gSO and
// ends with 1, Cancel ends with 2 and stores nothing. Any other parameter
// (a property sheet passes its page record) makes it a sheet page.
constexpr LPARAM kJpegPageStandAlone = 1;

// Dialog procedures of templates 1140 ("JPG") and 1141 ("PNG").
INT_PTR CALLBACK JpegSaveOptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PngSaveOptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The number an edit of the pages holds: optional blanks and sign, digits,
// optional blanks. Anything else, or nothing, reads as 0. A long run of
// digits saturates at the int range, so it still reads as beyond the page's
// range rather than wrapping.
int ParseEditNumber(const WCHAR* text);
// value pulled to the nearest of low and high when outside them.
int ClampNumber(int value, int low, int high);

// Runs template 1140 modally over parent with JpegSaveOptionsProc and
// kJpegPageStandAlone. Returns 1 after "Ok" (JPEG rows of gSO updated), 2
// after Cancel (nothing stored), -1 if the dialog could not be created.
INT_PTR RunJpegSaveOptions(HWND parent);

}  // namespace lorvex
