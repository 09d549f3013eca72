// MyDImage: an image owning one DIB, with colour replacement, crop and
// top-to-bottom mirroring. Bulk work goes row by row through the row table.
#include "win/guard.h"
#include <lorvexops/dib.h>
#include "dib/dibrecord.h"

#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

using lorvex::DibFromHandle;
using lorvex::DibRecord;

namespace {

// Copies count pixels of a 1- or 4-bit row starting at column fromX into a
// row starting at column 0, each bit or nibble at its own position.
void CopySubBytePixels(const BYTE* from, int fromX, BYTE* to, int count, int depth)
{
    if (depth == 1) {
        for (int x = 0; x < count; ++x) {
            int sx = fromX + x;
            int bit = (from[sx / 8] >> (7 - sx % 8)) & 1;
            BYTE& target = to[x / 8];
            target = BYTE((target & ~(1u << (7 - x % 8))) | (bit << (7 - x % 8)));
        }
        return;
    }
    for (int x = 0; x < count; ++x) {
        int sx = fromX + x;
        int nibble = sx % 2 ? from[sx / 2] & 0xF : from[sx / 2] >> 4;
        BYTE& target = to[x / 2];
        target = x % 2 ? BYTE((target & 0xF0) | nibble) : BYTE((target & 0x0F) | (nibble << 4));
    }
}

// Replaces every 3-byte pixel equal to from by to. Sixteen pixels (48 bytes)
// are compared at a time: a pixel matches when all three of its byte
// comparisons do, and most blocks hold no match at all.
void ReplaceInRow(BYTE* row, int width, const BYTE from[3], const BYTE to[3])
{
    int x = 0;
#ifdef __SSE2__
    alignas(16) BYTE pattern[48];
    for (int i = 0; i < 48; ++i)
        pattern[i] = from[i % 3];
    const __m128i p0 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern));
    const __m128i p1 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern + 16));
    const __m128i p2 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern + 32));
    constexpr uint64_t kFirstBytes = 0x249249249249ull;   // bit 3i for pixel i
    for (; x + 16 <= width; x += 16) {
        BYTE* block = row + 3 * x;
        const uint64_t equal =
            uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<__m128i*>(block)), p0)))) |
            uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<__m128i*>(block + 16)), p1)))) << 16 |
            uint64_t(uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<__m128i*>(block + 32)), p2)))) << 32;
        uint64_t matches = equal & (equal >> 1) & (equal >> 2) & kFirstBytes;
        while (matches) {
            const int bit = __builtin_ctzll(matches);
            memcpy(block + bit, to, 3);
            matches &= matches - 1;
        }
    }
#endif
    for (BYTE* p = row + 3 * x, *end = row + 3 * width; p != end; p += 3) {
        if (p[0] == from[0] && p[1] == from[1] && p[2] == from[2]) {
            p[0] = to[0];
            p[1] = to[1];
            p[2] = to[2];
        }
    }
}

}  // namespace

MyDImage::MyDImage() : m_dib(nullptr), m_ddb(nullptr) {}

MyDImage::MyDImage(HDIB dib) : m_dib(nullptr), m_ddb(nullptr)
{
    lorvex::Guarded([&] {
        if (DibIsValid(dib))
            m_dib = DibCopy(dib, 0);
    });
}

MyDImage::MyDImage(int width, int height, int bitsPerPixel, int colors)
    : m_dib(DibCreate(width, height, bitsPerPixel, colors)), m_ddb(nullptr)
{
}

MyDImage::MyDImage(const MyDImage& other) : m_dib(nullptr), m_ddb(nullptr)
{
    lorvex::Guarded([&] {
        if (DibIsValid(other.m_dib))
            m_dib = DibCopy(other.m_dib, 0);
        if (other.m_ddb)
            m_ddb = CopyBitmap(other.m_ddb);
    });
}

MyDImage::~MyDImage()
{
    DeleteMyDImage();
}

void MyDImage::DeleteMyDImage()
{
    if (DibIsValid(m_dib))
        DibDelete(m_dib);
    m_dib = nullptr;
    DropDeviceBitmap();
}

void MyDImage::DropDeviceBitmap()
{
    if (m_ddb)
        DeleteObject(m_ddb);
    m_ddb = nullptr;
}

MyDImage& MyDImage::tChangeColor(DWORD from, DWORD to)
{
    DibRecord* r = DibFromHandle(m_dib);
    if (r && r->section.dsBm.bmBitsPixel == 24 && r->section.dsBm.bmWidth >= 1) {
        const BYTE fromPixel[3] = {GetBValue(from), GetGValue(from), GetRValue(from)};
        const BYTE toPixel[3] = {GetBValue(to), GetGValue(to), GetRValue(to)};
        for (int y = 0; y < r->section.dsBm.bmHeight; ++y)
            ReplaceInRow(r->rows[y], r->section.dsBm.bmWidth, fromPixel, toPixel);
    }
    DropDeviceBitmap();
    return *this;
}

HDIB MyDImage::Crop(const POINT* topLeft, const POINT* bottomRight)
{
    return lorvex::Guarded<HDIB>(nullptr, [&]() -> HDIB {
        if (!topLeft || !bottomRight)
            return nullptr;
        const int64_t width = int64_t(bottomRight->x) - topLeft->x;
        const int64_t height = int64_t(bottomRight->y) - topLeft->y;
        if (width < 0 || height < 0)
            return m_dib;
        DibRecord* r = DibFromHandle(m_dib);
        if (!r || width == 0 || height == 0)
            return nullptr;
        // No clipping: a rectangle reaching outside the picture is refused.
        if (topLeft->x < 0 || topLeft->y < 0 || bottomRight->x > r->section.dsBm.bmWidth ||
            bottomRight->y > r->section.dsBm.bmHeight)
            return nullptr;
        const DWORD compression = r->section.dsBmih.biCompression;
        if (compression != BI_RGB && compression != BI_BITFIELDS)
            return nullptr;
        HDIB crop = DibCopy(m_dib, int(width), int(height));
        DibRecord* c = DibFromHandle(crop);
        if (!c)
            return nullptr;
        const int depth = r->section.dsBm.bmBitsPixel;
        for (int y = 0; y < int(height); ++y) {
            const BYTE* from = r->rows[topLeft->y + y];
            BYTE* to = c->rows[y];
            if (depth >= 8)
                memcpy(to, from + size_t(topLeft->x) * (depth / 8), size_t(width) * (depth / 8));
            else
                CopySubBytePixels(from, topLeft->x, to, int(width), depth);
        }
        return crop;
    });
}

HDIB MyDImage::GetDib() const
{
    return m_dib;
}

MyDImage& MyDImage::tFlipH()
{
    lorvex::Guarded([&] {
        DibRecord* r = DibFromHandle(m_dib);
        if (!r)
            return;
        const DWORD compression = r->section.dsBmih.biCompression;
        if (compression != BI_RGB && compression != BI_BITFIELDS)
            return;
        BITMAPINFO* info = DibCloneInfo(m_dib);
        if (!info)
            return;
        HDIB flipped = DibCreateFromInfo(info);
        HeapFree(GetProcessHeap(), 0, info);
        DibRecord* f = DibFromHandle(flipped);
        if (!f)
            return;
        // Each new row takes its pixels from the mirrored old row and keeps
        // the padding of the old row at its own place, the bits a full copy
        // followed by pixel-wise mirroring gives, in one pass.
        const int rows = r->section.dsBm.bmHeight;
        const int rowLength = DibRowLength(m_dib);
        const int64_t pixelBits = int64_t(r->section.dsBm.bmWidth) * r->section.dsBm.bmBitsPixel;
        const size_t fullBytes = size_t(pixelBits / 8);
        const int restBits = int(pixelBits % 8);
        const BYTE restMask = BYTE(0xFF00 >> restBits);
        for (int y = 0; y < rows; ++y) {
            BYTE* to = f->rows[y];
            const BYTE* mirrored = r->rows[rows - 1 - y];
            const BYTE* same = r->rows[y];
            memcpy(to, mirrored, fullBytes);
            size_t padding = fullBytes;
            if (restBits) {
                to[fullBytes] = BYTE((mirrored[fullBytes] & restMask) | (same[fullBytes] & ~restMask));
                ++padding;
            }
            memcpy(to + padding, same + padding, size_t(rowLength) - padding);
        }
        DibDelete(m_dib);
        m_dib = flipped;
        DropDeviceBitmap();
    });
    return *this;
}

int MyDImage::GetWidth() const
{
    return DibWidth(m_dib);
}

int MyDImage::GetHeight() const
{
    return DibHeight(m_dib);
}

int MyDImage::GetDepth() const
{
    return DibBitCount(m_dib);
}

MyDImage& MyDImage::tSetDib(HDIB dib)
{
    m_dib = dib;
    return *this;
}
