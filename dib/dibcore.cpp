// The DIB record's validity test, its accessors, and single-pixel and
// colour-table access.
#include <lorvexops/dib.h>
#include "dib/dibrecord.h"
#include "win/scoped.h"

#include <climits>
#include <cstring>

namespace lorvex {

namespace {
LONG gLiveDibs = 0;

// Oldest first: the slot to be filled next holds the block freed longest ago.
constexpr size_t kRetiredBlocks = 256;
DibRecord* gRetired[kRetiredBlocks] = {};
size_t gNextRetired = 0;
}

void RetireRecordBlock(DibRecord* record)
{
    record->signature = 0;
    DibRecord*& slot = gRetired[gNextRetired];
    if (slot)
        HeapFree(GetProcessHeap(), 0, slot);
    slot = record;
    gNextRetired = (gNextRetired + 1) % kRetiredBlocks;
}

void CountDibCreated() { InterlockedIncrement(&gLiveDibs); }
void CountDibDeleted() { InterlockedDecrement(&gLiveDibs); }
LONG LiveDibCount() { return gLiveDibs; }

DibRecord* DibFromHandle(void* dib)
{
    if (!dib || IsBadReadPtr(dib, sizeof(DibRecord)))
        return nullptr;
    auto* record = static_cast<DibRecord*>(dib);
    return record->signature == kDibSignature ? record : nullptr;
}

namespace {

// The header sizes accepted in info blocks, packed DIBs and files.
bool IsKnownHeaderSize(DWORD size)
{
    return size == sizeof(BITMAPCOREHEADER) || size == sizeof(BITMAPINFOHEADER) ||
           size == sizeof(BITMAPV4HEADER) || size == sizeof(BITMAPV5HEADER);
}

}  // namespace

bool DescribeInfo(const void* header, uint64_t available, InfoLayout* layout)
{
    DWORD size = 0;
    memcpy(&size, header, sizeof size);
    if (!IsKnownHeaderSize(size))
        return false;
    if (available ? available < size : IsBadReadPtr(header, size) != FALSE)
        return false;

    int64_t width = 0, height = 0;
    unsigned planes = 0, bitCount = 0;
    DWORD compression = BI_RGB, clrUsed = 0;
    if (size == sizeof(BITMAPCOREHEADER)) {
        BITMAPCOREHEADER core;
        memcpy(&core, header, sizeof core);
        width = core.bcWidth;
        height = core.bcHeight;
        planes = core.bcPlanes;
        bitCount = core.bcBitCount;
        if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)
            return false;
    } else {
        BITMAPINFOHEADER info;
        memcpy(&info, header, sizeof info);
        width = info.biWidth;
        height = info.biHeight;
        planes = info.biPlanes;
        bitCount = info.biBitCount;
        compression = info.biCompression;
        clrUsed = info.biClrUsed;
    }
    if (planes != 1 || width < 1 || height == 0 || height == INT_MIN)
        return false;
    switch (bitCount) {
    case 1: case 4: case 8: case 24:
        if (compression != BI_RGB)
            return false;
        break;
    case 16: case 32:
        if (compression != BI_RGB && compression != BI_BITFIELDS)
            return false;
        break;
    default:
        return false;
    }
    const uint64_t maxColors = bitCount <= 8 ? (1u << bitCount) : 0;
    if (bitCount <= 8 && clrUsed > maxColors)
        return false;

    layout->headerSize = size;
    layout->maskBytes = (size == sizeof(BITMAPINFOHEADER) && compression == BI_BITFIELDS) ? 12 : 0;
    if (size == sizeof(BITMAPCOREHEADER))
        layout->colorBytes = 3 * maxColors;
    else
        layout->colorBytes = 4 * (clrUsed ? uint64_t(clrUsed) : maxColors);
    layout->infoBytes = size + layout->maskBytes + layout->colorBytes;
    layout->topDown = height < 0;
    const uint64_t rows = height < 0 ? uint64_t(-height) : uint64_t(height);
    const uint64_t rowLength = (uint64_t(width) * bitCount + 31) / 32 * 4;
    layout->bitsBytes = rowLength * rows;
    // Sizes are 32-bit fields of the record and of BMP files.
    if (rowLength > INT_MAX || layout->bitsBytes + layout->infoBytes > INT_MAX)
        return false;
    if (available ? available < layout->infoBytes : IsBadReadPtr(header, layout->infoBytes) != FALSE)
        return false;
    return true;
}

}  // namespace lorvex

using lorvex::DibFromHandle;
using lorvex::DibRecord;

namespace {

// Channel i of a direct-colour pixel as an 8-bit intensity. A mask run
// longer than 8 bits has a negative left shift: the run's top 8 bits are kept.
BYTE ChannelIntensity(const DibRecord* r, DWORD value, int i)
{
    DWORD channel = (value & r->section.dsBitfields[i]) >> r->rshift[i];
    int left = r->lshift[i];
    return left >= 0 ? BYTE(BYTE(channel) << left) : BYTE(channel >> -left);
}

// The inverse: an intensity placed into channel i's bits.
DWORD ChannelBits(const DibRecord* r, BYTE intensity, int i)
{
    int left = r->lshift[i];
    DWORD channel = left >= 0 ? DWORD(intensity) >> left : DWORD(intensity) << -left;
    return channel << r->rshift[i];
}

DWORD NumColors(const DibRecord* r)
{
    const BITMAPINFOHEADER& h = r->section.dsBmih;
    if (h.biClrUsed)
        return h.biClrUsed;
    return r->section.dsBm.bmBitsPixel <= 8 ? (1u << r->section.dsBm.bmBitsPixel) : 0;
}

BYTE* PixelPtr(const DibRecord* r, int x, int y)
{
    DWORD compression = r->section.dsBmih.biCompression;
    if (compression != BI_RGB && compression != BI_BITFIELDS)
        return nullptr;
    if (x < 0 || y < 0 || x >= r->section.dsBm.bmWidth || y >= r->section.dsBm.bmHeight)
        return nullptr;
    return r->rows[y] + (int64_t(x) * r->section.dsBm.bmBitsPixel) / 8;
}

// Reads or writes one colour-table entry through a memory DC, as the
// platform keeps the table.
int ColorEntry(const DibRecord* r, int index, RGBQUAD* color, bool write)
{
    if (!color || index < 0 || DWORD(index) >= NumColors(r))
        return 0;
    lorvex::ScopedMemDC dc;
    if (!dc.get())
        return 0;
    lorvex::ScopedSelect select(dc.get(), r->bitmap);
    if (!select.ok())
        return 0;
    UINT done = write ? SetDIBColorTable(dc.get(), index, 1, color)
                      : GetDIBColorTable(dc.get(), index, 1, color);
    return done != 0;
}

}  // namespace


extern "C" {

LONG LorvexDibLiveCount(void) { return lorvex::LiveDibCount(); }

int DibIsValid(HDIB dib) { return DibFromHandle(dib) ? 1 : 0; }

HBITMAP DibBitmapHandle(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? r->bitmap : nullptr;
}

int DibWidth(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? r->section.dsBm.bmWidth : 0;
}

int DibHeight(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? r->section.dsBm.bmHeight : 0;
}

int DibBitCount(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? r->section.dsBm.bmBitsPixel : 0;
}

int DibRowLength(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? int((int64_t(r->section.dsBm.bmWidth) * r->section.dsBm.bmBitsPixel + 31) / 32 * 4) : 0;
}

DWORD DibNumColors(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? NumColors(r) : 0;
}

DWORD DibMask(HDIB dib, int i)
{
    DibRecord* r = DibFromHandle(dib);
    return r && i >= 0 && i <= 2 ? r->section.dsBitfields[i] : 0;
}

int DibRShift(HDIB dib, int i)
{
    DibRecord* r = DibFromHandle(dib);
    return r && i >= 0 && i <= 2 ? r->rshift[i] : 0;
}

int DibLShift(HDIB dib, int i)
{
    DibRecord* r = DibFromHandle(dib);
    return r && i >= 0 && i <= 2 ? r->lshift[i] : 0;
}

int DibCompression(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? int(r->section.dsBmih.biCompression) : 0;
}

int DibIsAddressable(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    if (!r)
        return 0;
    DWORD compression = r->section.dsBmih.biCompression;
    return compression == BI_RGB || compression == BI_BITFIELDS;
}

DWORD DibInfoHeaderSize(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? r->section.dsBmih.biSize : 0;
}

DWORD DibMaskSize(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r && r->section.dsBmih.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0;
}

DWORD DibColorSize(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? NumColors(r) * sizeof(RGBQUAD) : 0;
}

DWORD DibInfoSize(HDIB dib)
{
    return DibIsValid(dib) ? DibInfoHeaderSize(dib) + DibMaskSize(dib) + DibColorSize(dib) : 0;
}

DWORD DibBitsSize(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    if (!r)
        return 0;
    if (r->section.dsBmih.biSizeImage)
        return r->section.dsBmih.biSizeImage;
    return DWORD(DibRowLength(dib)) * DWORD(r->section.dsBm.bmHeight);
}

DWORD DibTotalSize(HDIB dib)
{
    return DibIsValid(dib) ? DibInfoSize(dib) + DibBitsSize(dib) : 0;
}

BITMAPINFOHEADER* DibInfoHeaderPtr(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? &r->section.dsBmih : nullptr;
}

DWORD* DibMaskPtr(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? r->section.dsBitfields : nullptr;
}

void* DibBitsPtr(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? r->bits : nullptr;
}

int DibGetColor(HDIB dib, int index, RGBQUAD* color)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? ColorEntry(r, index, color, false) : 0;
}

int DibSetColor(HDIB dib, int index, const RGBQUAD* color)
{
    DibRecord* r = DibFromHandle(dib);
    if (!r || !color)
        return 0;
    RGBQUAD copy = *color;
    return ColorEntry(r, index, &copy, true);
}

BYTE* DibPixelPtr(HDIB dib, int x, int y)
{
    DibRecord* r = DibFromHandle(dib);
    return r ? PixelPtr(r, x, y) : nullptr;
}

DWORD DibGetPixel(HDIB dib, int x, int y)
{
    DibRecord* r = DibFromHandle(dib);
    const BYTE* p = r ? PixelPtr(r, x, y) : nullptr;
    if (!p)
        return 0;
    switch (r->section.dsBm.bmBitsPixel) {
    case 1: return (*p >> (7 - x % 8)) & 1;
    case 4: return x % 2 ? *p & 0xF : (*p >> 4) & 0xF;
    case 8: return *p;
    case 16: return p[0] | p[1] << 8;
    case 24: return p[0] | p[1] << 8 | DWORD(p[2]) << 16;
    case 32: return p[0] | p[1] << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
    default: return 0;
    }
}

int DibSetPixel(HDIB dib, int x, int y, DWORD value)
{
    DibRecord* r = DibFromHandle(dib);
    BYTE* p = r ? PixelPtr(r, x, y) : nullptr;
    if (!p)
        return 0;
    // Only the value's low byte takes part in the 1- and 4-bit shifts.
    const DWORD low = value & 0xFF;
    switch (r->section.dsBm.bmBitsPixel) {
    case 1: {
        int shift = 7 - x % 8;
        *p = BYTE((*p & ~(1u << shift)) | (low << shift));
        return 1;
    }
    case 4:
        *p = x % 2 ? BYTE((*p & 0xF0) | low) : BYTE((*p & 0x0F) | (low << 4));
        return 1;
    case 8:
        *p = BYTE(value);
        return 1;
    case 16:
        p[0] = BYTE(value);
        p[1] = BYTE(value >> 8);
        return 1;
    case 24:
        p[0] = BYTE(value);
        p[1] = BYTE(value >> 8);
        p[2] = BYTE(value >> 16);
        return 1;
    case 32:
        p[0] = BYTE(value);
        p[1] = BYTE(value >> 8);
        p[2] = BYTE(value >> 16);
        p[3] = BYTE(value >> 24);
        return 1;
    default:
        return 0;
    }
}

int DibGetPixelColor(HDIB dib, int x, int y, RGBQUAD* color)
{
    DibRecord* r = DibFromHandle(dib);
    if (!r || !color)
        return 0;
    const int depth = r->section.dsBm.bmBitsPixel;
    if (depth == 0)
        return 0;
    const DWORD value = DibGetPixel(dib, x, y);
    if (depth <= 8)
        return ColorEntry(r, int(value), color, false);
    if (depth == 24) {
        color->rgbBlue = BYTE(value);
        color->rgbGreen = BYTE(value >> 8);
        color->rgbRed = BYTE(value >> 16);
        color->rgbReserved = 0;
        return 1;
    }
    if (depth == 32 && r->section.dsBmih.biCompression == BI_RGB) {
        memcpy(color, &value, sizeof value);
        return 1;
    }
    color->rgbRed = ChannelIntensity(r, value, 0);
    color->rgbGreen = ChannelIntensity(r, value, 1);
    color->rgbBlue = ChannelIntensity(r, value, 2);
    return 1;
}

int DibSetPixelColor(HDIB dib, int x, int y, const RGBQUAD* color)
{
    DibRecord* r = DibFromHandle(dib);
    if (!r || !color)
        return 0;
    const int depth = r->section.dsBm.bmBitsPixel;
    if (depth <= 8)
        return 0;
    DWORD value;
    if (depth == 24) {
        value = color->rgbBlue | color->rgbGreen << 8 | DWORD(color->rgbRed) << 16;
    } else if (depth == 32 && r->section.dsBmih.biCompression == BI_RGB) {
        memcpy(&value, color, sizeof value);
    } else {
        value = ChannelBits(r, color->rgbRed, 0) | ChannelBits(r, color->rgbGreen, 1) |
                ChannelBits(r, color->rgbBlue, 2);
    }
    DibSetPixel(dib, x, y, value);
    return 1;
}

}  // extern "C"
