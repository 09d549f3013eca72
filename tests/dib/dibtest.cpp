#include "dibtest.h"

#include <winternl.h>
#include <ntgdi.h>

#include <cstring>

namespace dibtest {

GdiCounts CountGdiObjects()
{
    GdiCounts counts;
    auto* table = static_cast<const GDI_SHARED_MEMORY*>(NtCurrentTeb()->Peb->GdiSharedHandleTable);
    if (!table)
        return counts;
    for (const GDI_HANDLE_ENTRY& entry : table->Handles) {
        if (!entry.Type)
            continue;
        ++counts.total;
        if (entry.Type == (NTGDI_OBJ_BITMAP >> 16))
            ++counts.bitmaps;
        else if (entry.Type == (NTGDI_OBJ_DC >> 16))
            ++counts.dcs;
    }
    return counts;
}

namespace {

// The first GetDC of the screen makes a DC that user32 keeps cached; make it
// before counting so that it is not taken for a leak.
GdiCounts CountAfterScreenDC()
{
    ReleaseDC(nullptr, GetDC(nullptr));
    return CountGdiObjects();
}

}  // namespace

LeakCheck::LeakCheck(const char* what)
    : m_what(what), m_dibs(LorvexDibLiveCount()), m_gdi(CountAfterScreenDC())
{
}

LeakCheck::~LeakCheck()
{
    GdiCounts now = CountGdiObjects();
    EXPECT_EQ(m_dibs, LorvexDibLiveCount()) << m_what << ": DIB records leaked";
    EXPECT_EQ(m_gdi.bitmaps, now.bitmaps) << m_what << ": bitmaps leaked";
    EXPECT_EQ(m_gdi.dcs, now.dcs) << m_what << ": device contexts leaked";
    EXPECT_EQ(m_gdi.total, now.total) << m_what << ": GDI objects leaked";
}

void Put16(Bytes& bytes, size_t offset, WORD value)
{
    memcpy(&bytes[offset], &value, sizeof value);
}

void Put32(Bytes& bytes, size_t offset, DWORD value)
{
    memcpy(&bytes[offset], &value, sizeof value);
}

DWORD Get32(const Bytes& bytes, size_t offset)
{
    DWORD value;
    memcpy(&value, &bytes[offset], sizeof value);
    return value;
}

Bytes MakePackedDib(const BmpSpec& spec, size_t* infoBytes)
{
    Bytes out(spec.headerSize, 0);
    if (spec.headerSize == sizeof(BITMAPCOREHEADER)) {
        Put32(out, 0, 12);
        Put16(out, 4, WORD(spec.width));
        Put16(out, 6, WORD(spec.height));
        Put16(out, 8, spec.planes);
        Put16(out, 10, spec.bitCount);
    } else if (spec.headerSize >= 40) {
        Put32(out, 0, spec.headerSize);
        Put32(out, 4, DWORD(spec.width));
        Put32(out, 8, DWORD(spec.height));
        Put16(out, 12, spec.planes);
        Put16(out, 14, spec.bitCount);
        Put32(out, 16, spec.compression);
        Put32(out, 32, spec.clrUsed);
        for (size_t i = 0; i < spec.masks.size() && spec.headerSize > 40 && i < 4; ++i)
            Put32(out, 40 + 4 * i, spec.masks[i]);
    }
    if (spec.headerSize == 40)
        for (DWORD mask : spec.masks) {
            size_t at = out.size();
            out.resize(at + 4);
            Put32(out, at, mask);
        }
    for (const RGBQUAD& color : spec.colors) {
        if (spec.headerSize == sizeof(BITMAPCOREHEADER)) {
            out.push_back(color.rgbBlue);
            out.push_back(color.rgbGreen);
            out.push_back(color.rgbRed);
        } else {
            const BYTE* bytes = reinterpret_cast<const BYTE*>(&color);
            out.insert(out.end(), bytes, bytes + 4);
        }
    }
    out.resize(out.size() + spec.gap, 0xEE);
    if (infoBytes)
        *infoBytes = out.size();
    const int64_t rows = spec.height < 0 ? -int64_t(spec.height) : spec.height;
    const int64_t rowLength = (int64_t(spec.width) * spec.bitCount + 31) / 32 * 4;
    const int64_t bits = rowLength * rows;
    if (bits > 0 && bits < (64 << 20)) {
        uint32_t state = spec.seed;
        for (int64_t i = 0; i < bits; ++i) {
            state = state * 1103515245u + 12345u;
            out.push_back(BYTE(state >> 16));
        }
    }
    return out;
}

Bytes MakeBmpFile(const BmpSpec& spec)
{
    size_t infoBytes = 0;
    Bytes packed = MakePackedDib(spec, &infoBytes);
    Bytes file(14, 0);
    Put16(file, 0, 0x4D42);
    Put32(file, 2, DWORD(14 + packed.size()));
    Put32(file, 10, DWORD(14 + infoBytes));
    file.insert(file.end(), packed.begin(), packed.end());
    return file;
}

::testing::AssertionResult SameDib(HDIB expected, HDIB actual)
{
    if (!DibIsValid(expected) || !DibIsValid(actual))
        return ::testing::AssertionFailure() << "not both valid";
    if (memcmp(DibInfoHeaderPtr(expected), DibInfoHeaderPtr(actual), sizeof(BITMAPINFOHEADER)))
        return ::testing::AssertionFailure() << "headers differ";
    if (memcmp(DibMaskPtr(expected), DibMaskPtr(actual), 12))
        return ::testing::AssertionFailure() << "masks differ";
    if (DibNumColors(expected) != DibNumColors(actual))
        return ::testing::AssertionFailure() << "colour counts differ";
    for (DWORD i = 0; i < DibNumColors(expected); ++i) {
        RGBQUAD a = {}, b = {};
        DibGetColor(expected, int(i), &a);
        DibGetColor(actual, int(i), &b);
        if (memcmp(&a, &b, sizeof a))
            return ::testing::AssertionFailure() << "colour " << i << " differs";
    }
    if (DibBitsSize(expected) != DibBitsSize(actual) ||
        memcmp(DibBitsPtr(expected), DibBitsPtr(actual), DibBitsSize(expected)))
        return ::testing::AssertionFailure() << "bits differ";
    return ::testing::AssertionSuccess();
}

HDIB MakePatternDib(int width, int height, int depth, bool topDown, int colors)
{
    HDIB dib = DibCreate(width, height, depth, colors);
    if (!dib)
        return nullptr;
    if (topDown) {
        BITMAPINFO* info = DibCloneInfo(dib);
        DibDelete(dib);
        info->bmiHeader.biHeight = -height;
        dib = DibCreateFromInfo(info);
        HeapFree(GetProcessHeap(), 0, info);
    }
    BYTE* bits = static_cast<BYTE*>(DibBitsPtr(dib));
    for (DWORD i = 0; i < DibBitsSize(dib); ++i)
        bits[i] = BYTE(i * 7 + i / 13);
    for (DWORD i = 0; i < DibNumColors(dib); ++i) {
        RGBQUAD color = {BYTE(i), BYTE(255 - i), BYTE(i * 3), 0};
        DibSetColor(dib, int(i), &color);
    }
    return dib;
}

}  // namespace dibtest
