// CImageDrawer: a Magick++ picture drawn at scale 1. The visible part is
// exported once as 32-bit rows and put on the DC in one blit; nothing is done
// per pixel through GDI or Magick++.
#include <lorvexops/imagedrawer.h>

#include <Magick++.h>

#include <algorithm>
#include <cstdint>

#include "win/guard.h"

namespace {

// Light squares fixed to picture coordinates, so that scrolled content and
// newly exposed strips line up.
constexpr unsigned kCheckerShift = 3;   // squares of 8 pixels
constexpr uint32_t kCheckerLight = 0xFFFFFF;
constexpr uint32_t kCheckerDark = 0xD0D0D0;

// Blends each BGRA pixel over the checkerboard; (left, top) is the picture
// point of the first pixel (never negative: only the picture is exported).
void OverCheckerboard(uint32_t* pixels, int width, int height, unsigned left, unsigned top)
{
    for (int row = 0; row < height; ++row) {
        uint32_t* line = pixels + size_t(row) * width;
        const unsigned squareRow = (top + row) >> kCheckerShift;
        for (int column = 0; column < width; ++column) {
            const uint32_t pixel = line[column];
            const uint32_t alpha = pixel >> 24;
            if (alpha == 255)
                continue;
            const uint32_t under = (((left + column) >> kCheckerShift) + squareRow) & 1 ? kCheckerDark : kCheckerLight;
            if (alpha == 0) {
                line[column] = under;
                continue;
            }
            uint32_t blended = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t over = (pixel >> shift) & 0xFF;
                const uint32_t back = (under >> shift) & 0xFF;
                blended |= ((over * alpha + back * (255 - alpha) + 127) / 255) << shift;
            }
            line[column] = blended;
        }
    }
}

// The part of the picture as BGRA words, read straight from the pixel cache
// (the generic export goes through a format string per pixel and is several
// times slower: panning repaints depend on this loop).
bool ExportPart(const Magick::Image& image, int left, int top, int width, int height, uint32_t* out)
{
    const Magick::PixelPacket* pixels = image.getConstPixels(left, top, size_t(width), size_t(height));
    if (!pixels)
        return false;
    const bool matte = image.matte();
    const size_t count = size_t(width) * size_t(height);
    for (size_t i = 0; i < count; ++i) {
        const Magick::PixelPacket& p = pixels[i];
        const uint32_t alpha = matte ? 255u - MagickCore::ScaleQuantumToChar(p.opacity) : 255u;
        out[i] = uint32_t(MagickCore::ScaleQuantumToChar(p.blue)) |
                 uint32_t(MagickCore::ScaleQuantumToChar(p.green)) << 8 |
                 uint32_t(MagickCore::ScaleQuantumToChar(p.red)) << 16 | alpha << 24;
    }
    return true;
}

void FillBackground(HDC dc, int left, int top, int right, int bottom)
{
    if (left >= right || top >= bottom)
        return;
    RECT band = {left, top, right, bottom};
    FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace

CImageDrawer::CImageDrawer() = default;

CImageDrawer::~CImageDrawer() = default;

int CImageDrawer::DisplayDib(const IMAGEDATA*, HDC dc, int x, int y, int width, int height, Magick::Image* image)
{
    return lorvex::Guarded(0, [&] {
        if (!dc || width <= 0 || height <= 0)
            return 0;
        RECT area = {0, 0, width, height};
        RECT clip;
        const int clipKind = GetClipBox(dc, &clip);
        if (clipKind == NULLREGION)
            return 1;
        if (clipKind != ERROR && !IntersectRect(&area, &area, &clip))
            return 1;

        // The picture in frame coordinates, in 64 bits: the view is not
        // clamped and may lie far outside it.
        RECT covered = {0, 0, 0, 0};
        if (image && image->isValid()) {
            const int64_t left = -int64_t(x), top = -int64_t(y);
            const int64_t right = left + int64_t(image->columns()), bottom = top + int64_t(image->rows());
            covered.left = LONG(std::max<int64_t>(left, area.left));
            covered.top = LONG(std::max<int64_t>(top, area.top));
            covered.right = LONG(std::min<int64_t>(right, area.right));
            covered.bottom = LONG(std::min<int64_t>(bottom, area.bottom));
            if (covered.left >= covered.right || covered.top >= covered.bottom)
                covered = RECT{0, 0, 0, 0};
        }
        const int partWidth = covered.right - covered.left;
        const int partHeight = covered.bottom - covered.top;
        if (partWidth <= 0 || partHeight <= 0) {
            FillBackground(dc, area.left, area.top, area.right, area.bottom);
            return 1;
        }

        const int pictureLeft = covered.left + x, pictureTop = covered.top + y;
        m_pixels.resize(size_t(partWidth) * size_t(partHeight) * 4);
        if (!ExportPart(*image, pictureLeft, pictureTop, partWidth, partHeight,
                        reinterpret_cast<uint32_t*>(m_pixels.data())))
            return 0;
        if (image->matte())
            OverCheckerboard(reinterpret_cast<uint32_t*>(m_pixels.data()), partWidth, partHeight, pictureLeft,
                             pictureTop);

        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = partWidth;
        info.bmiHeader.biHeight = -partHeight;   // top-down, as exported
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const int drawn = SetDIBitsToDevice(dc, covered.left, covered.top, partWidth, partHeight, 0, 0, 0,
                                            partHeight, m_pixels.data(), &info, DIB_RGB_COLORS);

        // Around the picture: the bands above and below, then left and right.
        FillBackground(dc, area.left, area.top, area.right, covered.top);
        FillBackground(dc, area.left, covered.bottom, area.right, area.bottom);
        FillBackground(dc, area.left, covered.top, covered.left, covered.bottom);
        FillBackground(dc, covered.right, covered.top, area.right, covered.bottom);
        return drawn == partHeight ? 1 : 0;
    });
}
