// Reading BMP files into ordinary DIBs.
#pragma once
#include <lorvexops/dib.h>

#include <cstddef>

namespace lorvex {

constexpr WORD kBmpType = 0x4D42;   // "BM"
constexpr DWORD kFileHeaderSize = 14;

// The BMP file at path as a new DIB, or null when it cannot be read.
HDIB LoadBmp(const WCHAR* path);

// Expands an RLE8 (fourBits false) or RLE4 stream into a zeroed bottom-up
// buffer of height rows, rowLength bytes apart. Pixels the stream leaves
// undefined keep index 0; runs and moves past the picture are clipped. False
// when the stream ends before its end-of-bitmap mark or its last row.
bool ExpandRle(const BYTE* stream, size_t size, bool fourBits, int width, int height, size_t rowLength,
               BYTE* bits);

}  // namespace lorvex
