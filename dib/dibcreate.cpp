// Making and unmaking DIB records: from info blocks, DIB sections and sizes;
// copies; packed DIBs and device-dependent bitmaps.
#include "win/guard.h"
#include <lorvexops/dib.h>
#include "dib/dibcreate.h"
#include "dib/dibrecord.h"
#include "win/scoped.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace lorvex {

namespace {

void DeriveShifts(DibRecord* r)
{
    DWORD* masks = r->section.dsBitfields;
    BITMAPINFOHEADER& h = r->section.dsBmih;
    const int depth = r->section.dsBm.bmBitsPixel;
    if (h.biCompression == BI_BITFIELDS) {
        for (int i = 0; i < 3; ++i) {
            DWORD mask = masks[i];
            int right = 0, run = 0;
            if (mask) {
                while (!(mask & 1)) { mask >>= 1; ++right; }
                while (mask & 1) { mask >>= 1; ++run; }
                r->rshift[i] = right;
                r->lshift[i] = 8 - run;
            } else {
                r->rshift[i] = r->lshift[i] = 0;
            }
        }
        return;
    }
    if (h.biCompression == BI_RGB && depth == 16) {
        masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
        r->rshift[0] = 10; r->rshift[1] = 5; r->rshift[2] = 0;
        r->lshift[0] = r->lshift[1] = r->lshift[2] = 3;
        return;
    }
    if (h.biCompression == BI_RGB && (depth == 24 || depth == 32)) {
        masks[0] = 0xFF0000; masks[1] = 0x00FF00; masks[2] = 0x0000FF;
        r->rshift[0] = 16; r->rshift[1] = 8; r->rshift[2] = 0;
        r->lshift[0] = r->lshift[1] = r->lshift[2] = 0;
        return;
    }
    for (int i = 0; i < 3; ++i)
        r->rshift[i] = r->lshift[i] = 0;
}

void ReleaseRecord(DibRecord* r)
{
    r->signature = 0;   // a stale handle must fail the validity test
    if (r->rows)
        HeapFree(GetProcessHeap(), 0, r->rows);
    if (r->bitmap)
        DeleteObject(r->bitmap);
    RetireRecordBlock(r);
}

// The platform here reports a top-down section's height as positive, so a
// section made elsewhere is asked directly: one pixel at the top left is
// inverted through GDI, and the memory row that changed is the top row. The
// bytes are put back as they were.
bool SectionIsTopDown(HBITMAP bitmap, const DIBSECTION& section, size_t rowLength)
{
    if (section.dsBmih.biHeight < 0)
        return true;
    if (section.dsBm.bmHeight < 2)
        return false;
    BYTE* first = static_cast<BYTE*>(section.dsBm.bmBits);
    BYTE* last = first + (size_t(section.dsBm.bmHeight) - 1) * rowLength;
    BYTE firstBefore[4], lastBefore[4];   // rows are at least 4 bytes long
    memcpy(firstBefore, first, sizeof firstBefore);
    memcpy(lastBefore, last, sizeof lastBefore);
    ScopedMemDC dc;
    ScopedSelect select(dc.get(), bitmap);
    if (!dc.get() || !select.ok())
        return false;
    PatBlt(dc.get(), 0, 0, 1, 1, DSTINVERT);
    GdiFlush();
    const bool topDown = memcmp(first, firstBefore, sizeof firstBefore) != 0;
    memcpy(first, firstBefore, sizeof firstBefore);
    memcpy(last, lastBefore, sizeof lastBefore);
    return topDown;
}

// Steps shared by every constructor once the section exists: description,
// masks and shifts, row table. Takes the bitmap; null on failure (the
// bitmap then deleted).
DibRecord* FinishRecord(HBITMAP bitmap, const CreatorHeader* creator)
{
    ScopedGdiObject<HBITMAP> owned(bitmap);
    auto* r = static_cast<DibRecord*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(DibRecord)));
    if (!r)
        return nullptr;
    if (GetObjectW(bitmap, sizeof r->section, &r->section) != sizeof r->section ||
        !r->section.dsBm.bmBits || r->section.dsBm.bmHeight < 1 || r->section.dsBm.bmWidth < 1) {
        HeapFree(GetProcessHeap(), 0, r);
        return nullptr;
    }
    r->bitmap = owned.release();
    r->bits = static_cast<BYTE*>(r->section.dsBm.bmBits);
    r->signature = kDibSignature;

    BITMAPINFOHEADER& h = r->section.dsBmih;
    const int depth = r->section.dsBm.bmBitsPixel;
    const int rows = r->section.dsBm.bmHeight;
    const int64_t rowLength = (int64_t(r->section.dsBm.bmWidth) * depth + 31) / 32 * 4;
    // The platform's report loses the creating header's row order, colour
    // count and plain-RGB compression; those come from the creator.
    const bool topDown = creator ? creator->topDown : SectionIsTopDown(r->bitmap, r->section, size_t(rowLength));
    if (creator) {
        if (creator->compression == BI_RGB && (depth == 16 || depth == 32))
            h.biCompression = BI_RGB;
        if (depth <= 8)
            h.biClrUsed = creator->clrUsed;
    }
    h.biHeight = topDown ? -rows : rows;
    // The sizes are 32-bit fields: a section beyond them cannot be described.
    if (rowLength * rows > 0x7FFFFFFF) {
        ReleaseRecord(r);
        return nullptr;
    }
    h.biSizeImage = DWORD(rowLength * rows);
    DeriveShifts(r);

    r->rows = static_cast<BYTE**>(HeapAlloc(GetProcessHeap(), 0, sizeof(BYTE*) * rows));
    if (!r->rows) {
        ReleaseRecord(r);
        return nullptr;
    }
    for (int y = 0; y < rows; ++y)
        r->rows[y] = r->bits + size_t(topDown ? y : rows - 1 - y) * size_t(rowLength);
    CountDibCreated();
    return r;
}

}  // namespace

CreatorHeader CreatorOf(const void* header)
{
    CreatorHeader creator = {};
    DWORD size = 0;
    memcpy(&size, header, sizeof size);
    if (size == sizeof(BITMAPCOREHEADER))
        return creator;   // always bottom-up, full table
    BITMAPINFOHEADER h;
    memcpy(&h, header, sizeof h);
    creator.topDown = h.biHeight < 0;
    creator.compression = h.biCompression;
    creator.clrUsed = h.biClrUsed;
    return creator;
}

HDIB CreateFromCheckedInfo(const BITMAPINFO* info)
{
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    CreatorHeader creator = CreatorOf(info);
    return FinishRecord(bitmap, &creator);
}

// Lays out an info block handed in by a caller: false when its first word is
// unreadable or it describes no picture a DIB can hold.
bool DescribeCallerInfo(const BITMAPINFO* info, InfoLayout* layout)
{
    return info && !IsBadReadPtr(info, sizeof(DWORD)) && DescribeInfo(info, 0, layout);
}

}  // namespace lorvex

using namespace lorvex;

extern "C" {

HDIB DibCreateFromInfo(const BITMAPINFO* info)
{
    InfoLayout layout;
    if (!DescribeCallerInfo(info, &layout))
        return nullptr;
    return CreateFromCheckedInfo(info);
}

HDIB DibCreateFromBitmap(HBITMAP bitmap)
{
    if (!bitmap)
        return nullptr;
    return FinishRecord(bitmap, nullptr);
}

int DibDelete(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    if (!r)
        return 0;
    ReleaseRecord(r);
    CountDibDeleted();
    return 1;
}

HDIB DibCreate(int width, int height, int bitsPerPixel, int colors)
{
    if (width < 1 || height < 1 || colors < 0)
        return nullptr;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
        bitsPerPixel != 24 && bitsPerPixel != 32)
        return nullptr;
    const int entries = colors ? colors : (bitsPerPixel <= 8 ? 1 << bitsPerPixel : 0);
    if (entries > 256)
        return nullptr;
    HeapBlock block(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * entries, HEAP_ZERO_MEMORY);
    if (!block.get())
        return nullptr;
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(block.get());
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = WORD(bitsPerPixel);
    h->biCompression = BI_RGB;
    h->biClrUsed = DWORD(colors);
    return DibCreateFromInfo(reinterpret_cast<BITMAPINFO*>(block.get()));
}

BITMAPINFO* DibCloneInfo(HDIB dib)
{
    DibRecord* r = DibFromHandle(dib);
    if (!r)
        return nullptr;
    HeapBlock block(DibInfoSize(dib), HEAP_ZERO_MEMORY);
    if (!block.get())
        return nullptr;
    BYTE* out = block.get();
    memcpy(out, &r->section.dsBmih, sizeof(BITMAPINFOHEADER));
    out += sizeof(BITMAPINFOHEADER);
    const DWORD maskSize = DibMaskSize(dib);
    memcpy(out, r->section.dsBitfields, maskSize);
    out += maskSize;
    if (DWORD colors = DibNumColors(dib)) {
        ScopedMemDC dc;
        ScopedSelect select(dc.get(), r->bitmap);
        if (select.ok())
            GetDIBColorTable(dc.get(), 0, colors, reinterpret_cast<RGBQUAD*>(out));
    }
    return reinterpret_cast<BITMAPINFO*>(block.release());
}

void* DibCopyToPackedDib(HDIB dib, int globalFlag)
{
    DibRecord* r = DibFromHandle(dib);
    if (!r)
        return nullptr;
    const DWORD infoSize = DibInfoSize(dib);
    const DWORD bitsSize = DibBitsSize(dib);
    const SIZE_T size = SIZE_T(infoSize) + bitsSize;
    HGLOBAL global = nullptr;
    BYTE* block = nullptr;
    if (globalFlag) {
        global = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
        block = global ? static_cast<BYTE*>(GlobalLock(global)) : nullptr;
        if (!block) {
            if (global)
                GlobalFree(global);
            return nullptr;
        }
    } else {
        block = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
        if (!block)
            return nullptr;
    }
    BITMAPINFO* info = DibCloneInfo(dib);
    if (info) {
        memcpy(block, info, infoSize);
        HeapFree(GetProcessHeap(), 0, info);
    } else {
        memcpy(block, &r->section.dsBmih, sizeof(BITMAPINFOHEADER));
    }
    memcpy(block + infoSize, r->bits, bitsSize);
    if (globalFlag) {
        GlobalUnlock(global);
        return global;
    }
    return block;
}

HDIB DibCopyFromPackedDib(const BITMAPINFO* packed)
{
    InfoLayout layout;
    if (!DescribeCallerInfo(packed, &layout))
        return nullptr;
    if (IsBadReadPtr(packed, layout.infoBytes + layout.bitsBytes))
        return nullptr;
    HDIB dib = CreateFromCheckedInfo(packed);
    if (!dib)
        return nullptr;
    const DWORD bitsSize = DibBitsSize(dib);
    memcpy(DibBitsPtr(dib), reinterpret_cast<const BYTE*>(packed) + layout.infoBytes,
           bitsSize < layout.bitsBytes ? bitsSize : layout.bitsBytes);
    return dib;
}

HBITMAP DibCopyToDdb(HDIB dib, HWND hwnd, HPALETTE palette)
{
    DibRecord* r = DibFromHandle(dib);
    if (!r)
        return nullptr;
    BITMAPINFO* info = DibCloneInfo(dib);
    if (!info)
        return nullptr;
    HBITMAP ddb = nullptr;
    {
        ScopedWindowDC dc(hwnd);
        if (dc.get()) {
            HPALETTE old = nullptr;
            if (palette) {
                old = SelectPalette(dc.get(), palette, FALSE);
                RealizePalette(dc.get());
            }
            ddb = CreateDIBitmap(dc.get(), &r->section.dsBmih, CBM_INIT, r->bits, info, DIB_RGB_COLORS);
            if (old)
                SelectPalette(dc.get(), old, FALSE);
        }
    }
    HeapFree(GetProcessHeap(), 0, info);
    return ddb;
}

HBITMAP CopyBitmap(HBITMAP bitmap)
{
    BITMAP description;
    if (!bitmap || GetObjectW(bitmap, sizeof description, &description) < int(sizeof description))
        return nullptr;
    // The copy's pixels come from the blit, never from the source's memory.
    description.bmBits = nullptr;
    ScopedMemDC source, target;
    if (!source.get() || !target.get())
        return nullptr;
    ScopedSelect selectSource(source.get(), bitmap);
    if (!selectSource.ok())
        return nullptr;
    ScopedGdiObject<HBITMAP> copy(CreateBitmapIndirect(&description));
    if (!copy.get())
        return nullptr;
    {
        ScopedSelect selectTarget(target.get(), copy.get());
        if (selectTarget.ok())
            return BitBlt(target.get(), 0, 0, description.bmWidth, description.bmHeight, source.get(), 0, 0,
                          SRCCOPY) ? copy.release() : nullptr;
    }
    // A depth the display cannot select (a 24-bit DIB section on a 32-bit
    // screen): the copy takes the display's format instead.
    ScopedWindowDC screen(nullptr);
    ScopedGdiObject<HBITMAP> compatible(
        screen.get() ? CreateCompatibleBitmap(screen.get(), description.bmWidth, description.bmHeight) : nullptr);
    ScopedSelect selectTarget(target.get(), compatible.get());
    if (!selectTarget.ok())
        return nullptr;
    if (!BitBlt(target.get(), 0, 0, description.bmWidth, description.bmHeight, source.get(), 0, 0, SRCCOPY))
        return nullptr;
    return compatible.release();
}

}  // extern "C"

HDIB DibCopy(HDIB dib, int exchange)
{
    return lorvex::Guarded<HDIB>(nullptr, [&]() -> HDIB {
        DibRecord* r = DibFromHandle(dib);
        if (!r)
            return nullptr;
        BITMAPINFO* info = DibCloneInfo(dib);
        if (!info)
            return nullptr;
        if (exchange) {
            info->bmiHeader.biWidth = r->section.dsBm.bmHeight;
            info->bmiHeader.biHeight = r->section.dsBm.bmWidth;
        }
        HDIB copy = DibCreateFromInfo(info);
        HeapFree(GetProcessHeap(), 0, info);
        if (copy && !exchange) {
            DWORD size = DibBitsSize(dib);
            if (DibBitsSize(copy) < size)
                size = DibBitsSize(copy);
            memcpy(DibBitsPtr(copy), r->bits, size);
        }
        return copy;
    });
}

HDIB DibCopy(HDIB dib, int width, int height)
{
    return lorvex::Guarded<HDIB>(nullptr, [&]() -> HDIB {
        BITMAPINFO* info = DibCloneInfo(dib);
        if (!info)
            return nullptr;
        info->bmiHeader.biWidth = width;
        info->bmiHeader.biHeight = height;
        HDIB copy = DibCreateFromInfo(info);
        HeapFree(GetProcessHeap(), 0, info);
        return copy;
    });
}
