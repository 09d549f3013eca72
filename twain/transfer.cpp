// CTwain: native transfer of the pending images into the host's picture.
#include "lorvexops/twain.h"

#include "lorvexops/hostrecords.h"
#include "win/guard.h"
#include "win/scoped.h"

#include <Magick++.h>
#include <cstdint>

namespace {

// The palette of the image being converted; one conversion at a time.
HPALETTE gConversionPalette = nullptr;

void ReleaseConversionPalette()
{
    if (gConversionPalette)
        DeleteObject(gConversionPalette);
    gConversionPalette = nullptr;
}

// Colours the header announces: biClrUsed, else a full table up to 8 bits.
DWORD ColorCount(const BITMAPINFOHEADER& header)
{
    if (header.biClrUsed)
        return header.biClrUsed;
    return header.biBitCount <= 8 ? 1u << header.biBitCount : 0;
}

// Offset of the bits in a packed DIB of size bytes, or 0 when its header,
// masks, colour table or bits do not all lie inside it.
SIZE_T BitsOffset(const BITMAPINFOHEADER& header, SIZE_T size)
{
    // Sides beyond 32768 pixels are refused: no page is that large, and the
    // sizes below stay far from overflowing.
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size || header.biWidth <= 0 ||
        header.biHeight == 0 || header.biWidth > 0x8000 || header.biHeight > 0x8000 || header.biHeight < -0x8000)
        return 0;
    const uint64_t colors = ColorCount(header);
    if (colors > 0x10000)
        return 0;
    uint64_t offset = header.biSize + 4 * colors;
    // Masks follow a plain 40-byte header; longer headers hold them.
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        offset += 3 * sizeof(DWORD);
    const uint64_t rows = header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight;
    const uint64_t stride = (uint64_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    uint64_t bits = 0;
    switch (header.biCompression) {
    case BI_RGB:
    case BI_BITFIELDS:
        bits = stride * rows;
        break;
    case BI_RLE8:
    case BI_RLE4:
        bits = header.biSizeImage;
        break;
    default:
        return 0;
    }
    return offset + bits <= size && bits ? SIZE_T(offset) : 0;
}

// 8-bit channel values in the image library's samples, exactly what its own
// reduction to 8 bits maps back.
const Magick::Quantum* ChannelScale()
{
    static const auto* table = [] {
        using MagickCore::Quantum;   // QuantumRange is spelt with it
        static Quantum values[256];
        for (int v = 0; v < 256; ++v)
            values[v] = static_cast<Quantum>(v * (double(QuantumRange) / 255.0) + 0.5);
        return values;
    }();
    return table;
}

// The bitmap's pixels as a new image, read in one call and written row by
// row through the pixel cache.
bool ReadPixels(HDC dc, HBITMAP bitmap, int width, int height, Magick::Image& image)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top-down, as the image's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    lorvex::HeapBlock bits(SIZE_T(width) * SIZE_T(height) * 4);
    if (!bits.get() || GetDIBits(dc, bitmap, 0, height, bits.get(), &info, DIB_RGB_COLORS) != height)
        return false;

    image.size(Magick::Geometry(width, height, 0, 0, false, false));
    image.depth(8);
    const Magick::Quantum* scale = ChannelScale();
    const RGBQUAD* source = reinterpret_cast<const RGBQUAD*>(bits.get());
    for (int y = 0; y < height; ++y) {
        Magick::PixelPacket* packet = image.setPixels(0, y, width, 1);
        if (!packet)
            return false;
        for (int x = 0; x < width; ++x, ++packet, ++source) {
            packet->blue = scale[source->rgbBlue];
            packet->green = scale[source->rgbGreen];
            packet->red = scale[source->rgbRed];
            packet->opacity = 0;   // opaque; fresh cache memory is not cleared
        }
        image.syncPixels();
    }
    return true;
}

void HandToHost(Magick::Image& image, HostPictureRecord& record, PARAMS& params)
{
    record.picture = image;
    image = Magick::Image();   // one reference left: setting the format copies nothing
    record.picture.magick("PNG");
    lstrcpynW(record.currentFileName, L"Acquired Image.PNG", MAX_PATH);
    lstrcpynW(record.nameBuffer, L"Acquired Image", MAX_PATH);
    if (IsWindow(params.title))
        SetWindowTextW(params.title, L"Acquired Image");
    record.changed = 1;
    params.acquired = 1;
    record.zoom = 1.0f;
    record.reserved1 = 0;
    record.reserved2 = 0;
    record.width = static_cast<int>(record.picture.columns());
    record.height = static_cast<int>(record.picture.rows());
    RedrawWindow(params.document, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace

HPALETTE CreateDibPalette(const BITMAPINFOHEADER* header)
{
    return lorvex::Guarded<HPALETTE>(nullptr, [&]() -> HPALETTE {
        if (!header || header->biSize != sizeof(BITMAPINFOHEADER))
            return nullptr;
        const DWORD colors = ColorCount(*header);
        if (!colors && header->biBitCount != 24)
            return nullptr;
        // A display palette holds at most 256 entries.
        const DWORD entries = colors ? (colors < 256 ? colors : 256) : 256;
        lorvex::ScopedGlobal block(GlobalAlloc(GMEM_ZEROINIT, 8 + 4 * entries));
        lorvex::ScopedGlobalLock lock(block.get());
        if (!lock.get())
            return nullptr;
        auto* palette = static_cast<LOGPALETTE*>(lock.get());
        palette->palVersion = 0x300;
        palette->palNumEntries = static_cast<WORD>(entries);
        const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
        for (DWORD i = 0; i < entries; ++i) {
            PALETTEENTRY& entry = palette->palPalEntry[i];
            if (colors) {
                entry = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
            } else {   // 8 levels of red and green, 4 of blue
                entry = {BYTE(32 * (i % 8)), BYTE(32 * ((i / 8) % 8)), BYTE(64 * (i / 64)), 0};
            }
        }
        return CreatePalette(palette);
    });
}

HBITMAP PackedDibToDdb(HANDLE dib)
{
    return lorvex::Guarded<HBITMAP>(nullptr, [&]() -> HBITMAP {
        if (!dib)
            return nullptr;
        lorvex::ScopedGlobalLock lock(dib);
        const SIZE_T size = GlobalSize(dib);
        if (!lock.get() || size < sizeof(BITMAPINFOHEADER))
            return nullptr;
        const auto* info = static_cast<const BITMAPINFO*>(lock.get());
        const BITMAPINFOHEADER& header = info->bmiHeader;
        const SIZE_T offset = BitsOffset(header, size);
        if (!offset)
            return nullptr;
        const BYTE* bits = static_cast<const BYTE*>(lock.get()) + offset;

        lorvex::ScopedWindowDC screen(nullptr);
        ReleaseConversionPalette();
        gConversionPalette = CreateDibPalette(&header);
        HPALETTE previous = nullptr;
        if (gConversionPalette) {
            previous = SelectPalette(screen.get(), gConversionPalette, FALSE);
            RealizePalette(screen.get());
        }
        const int rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
        HBITMAP bitmap = nullptr;
        if (header.biBitCount == 1) {
            bitmap = CreateBitmap(header.biWidth, rows, 1, 1, bits);
            if (bitmap && !SetDIBits(screen.get(), bitmap, 0, rows, bits, info, DIB_RGB_COLORS)) {
                DeleteObject(bitmap);
                bitmap = nullptr;
            }
        } else {
            bitmap = CreateDIBitmap(screen.get(), &header, CBM_INIT, bits, info, DIB_RGB_COLORS);
        }
        if (previous)
            SelectPalette(screen.get(), previous, FALSE);
        return bitmap;
    });
}

int CTwain::GetImageInfo(TW_IMAGEINFO& info)
{
    if (!m_bSourceEnabled)
        return 0;
    return CallTwainProc(&m_AppId, &m_Source, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
}

void CTwain::TransferImage()
{
    bool more = true;
    while (more && m_bSourceEnabled) {
        TW_IMAGEINFO info = {};
        if (!GetImageInfo(info)) {
            // Back to state 5, rather than leaving the source waiting in 6.
            CancelTransfer();
            break;
        }
        switch (ShouldTransfer(info)) {
        case 0:
            more = GetImage(info);
            break;
        case 1:
            more = EndTransfer();
            break;
        default:   // 2, and any answer that is not a known one
            CancelTransfer();
            more = false;
            break;
        }
    }
}

int CTwain::GetImage(TW_IMAGEINFO& info)
{
    HANDLE handle = nullptr;
    CallTwainProc(&m_AppId, &m_Source, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    if (m_returnCode == TWRC_FAILURE) {
        CancelTransfer();
        return 0;
    }
    {
        lorvex::ScopedGlobal image(handle);   // ours once handed over
        if (m_returnCode == TWRC_XFERDONE && image)
            CopyImage(image.get(), info);
    }
    return EndTransfer();
}

int CTwain::EndTransfer()
{
    TW_PENDINGXFERS pending = {};
    if (!CallTwainProc(&m_AppId, &m_Source, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending))
        return 0;
    return pending.Count != 0;
}

void CTwain::CancelTransfer()
{
    TW_PENDINGXFERS pending = {};
    CallTwainProc(&m_AppId, &m_Source, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
}

void CTwain::CopyImage(HANDLE dib, TW_IMAGEINFO&)
{
    lorvex::Guarded([&] {
        PARAMS* params = m_pParams;
        HostPictureRecord* record = params && IsWindow(params->document)
            ? reinterpret_cast<HostPictureRecord*>(GetWindowLongPtrW(params->document, GWLP_USERDATA))
            : nullptr;
        if (!record)
            return;
        struct PaletteRelease {
            ~PaletteRelease() { ReleaseConversionPalette(); }
        } releasePalette;
        lorvex::ScopedBitmap bitmap(PackedDibToDdb(dib));
        if (!bitmap)
            return;   // nothing to show: the host keeps its picture
        lorvex::ScopedMemDC dc;
        HPALETTE previous = nullptr;
        if (gConversionPalette) {
            previous = SelectPalette(dc.get(), gConversionPalette, FALSE);
            RealizePalette(dc.get());
        }
        BITMAP description = {};
        GetObjectW(bitmap.get(), sizeof(description), &description);
        Magick::Image image;
        const bool read = ReadPixels(dc.get(), bitmap.get(), description.bmWidth, description.bmHeight, image);
        if (previous)
            SelectPalette(dc.get(), previous, FALSE);
        if (read)
            HandToHost(image, *record, *params);
    });
}
