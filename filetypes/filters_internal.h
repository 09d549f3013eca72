// Module-wide file-type state shared by the filter code and the file dialogs.
// Everything here is used on the host's user-interface thread only, one
// dialog at a time.
#pragma once
#include <windows.h>
#include <commdlg.h>

namespace lorvex {

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

}  // namespace lorvex
