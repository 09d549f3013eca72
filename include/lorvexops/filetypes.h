// lorvexops public interface: filetypes.
#pragma once
#include <windows.h>
#include "lorvexops/layout32.h"
#include <list>
#include <vector>

// ---- File-association table ------------------------------------------------

// One picture type the viewer can register itself for. The host does the
// registering; this library only provides the table. 216 bytes (on x64 224:
// szExt 0, nID 8, abFlags 12, szProgID 16, szUndo 24).
typedef struct tagFILEASSOCIATIONS {
    const WCHAR* szExt;    // lower case, with its dot: ".jpg"
    int nID;               // identifies the type to the host
    BYTE abFlags[4];       // the host's flags; 1, 1, 0, 0 at load
    const WCHAR* szProgID; // the programmatic id the viewer registers under
    WCHAR szUndo[100];     // the host's text buffer; "LorvexUndo" at load
} FILEASSOCIATIONS;
LORVEX_LAYOUT32(sizeof(FILEASSOCIATIONS) == 216, "FILEASSOCIATIONS");

enum { LORVEX_FA_ROWS = 14 };

// The file-association table: 14 rows, no terminator row, writable by the
// host. This library never reads or changes it after load.
extern "C" FILEASSOCIATIONS gFA[LORVEX_FA_ROWS];

// ---- Picture types and the open/save filter texts --------------------------

// One picture type of the open filter: the extension (upper case, no dot)
// and the display name, or null when the display name is the extension.
struct FILTERFILEEXTRY {
    const WCHAR* szExt;
    const WCHAR* szDescription;
};

extern "C" {

// The picture types the viewer opens, in filter order; the last row is the
// viewer's own portfolio type "LVX".
extern const FILTERFILEEXTRY szStaticOpenFileFilter[14];

// The savable extensions in the order of szSaveFilter, then null.
extern const WCHAR* const szSaveFilter2[12];

// The save dialog's filter: eleven description/pattern pairs, each string
// zero-terminated, then one more zero (the rest of the array is zero).
extern WCHAR szSaveFilter[270];

// Extensions registered by plug-ins, in registration order. The texts are
// the library's own copies, so a caller's buffer may go away after
// RegisterFileExtension returns.
extern std::list<const WCHAR*> sPluginSupportedExtensions;

// The extensions a folder list enumerates: every static type except "LVX",
// then the plug-in extensions. Rebuilt by every filter build.
extern std::vector<const WCHAR*> szSupportedFilesFilter;

// The open filter text (pairs of zero-terminated strings ending in extra
// zeros), built on the first call; the same buffer afterwards. It belongs to
// the library and is invalid after FreeOpenFilterBuffers or
// RegisterFileExtension. Null only when memory ran out.
const WCHAR* __cdecl GetOpenFilter(void);
// The same without the portfolio type and without the all-files entry.
const WCHAR* __cdecl GetOpenFilterWithoutLVX(void);
// Releases both filter texts; the next Get call builds anew.
void __cdecl FreeOpenFilterBuffers(void);
// Adds a plug-in extension (without dot) unless it equals, case-sensitively,
// a static type or an extension already registered; then rebuilds both
// filter texts. Null or empty extensions are ignored.
void __cdecl RegisterFileExtension(const WCHAR* extension);

}  // extern "C"

// Resets the library's file dialog record for owner: 260-character buffers,
// default extension "jpg", everything else zero.
void DibFileInitialize(HWND owner);
// The same, plus this library's module instance and an initial folder (the
// pointer is kept, so folder must outlive the dialogs that use it).
void DibFileInitialize(HWND owner, const WCHAR* initialFolder);

// ---- Open and save dialogs -----------------------------------------------
struct HostSaveContext;

extern "C" {
// The open dialog on the library's file dialog record with the open filter;
// file and title are buffers of 260 characters. Non-zero when a file was
// chosen (the platform's result, zero on cancel or failure).
int __cdecl DibFileOpenDlg(HWND owner, WCHAR* file, WCHAR* title);
// The save dialog with the "Advanced options" panel. It proposes the name and
// type of the picture that context's document window leads to, and the panel
// sets the chosen compression on that picture. Non-zero when a name was chosen.
int __cdecl DibFileSaveDlg(HWND owner, WCHAR* file, WCHAR* title, HostSaveContext* context);
}
// ---- end of open and save dialogs ----------------------------------------
