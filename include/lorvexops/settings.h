// lorvexops public interface: settings.
//
// The viewer's option tables: statically initialised arrays of fixed-size
// records that the host reads and writes in place. Each row names the option
// by its key, holds the current value (the initial value is the default) and
// the id of the dialog control that edits it. Row order and record layouts
// are shared with the host byte for byte; there is no terminator row.
//
// Layouts (offsets in bytes; integers little-endian, names zero-terminated
// UTF-16 inside their arrays):
//   VIEWOPTIONS / THUMBOPTIONS  208: name 0, control id 200, value 204
//   tagBOOL_OPTIONS             208: control id 0, value 4 (one byte, then a
//                                    padding byte), name 6, 2 bytes padding
//   SAVEOPTIONS                 312: name 0, value 200, text 204, first id
//                                    304, second id 308
//   LORVEX_3D_OPTIONS: name pointer, then value. It is 8 bytes in a 32-bit
//   build; in this 64-bit build the pointer is 8 bytes and the record 16
//   (name 0, value 8, 4 bytes padding). Field order is the same.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct tagVIEWOPTIONS {
    WCHAR szName[100];     // key
    DWORD dwID;            // id of the control that edits the value
    int nValue;
} VIEWOPTIONS;
typedef VIEWOPTIONS THUMBOPTIONS;

typedef struct tagBOOL_OPTIONS {
    int nID;               // id of the control that edits the value
    bool bValue;           // 0 or 1; followed by one padding byte
    WCHAR szName[100];     // key, 6 bytes into the record
} BOOL_OPTIONS;

typedef struct tagSAVEOPTIONS {
    WCHAR szName[100];     // key
    int nValue;            // for a radio group: the id of the checked button
    WCHAR szText[50];      // a text value (empty except "Save ARM Append")
    int nFirstID;          // group: first button; number: its edit box
    int nSecondID;         // group: last button; number: its trackbar; else 0
} SAVEOPTIONS;

typedef struct tagLORVEX_3D_OPTIONS {
    const WCHAR* szName;
    int nValue;
} LORVEX_3D_OPTIONS;

// Row counts of the tables.
enum {
    LORVEX_VO_ROWS = 18,
    LORVEX_VSO_ROWS = 4,
    LORVEX_TO_ROWS = 4,
    LORVEX_BO_ROWS = 4,
    LORVEX_VFAV_ROWS = 3,
    LORVEX_SO_ROWS = 10,
    LORVEX_3D_ROWS = 5,
    LORVEX_EXTEDIT_CHARS = 260
};

// Row indexes of gSO.
enum {
    SO_JPG_QUALITY = 0,            // 0-100
    SO_JPG_LOSSLESS = 1,           // 1: lossless rotate/mirror, 0: lossy
    SO_JPG_TRIM = 2,               // clip unmovable edges when lossless
    SO_PNG_QUALITY = 3,            // PNG compression level 0-9
    SO_PNG_INTERLACED = 4,         // 1171 none, 1172 Adam-7
    SO_SAVE_AFTER_RORM = 5,
    SO_SAVE_ARM_APPEND = 6,
    SO_KEEP_ORIG_DATETIME = 7,
    SO_JPG_PROGRESSIVE = 8,
    SO_PNG_FILTER = 9              // 1099 None, 1100 Sub, 1101 Up, 1102 Average,
                                   // 1104 Paeth, 1105 Adaptive
};

// Templates of the library's resources that only hosts open, for example
// with CDlgGenericExport or DialogBoxParamW on LorvexGetModuleInstance():
// further save-options dialogs, a compression choice, and a picture's
// properties whose value texts the host fills in.
enum {
    LORVEX_IDD_PNM_SAVE_OPTIONS = 1142,
    LORVEX_IDD_BMP_SAVE_OPTIONS = 1143,
    LORVEX_IDD_TIF_SAVE_OPTIONS = 1144,
    LORVEX_IDD_HDF_SAVE_OPTIONS = 1145,
    LORVEX_IDD_JP2_SAVE_OPTIONS = 1146,
    LORVEX_IDD_GIF_SAVE_OPTIONS = 1147,
    LORVEX_IDD_COMPRESSION = 1139,          // "Compression"
    LORVEX_IDC_COMPRESSION_CHOICE = 1150,   //   its drop-down list
    LORVEX_IDD_IMAGE_PROPERTIES = 1148,     // "Tessik Lorvex - Image Properties"
    LORVEX_IDT_PROP_FILE_NAME = 1160,       //   its value texts
    LORVEX_IDT_PROP_FOLDER = 1161,
    LORVEX_IDT_PROP_PIXEL_SIZE = 1162,
    LORVEX_IDT_PROP_COLOR_DEPTH = 1163,
    LORVEX_IDT_PROP_FILE_SIZE = 1164,
    LORVEX_IDT_PROP_CREATED = 1165,
    LORVEX_IDT_PROP_MODIFIED = 1166
};

// Row index of gVSO read by the folder list: list names without an extension.
enum { VSO_OPEN_FILE_OUT_EXT = 2 };

extern VIEWOPTIONS gVO[LORVEX_VO_ROWS];
extern VIEWOPTIONS gVSO[LORVEX_VSO_ROWS];
extern THUMBOPTIONS gTO[LORVEX_TO_ROWS];
extern BOOL_OPTIONS gBO[LORVEX_BO_ROWS];
extern BOOL_OPTIONS gVFAV[LORVEX_VFAV_ROWS];
extern SAVEOPTIONS gSO[LORVEX_SO_ROWS];
extern LORVEX_3D_OPTIONS Lorvex3DOptions[LORVEX_3D_ROWS];
extern WCHAR gszExtEdit[LORVEX_EXTEDIT_CHARS];   // all zero at load; the host's

// The "File Save Options" property sheet: a "JPG" and a "PNG" page editing the
// JPEG and PNG rows of gSO, written back only when the user presses OK or
// Apply. Returns what PropertySheetW returns (-1 if it could not run).
// Both use the Windows C calling convention, so hosts may also call them
// through GetProcAddress.
int __cdecl DlgDlgFileSaveOptions(HWND owner);
// Runs DlgDlgFileSaveOptions; always true.
bool __cdecl DlgFileSaveOptions(HWND owner);

#ifdef __cplusplus
}
#endif
