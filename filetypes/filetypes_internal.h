// Module-wide file-type state and rules shared by the filter code, the file
// dialogs, the folder list and the save dialog's compression panel. Used on
// the host's user-interface thread only, one dialog at a time.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "win/text.h"

struct HostPictureRecord;

namespace lorvex {

// The types a picture can be saved as, in the order of the save dialog's
// type list: X(upper-case extension, lower-case pattern). szSaveFilter,
// szSaveFilter2 and kSaveTypeCount are all produced from this one list.
#define LORVEX_SAVE_TYPES(X) \
    X(BMP, bmp) X(JPG, jpg) X(JPEG, jpeg) X(PNG, png) X(PGM, pgm) X(PNM, pnm) \
    X(PPM, ppm) X(TIF, tif) X(JP2, jp2) X(GIF, gif) X(HDF, hdf)

#define LORVEX_COUNT_TYPE(upper, lower) +1
constexpr int kSaveTypeCount = 0 LORVEX_SAVE_TYPES(LORVEX_COUNT_TYPE);
#undef LORVEX_COUNT_TYPE

// The portfolio type, which only the host opens.
bool IsPortfolio(const WCHAR* extension);

// The size the dialog record announces in lStructSize: the whole record, 88
// bytes in a 32-bit build. The common dialogs refuse 88 in this 64-bit build
// (CDERR_STRUCTSIZE); they take only 136 (without the trailing members) or
// the full 152.
constexpr DWORD kFileDialogRecordSize = sizeof(OPENFILENAMEW);
// Capacity, in characters, of the caller's file and file-title buffers.
constexpr DWORD kFileDialogBufferChars = 260;

// The open filter text with or without the portfolio type, built on first
// use; null only when memory ran out. Owned by the library; invalid after
// FreeOpenFilterBuffers or RegisterFileExtension.
const WCHAR* OpenFilterText(bool withPortfolio);

// The one file dialog record of the library, shared by DibFileInitialize and
// the open and save dialogs: what a call sets stays set for the next call.
OPENFILENAMEW& FileDialogRecord();

// The host's picture record behind a document window, or null.
HostPictureRecord* PictureRecordOf(HWND document);

// Index (0 to kSaveTypeCount - 1) of extension among the save types compared
// ignoring case, or -1.
int FindSaveTypeIgnoringCase(const WCHAR* extension);
// The save type a typed name asks for: what follows its last dot, upper-cased
// a-z only, compared exactly; a name without a dot is compared whole. -1 when
// it names none.
int SaveTypeOfName(const WCHAR* name);

// The extension of a path without its dots, when it has at most 8
// characters; empty otherwise (such a name matches no save type).
WString TrimmedExtension(const WCHAR* path);

// What the save dialog proposes for a picture: the file name, the filter
// index (1-based) and the default extension. A type that cannot be saved is
// offered without its extension under the filter of the last saved type.
struct SaveProposal {
    WString file;
    DWORD filterIndex;
    const WCHAR* defaultExtension;
};
SaveProposal ProposeSaveName(const WCHAR* currentName, const std::string& format,
                             const WCHAR* lastExtension, DWORD lastFilterIndex);

// name with its extension replaced by extension (or added, when it has none).
WString ReplaceExtension(const WCHAR* name, const WCHAR* extension);

// Hook of the save dialog's "Advanced options" panel (template 1114), which
// lives with the compression choices. The record's custom data points at the
// host's save context.
UINT_PTR CALLBACK AdvancedOptionsHook(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lorvex
