// Module-wide file-type state shared by the filter code and the file dialogs.
// Everything here is used on the host's user-interface thread only, one
// dialog at a time.
#pragma once
#include <windows.h>
#include <commdlg.h>

namespace lorvex {

// The size the dialog record announces in lStructSize.
constexpr DWORD kFileDialogRecordSize = 88;
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
