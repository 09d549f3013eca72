// Shared inside lorvexops between the compression choices and the save dialog.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include "lorvexops/resize.h"

namespace lorvex {

// Fills a combo box with the entries info allows (item data: the Magick++
// compression type) and selects lossless JPEG when offered, else the first
// entry; a single entry leaves the list disabled. The picture is not touched.
void FillCompressionList(HWND combo, const CCompressInfo& info);

// Hook of the save dialog's "Advanced options" panel (template 1114). The
// record's custom data points at the host's save context.
UINT_PTR CALLBACK AdvancedOptionsHook(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// The extension of a path without its dots, into a buffer of 10 characters.
// An extension that does not fit gives an empty result: nothing is written
// past the buffer, and such a name matches no save type.
enum { kExtensionBufferSize = 10 };
void TrimmedExtension(const WCHAR* path, WCHAR (&extension)[kExtensionBufferSize]);

// Index (0-10) of extension among the save types compared ignoring case, or -1.
int FindSaveTypeIgnoringCase(const WCHAR* extension);
// Index of extension among the save types compared exactly, or -1.
int FindSaveTypeExact(const WCHAR* extension);
// ASCII upper case, character by character; other characters unchanged.
void UpperAscii(WCHAR* text);

}  // namespace lorvex
