// lorvexops public interface: filetypes.
#pragma once
#include <windows.h>

// One picture type the viewer can register itself for. The host does the
// registering; this library only provides the table. In a 32-bit build the
// record is 216 bytes; in this 64-bit build the two pointers are 8 bytes each
// and the record is 224 (szExt 0, nID 8, abFlags 12, szProgID 16, szUndo 24).
typedef struct tagFILEASSOCIATIONS {
    const WCHAR* szExt;    // lower case, with its dot: ".jpg"
    int nID;               // identifies the type to the host
    BYTE abFlags[4];       // the host's flags; 1, 1, 0, 0 at load
    const WCHAR* szProgID; // the programmatic id the viewer registers under
    WCHAR szUndo[100];     // the host's text buffer; "LorvexUndo" at load
} FILEASSOCIATIONS;

enum { LORVEX_FA_ROWS = 14 };

// The file-association table: 14 rows, no terminator row, writable by the
// host. This library never reads or changes it after load.
extern "C" FILEASSOCIATIONS gFA[LORVEX_FA_ROWS];
