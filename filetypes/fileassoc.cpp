// The file-association table the host uses to make the viewer the program
// that opens each picture type (and to undo that).
#include "lorvexops/filetypes.h"

#include <cstddef>

static_assert(offsetof(FILEASSOCIATIONS, nID) == sizeof(void*) &&
                  offsetof(FILEASSOCIATIONS, abFlags) == sizeof(void*) + 4 &&
                  offsetof(FILEASSOCIATIONS, szProgID) == sizeof(void*) + 8 &&
                  offsetof(FILEASSOCIATIONS, szUndo) == 2 * sizeof(void*) + 8,
              "FILEASSOCIATIONS keeps its field order with no gaps but pointer alignment");

#define LORVEX_FA_ROW(ext, id, progId) {ext, id, {1, 1, 0, 0}, progId, L"LorvexUndo"}

extern "C" {

FILEASSOCIATIONS gFA[LORVEX_FA_ROWS] = {
    LORVEX_FA_ROW(L".bmp", 1028, L"Lorvex_BMP"),
    LORVEX_FA_ROW(L".jpg", 1026, L"Lorvex_JPG"),
    LORVEX_FA_ROW(L".jpeg", 1036, L"Lorvex_JPEG"),
    LORVEX_FA_ROW(L".png", 1027, L"Lorvex_PNG"),
    LORVEX_FA_ROW(L".pgm", 1029, L"Lorvex_PGM"),
    LORVEX_FA_ROW(L".pnm", 1030, L"Lorvex_PNM"),
    LORVEX_FA_ROW(L".ppm", 1031, L"Lorvex_PPM"),
    LORVEX_FA_ROW(L".tif", 1032, L"Lorvex_TIF"),
    LORVEX_FA_ROW(L".jp2", 1033, L"Lorvex_JP2"),
    LORVEX_FA_ROW(L".gif", 1034, L"Lorvex_GIF"),
    LORVEX_FA_ROW(L".hdf", 1035, L"Lorvex_HDF"),
    LORVEX_FA_ROW(L".dcm", 1038, L"Lorvex_DCM"),
    LORVEX_FA_ROW(L".psd", 1113, L"Lorvex_PSD"),
    LORVEX_FA_ROW(L".j2c", 1114, L"Lorvex_J2C"),
};

}  // extern "C"
