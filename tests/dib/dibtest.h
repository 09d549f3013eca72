// Helpers shared by the bitmap-core tests: leak counting and BMP builders.
#pragma once
#include <lorvexops/dib.h>
#include "testsupport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dibtest {

using Bytes = std::vector<BYTE>;
using lvtest::TempDir;
using lvtest::WString;

// Fails the current test when DIB records or GDI objects made while it
// lived were not released (GDI objects counted in the platform's own handle
// table: GetGuiResources is not usable here).
class LeakCheck {
public:
    explicit LeakCheck(const char* what);
    ~LeakCheck();
    LeakCheck(const LeakCheck&) = delete;
    LeakCheck& operator=(const LeakCheck&) = delete;
private:
    std::string m_what;
    LONG m_dibs;
    int m_gdi;
};

struct DibDeleter { void operator()(HDIB dib) const { DibDelete(dib); } };
using DibHolder = std::unique_ptr<void, DibDeleter>;

struct BmpRecipe {
    DWORD headerSize = 40;
    WORD bitCount = 24;
    int32_t width = 4, height = 3;
    DWORD compression = BI_RGB;
    std::vector<DWORD> masks;        // after a 40-byte header, or inside larger ones
    std::vector<RGBQUAD> colors;     // the colour table as written
    DWORD clrUsed = 0;
    Bytes bits;                      // the pixel data as written (and its size in biSizeImage)
};

// A packed DIB (info block then bits) and a whole BMP file for recipe.
Bytes MakePackedDib(const BmpRecipe& recipe, size_t* infoBytes = nullptr);
Bytes MakeBmpFile(const BmpRecipe& recipe);
HDIB DibFromRecipe(const BmpRecipe& recipe);
inline const BITMAPINFO* AsInfo(const Bytes& bytes) { return reinterpret_cast<const BITMAPINFO*>(bytes.data()); }
void Put16(Bytes& bytes, size_t offset, WORD value);
void Put32(Bytes& bytes, size_t offset, DWORD value);

::testing::AssertionResult SameDib(HDIB expected, HDIB actual);   // header, masks, bits, colours
::testing::AssertionResult SamePalette(HDIB expected, HDIB actual);
::testing::AssertionResult SamePicture(HDIB expected, HDIB actual);   // size and every pixel's colour
bool SameColor(const RGBQUAD& expected, const RGBQUAD& actual, bool reserved = true);
Bytes PixelBytes(HDIB dib);

// A region whose last readable byte is followed by a no-access page, so any
// read past a block placed at its end faults.
class GuardedRegion {
public:
    explicit GuardedRegion(size_t size);
    ~GuardedRegion();
    GuardedRegion(const GuardedRegion&) = delete;
    GuardedRegion& operator=(const GuardedRegion&) = delete;
    const BITMAPINFO* Place(const BYTE* data, size_t size);   // ends right before the guard
private:
    size_t m_size;
    BYTE* m_base;
};

// Loads a file and, when it gives a DIB, checks that the record holds
// together and reads every pixel; true when it loaded.
bool CheckLoad(const WString& path, const char* label);
WString CorpusFile(const char* folder, const char* name);   // folder g, b or ref
// A DIB filled with a deterministic pattern (colour table included).
HDIB MakePatternDib(int width, int height, int depth, bool topDown = false, int colors = 0);
// Every depth in both row orders (pattern DIBs, a short colour table at 4
// bits) and a 5-6-5 bit-field DIB.
std::vector<HDIB> EveryFormat(int width, int height);

}  // namespace dibtest
