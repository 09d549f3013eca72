// Shared inside lorvexops between the compression choices and the save
// dialog's panel. The panel builds on the save types of filetypes/.
#pragma once
#include <windows.h>

#include "filetypes/filetypes_internal.h"
#include "lorvexops/resize.h"

namespace lorvex {

// Fills a combo box with the entries info allows (item data: the Magick++
// compression type) and selects lossless JPEG when offered, else the first
// entry; a single entry leaves the list disabled. The picture is not touched.
void FillCompressionList(HWND combo, const CCompressInfo& info);

}  // namespace lorvex
