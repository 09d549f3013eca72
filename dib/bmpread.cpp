// Reading BMP files. Every header kind a file may carry is read into the
// 40-byte form a DIB section takes, and run-length coded bits are expanded,
// so whatever loads is an ordinary DIB.
#include "dib/bmpread.h"
#include "dib/dibcreate.h"
#include "dib/dibrecord.h"
#include "win/scoped.h"

#include <cstring>

namespace lorvex {

namespace {

// OS/2 2.x headers: the whole 64-byte one and the 16-byte short form, whose
// missing fields are zero. Their compressions 3 and 4 are Huffman and RLE24,
// not the Windows meanings.
constexpr DWORD kOs2ShortHeader = 16, kOs2Header = 64;
// Windows headers that carry the channel masks inside: RGB, RGB and alpha.
constexpr DWORD kV2Header = 52, kV3Header = 56;
constexpr DWORD kMaskBytes = 3 * sizeof(DWORD);

bool ReadExactly(HANDLE file, void* buffer, DWORD size)
{
    DWORD done = 0;
    return ReadFile(file, buffer, size, &done, nullptr) && done == size;
}

// A file's info block as DIB creation takes it.
struct FileInfo {
    Owned<traits::HeapMemory> rebuilt;   // the 40-byte form, when one was made
    const void* info = nullptr;
    DWORD size = 0;
    DWORD rle = 0;        // BI_RLE8 or BI_RLE4: the bits are run-length coded
    DWORD rleBytes = 0;   // the coded length the header states; 0 leaves it open
};

// Reads the info block at the start of a file (blockSize bytes, at least a
// core header's worth) into out: the core form as it stands, every other
// kind rewritten as a 40-byte header, the masks when the compression is
// BI_BITFIELDS, and the colour table. A table larger than the depth allows
// gives its first entries. False for a header kind not read here or a block
// too short for what it declares; the rest is left to DescribeInfo.
bool ReadInfo(const BYTE* block, DWORD blockSize, FileInfo* out)
{
    DWORD size = 0;
    memcpy(&size, block, sizeof size);
    if (size == sizeof(BITMAPCOREHEADER)) {
        out->info = block;
        out->size = blockSize;
        return true;
    }
    const bool os2 = size == kOs2ShortHeader || size == kOs2Header;
    const bool masksInside = size == kV2Header || size == kV3Header || size == sizeof(BITMAPV4HEADER) ||
                             size == sizeof(BITMAPV5HEADER);
    if ((!os2 && !masksInside && size != sizeof(BITMAPINFOHEADER)) || blockSize < size)
        return false;
    BITMAPINFOHEADER h = {};
    memcpy(&h, block, size < sizeof h ? size : sizeof h);
    h.biSize = sizeof h;
    if (os2 && h.biCompression > BI_RLE4)
        return false;
    if ((h.biCompression == BI_RLE8 && h.biBitCount == 8) || (h.biCompression == BI_RLE4 && h.biBitCount == 4)) {
        if (h.biHeight < 0)
            return false;   // coded pictures run bottom-up only
        out->rle = h.biCompression;
        out->rleBytes = h.biSizeImage;
        h.biCompression = BI_RGB;
        h.biSizeImage = 0;
    }
    uint64_t tableAt = size;
    const DWORD maskBytes = h.biCompression == BI_BITFIELDS ? kMaskBytes : 0;
    const uint64_t masksAt = masksInside ? sizeof h : size;
    if (maskBytes && !masksInside)
        tableAt += kMaskBytes;
    uint64_t entries = h.biClrUsed;
    if (h.biBitCount <= 8 && (!entries || entries > (1u << h.biBitCount))) {
        entries = 1u << h.biBitCount;
        h.biClrUsed = 0;
    }
    if (masksAt + maskBytes > blockSize || tableAt + entries * sizeof(RGBQUAD) > blockSize)
        return false;
    const DWORD rebuiltSize = DWORD(sizeof h + maskBytes + entries * sizeof(RGBQUAD));
    out->rebuilt.reset(HeapAlloc(GetProcessHeap(), 0, rebuiltSize));
    auto* rebuilt = static_cast<BYTE*>(out->rebuilt.get());
    if (!rebuilt)
        return false;
    memcpy(rebuilt, &h, sizeof h);
    memcpy(rebuilt + sizeof h, block + masksAt, maskBytes);
    memcpy(rebuilt + sizeof h + maskBytes, block + tableAt, rebuiltSize - sizeof h - maskBytes);
    out->info = rebuilt;
    out->size = rebuiltSize;
    return true;
}

// Reads the coded stream and expands it into a new DIB made from info.
HDIB LoadRle(HANDLE file, const FileInfo& info, uint64_t available)
{
    const uint64_t size = info.rleBytes ? info.rleBytes : available;
    if (size > available || size > 0x7FFFFFFF)
        return nullptr;
    HeapBlock stream{SIZE_T(size)};
    if (!stream.get() || !ReadExactly(file, stream.get(), DWORD(size)))
        return nullptr;
    HDIB dib = CreateFromCheckedInfo(static_cast<const BITMAPINFO*>(info.info));
    if (!dib)
        return nullptr;
    // A new section's pixels are fresh virtual memory, which is zero: the
    // pixels the stream leaves undefined are index 0 without a pass over a
    // picture that a short file may declare as large as a section can be.
    if (!ExpandRle(stream.get(), SIZE_T(size), info.rle == BI_RLE4, DibWidth(dib), DibHeight(dib),
                   DibRowLength(dib), static_cast<BYTE*>(DibBitsPtr(dib)))) {
        DibDelete(dib);
        return nullptr;
    }
    return dib;
}

}  // namespace

bool ExpandRle(const BYTE* stream, size_t size, bool fourBits, int width, int height, size_t rowLength, BYTE* bits)
{
    // The next pixel's place: x may pass the row's end (the rest of a run is
    // dropped there), y the last row (the picture is then complete).
    int64_t x = 0, y = 0;
    size_t at = 0;
    auto put = [&](unsigned index) {
        if (x < width) {
            BYTE* row = bits + size_t(y) * rowLength;
            if (!fourBits)
                row[x] = BYTE(index);
            else if (x % 2)
                row[x / 2] = BYTE((row[x / 2] & 0xF0) | index);
            else
                row[x / 2] = BYTE((row[x / 2] & 0x0F) | index << 4);
        }
        ++x;
    };
    while (y < height) {
        if (size - at < 2)
            return false;
        const unsigned count = stream[at], code = stream[at + 1];
        at += 2;
        if (count) {   // count pixels of one index (two alternating ones at 4 bits)
            for (unsigned i = 0; i < count; ++i)
                put(!fourBits ? code : i % 2 ? code & 0xF : code >> 4);
        } else if (code == 0) {   // end of line
            x = 0;
            ++y;
        } else if (code == 1) {   // end of bitmap: the rest stays index 0
            return true;
        } else if (code == 2) {   // move right and up
            if (size - at < 2)
                return false;
            x += stream[at];
            y += stream[at + 1];
            at += 2;
        } else {   // code literal pixels, padded to a 16-bit boundary
            const size_t bytes = fourBits ? (code + 1) / 2 : code;
            const size_t padded = bytes + bytes % 2;
            if (size - at < padded)
                return false;
            const BYTE* literal = stream + at;
            for (unsigned i = 0; i < code; ++i)
                put(!fourBits ? literal[i] : i % 2 ? literal[i / 2] & 0xF : literal[i / 2] >> 4);
            at += padded;
        }
    }
    return true;
}

HDIB LoadBmp(const WCHAR* path)
{
    ScopedFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.ok())
        return nullptr;
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file.get(), &fileSize))
        return nullptr;
    BYTE fileHeader[kFileHeaderSize];
    if (!ReadExactly(file.get(), fileHeader, sizeof fileHeader))
        return nullptr;
    WORD type;
    DWORD offBits;
    memcpy(&type, fileHeader, sizeof type);
    memcpy(&offBits, fileHeader + 10, sizeof offBits);
    if (type != kBmpType)
        return nullptr;
    // The info block lies between the two headers' start and the bits; it
    // must at least hold the smallest header and lie inside the file.
    if (offBits < kFileHeaderSize + sizeof(BITMAPCOREHEADER) || offBits > fileSize.QuadPart)
        return nullptr;
    const DWORD blockSize = offBits - kFileHeaderSize;
    HeapBlock block(blockSize);
    if (!block.get() || !ReadExactly(file.get(), block.get(), blockSize))
        return nullptr;
    FileInfo info;
    InfoLayout layout;
    if (!ReadInfo(block.get(), blockSize, &info) || !DescribeInfo(info.info, info.size, &layout))
        return nullptr;
    const uint64_t available = uint64_t(fileSize.QuadPart) - offBits;
    if (info.rle)
        return LoadRle(file.get(), info, available);
    // Pixel data the file cannot hold is refused before a section is made.
    if (layout.bitsBytes > available)
        return nullptr;
    HDIB dib = CreateFromCheckedInfo(static_cast<const BITMAPINFO*>(info.info));
    if (!dib)
        return nullptr;
    if (!ReadExactly(file.get(), DibBitsPtr(dib), DibBitsSize(dib))) {
        DibDelete(dib);
        return nullptr;
    }
    return dib;
}

}  // namespace lorvex
