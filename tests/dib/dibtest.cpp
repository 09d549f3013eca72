#include "dibtest.h"

#include <winternl.h>
#include <ntgdi.h>

#include <cstring>

namespace dibtest {
namespace {

int CountGdiObjects()
{
    int count = 0;
    auto* table = static_cast<const GDI_SHARED_MEMORY*>(NtCurrentTeb()->Peb->GdiSharedHandleTable);
    for (size_t i = 0; table && i < sizeof table->Handles / sizeof *table->Handles; ++i)
        count += table->Handles[i].Type != 0;
    return count;
}

}  // namespace

// The first GetDC of the screen makes a DC that user32 keeps cached; make it
// before counting so that it is not taken for a leak.
LeakCheck::LeakCheck(const char* what)
    : m_what(what), m_dibs(LorvexDibLiveCount()), m_gdi((ReleaseDC(nullptr, GetDC(nullptr)), CountGdiObjects()))
{
}

LeakCheck::~LeakCheck()
{
    EXPECT_EQ(m_dibs, LorvexDibLiveCount()) << m_what << ": DIB records leaked";
    EXPECT_EQ(m_gdi, CountGdiObjects()) << m_what << ": GDI objects leaked";
}

void Put16(Bytes& bytes, size_t offset, WORD value) { memcpy(&bytes[offset], &value, sizeof value); }
void Put32(Bytes& bytes, size_t offset, DWORD value) { memcpy(&bytes[offset], &value, sizeof value); }

Bytes MakePackedDib(const BmpRecipe& recipe, size_t* infoBytes)
{
    const bool core = recipe.headerSize == sizeof(BITMAPCOREHEADER);
    Bytes out(recipe.headerSize, 0);
    if (core) {
        Put32(out, 0, 12);
        Put32(out, 4, WORD(recipe.width) | DWORD(WORD(recipe.height)) << 16);
        Put32(out, 8, 1 | DWORD(recipe.bitCount) << 16);
    } else if (recipe.headerSize >= 16) {   // the short OS/2 form ends after the bit count
        Put32(out, 0, recipe.headerSize);
        Put32(out, 4, DWORD(recipe.width));
        Put32(out, 8, DWORD(recipe.height));
        Put32(out, 12, 1 | DWORD(recipe.bitCount) << 16);
        if (recipe.headerSize >= 40) {
            Put32(out, 16, recipe.compression);
            Put32(out, 20, DWORD(recipe.bits.size()));
            Put32(out, 32, recipe.clrUsed);
        }
    }
    for (size_t i = 0; i < recipe.masks.size() && recipe.headerSize >= 40; ++i) {
        if (recipe.headerSize == 40)
            out.resize(out.size() + 4);
        Put32(out, recipe.headerSize == 40 ? out.size() - 4 : 40 + 4 * i, recipe.masks[i]);
    }
    for (const RGBQUAD& color : recipe.colors) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&color);
        out.insert(out.end(), bytes, bytes + (core ? 3 : 4));
    }
    if (infoBytes)
        *infoBytes = out.size();
    if (!recipe.bits.empty()) {
        out.insert(out.end(), recipe.bits.begin(), recipe.bits.end());
        return out;
    }
    const int64_t rows = recipe.height < 0 ? -int64_t(recipe.height) : recipe.height;
    const int64_t bits = (int64_t(recipe.width) * recipe.bitCount + 31) / 32 * 4 * rows;
    for (int64_t i = 0; bits < (64 << 20) && i < bits; ++i)
        out.push_back(BYTE(i * 13 + i / 251));
    return out;
}

Bytes MakeBmpFile(const BmpRecipe& recipe)
{
    size_t infoBytes = 0;
    Bytes packed = MakePackedDib(recipe, &infoBytes);
    Bytes file(14, 0);
    Put16(file, 0, 0x4D42);
    Put32(file, 2, DWORD(14 + packed.size()));
    Put32(file, 10, DWORD(14 + infoBytes));
    file.insert(file.end(), packed.begin(), packed.end());
    return file;
}

HDIB DibFromRecipe(const BmpRecipe& recipe)
{
    return DibCreateFromInfo(AsInfo(MakePackedDib(recipe)));
}

bool SameColor(const RGBQUAD& expected, const RGBQUAD& actual, bool reserved)
{
    return !memcmp(&expected, &actual, reserved ? 4 : 3);
}

Bytes PixelBytes(HDIB dib)
{
    const BYTE* bits = static_cast<const BYTE*>(DibBitsPtr(dib));
    return Bytes(bits, bits + DibBitsSize(dib));
}

::testing::AssertionResult SameDib(HDIB expected, HDIB actual)
{
    if (!DibIsValid(expected) || !DibIsValid(actual))
        return ::testing::AssertionFailure() << "not both valid";
    if (memcmp(DibInfoHeaderPtr(expected), DibInfoHeaderPtr(actual), sizeof(BITMAPINFOHEADER)) ||
        memcmp(DibMaskPtr(expected), DibMaskPtr(actual), 12) || PixelBytes(expected) != PixelBytes(actual))
        return ::testing::AssertionFailure() << "header, masks or bits differ";
    return SamePalette(expected, actual);
}

::testing::AssertionResult SamePalette(HDIB expected, HDIB actual)
{
    if (DibNumColors(expected) != DibNumColors(actual))
        return ::testing::AssertionFailure() << "colour counts differ";
    for (DWORD i = 0; i < DibNumColors(expected); ++i) {
        RGBQUAD a = {}, b = {};
        if (DibGetColor(expected, int(i), &a), DibGetColor(actual, int(i), &b), !SameColor(a, b))
            return ::testing::AssertionFailure() << "colour " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SamePicture(HDIB expected, HDIB actual)
{
    const int width = DibWidth(expected), height = DibHeight(expected);
    if (!width || width != DibWidth(actual) || height != DibHeight(actual))
        return ::testing::AssertionFailure() << "sizes differ";
    // Colour tables read once: a palette read per pixel goes through GDI.
    auto colorAt = [](HDIB dib, const std::vector<RGBQUAD>& table, int x, int y) {
        RGBQUAD color = {};
        if (DibBitCount(dib) > 8)
            DibGetPixelColor(dib, x, y, &color);
        else if (DibGetPixel(dib, x, y) < table.size())
            color = table[DibGetPixel(dib, x, y)];
        return color;
    };
    std::vector<RGBQUAD> tables[2];
    for (int i = 0; i < 2; ++i) {
        tables[i].resize(DibNumColors(i ? actual : expected));
        for (size_t n = 0; n < tables[i].size(); ++n)
            DibGetColor(i ? actual : expected, int(n), &tables[i][n]);
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!SameColor(colorAt(expected, tables[0], x, y), colorAt(actual, tables[1], x, y), false))
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
    return ::testing::AssertionSuccess();
}

GuardedRegion::GuardedRegion(size_t size) : m_size((size + 4095) / 4096 * 4096)
{
    m_base = static_cast<BYTE*>(VirtualAlloc(nullptr, m_size + 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(m_base + m_size, 4096, PAGE_NOACCESS, &old);
}

GuardedRegion::~GuardedRegion() { VirtualFree(m_base, 0, MEM_RELEASE); }

const BITMAPINFO* GuardedRegion::Place(const BYTE* data, size_t size)
{
    size = size < m_size ? size : m_size;
    BYTE* at = m_base + m_size - size;
    memcpy(at, data, size);
    return reinterpret_cast<const BITMAPINFO*>(at);
}

bool CheckLoad(const WString& path, const char* label)
{
    DibHolder dib(DibFileLoad(path.c_str()));
    if (!dib)
        return false;
    EXPECT_EQ(1, DibIsValid(dib.get())) << label;
    EXPECT_EQ(DibBitsSize(dib.get()), DWORD(DibRowLength(dib.get())) * DWORD(DibHeight(dib.get()))) << label;
    // Every pixel of a small picture; of a large one (a short coded file may
    // declare one) about 4096 spread over it, the last included.
    RGBQUAD color;
    const int64_t width = DibWidth(dib.get()), pixels = width * DibHeight(dib.get());
    for (int64_t i = 0; i < pixels; i += pixels / 4096 + 1)
        DibGetPixelColor(dib.get(), int(i % width), int(i / width), &color);
    DibGetPixelColor(dib.get(), int(width - 1), DibHeight(dib.get()) - 1, &color);
    EXPECT_EQ(1, DibDelete(dib.release())) << label;
    return true;
}

WString CorpusFile(const char* folder, const char* name)
{
    // CTest hands over a Linux path; drive Z: is the Linux root.
    WString dir = lvtest::TestDataDir();
    if (!dir.empty() && dir[0] == L'/')
        dir = L"Z:" + dir;
    for (WCHAR& c : dir)
        c = c == L'/' ? L'\\' : c;
    return dir + L"\\bmpsuite\\" + lvtest::Wide(folder) + L"\\" + lvtest::Wide(name);
}

HDIB MakePatternDib(int width, int height, int depth, bool topDown, int colors)
{
    DibHolder bottomUp(DibCreate(width, height, depth, colors));
    HDIB dib = topDown ? DibCopy(bottomUp.get(), width, -height) : bottomUp.release();
    BYTE* bits = static_cast<BYTE*>(DibBitsPtr(dib));
    for (DWORD i = 0; i < DibBitsSize(dib); ++i)
        bits[i] = BYTE(i * 7 + i / 13);
    for (DWORD i = 0; i < DibNumColors(dib); ++i) {
        const RGBQUAD color = {BYTE(i), BYTE(255 - i), BYTE(i * 3), 0};
        DibSetColor(dib, int(i), &color);
    }
    return dib;
}

std::vector<HDIB> EveryFormat(int width, int height)
{
    std::vector<HDIB> dibs = {DibFromRecipe({40, 16, width, height, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}})};
    for (bool topDown : {false, true})
        for (int depth : {1, 4, 8, 16, 24, 32})
            dibs.push_back(MakePatternDib(width, height, depth, topDown, depth == 4 ? 9 : 0));
    return dibs;
}

}  // namespace dibtest
