// Records of the host that lorvexops reads and writes. The host owns them; the
// library reaches the picture record through the user data of the document
// window (GetWindowLongPtrW(window, GWLP_USERDATA)).
#pragma once
#include <windows.h>
#include <Magick++.h>
#include "lorvexops/layout32.h"

// One per document window: the picture shown there and its names. Only these
// members, their types and their order are relied on; a real host may have
// others between and around them.
struct HostPictureRecord {
    Magick::Image picture;            // assigned as a whole
    float zoom = 1.0f;                // a scan sets it to 1.0
    WCHAR currentFileName[MAX_PATH] = {};
    WCHAR nameBuffer[MAX_PATH] = {};
    int reserved1 = 0;                // a scan sets both to 0
    int reserved2 = 0;
    int width = 0;                    // pixels
    int height = 0;
    BYTE changed = 0;                 // a scan sets it to 1
};
LORVEX_LAYOUT32(sizeof(HostPictureRecord) == sizeof(Magick::Image) + 4 + 2 * 2 * MAX_PATH + 4 * 4 + 4,
                "HostPictureRecord");

// Passed to DibFileSaveDlg and on to the compression panel.
struct HostSaveContext {
    HWND document;                    // window whose user data is the record
};
LORVEX_LAYOUT32(sizeof(HostSaveContext) == 4, "HostSaveContext");

// Passed to CTwain::Acquire.
struct PARAMS {
    HWND document;                    // window whose user data is the record
    HWND title;                       // its text is set when a scan arrives
    int acquired;                     // set to 1 when an image arrived
};
LORVEX_LAYOUT32(sizeof(PARAMS) == 12, "PARAMS");
