// Bad BMP files and packed DIBs: truncations, extreme header fields and a
// seeded mutation run. Each gives null or a valid DIB, and nothing leaks.
#include "dibtest.h"

#include <cstring>
#include <random>

using namespace dibtest;

namespace {

// Offsets in a BMP file.
enum : size_t {
    kSignature = 0, kFileSize = 2, kOffBits = 10, kHeaderSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26,
    kBitCount = 28, kCompression = 30, kSizeImage = 34, kClrUsed = 46,
};

// Rewrites one file in place: much cheaper under Wine than recreating it
// (CREATE_ALWAYS), which matters over thousands of cases.
bool Rewrite(const WString& path, const void* data, size_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE && (!size || WriteFile(file, data, DWORD(size), &written, nullptr)) &&
                    written == size && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

// One small valid file per header kind, depth family and coding. The coded
// ones use every kind of RLE step: runs, literals, a move, line and picture
// ends, a run past the edge.
std::vector<Bytes> BaseFiles()
{
    const std::vector<RGBQUAD> four = {{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}};
    const Bytes rle8 = {3, 1, 0, 3, 2, 3, 1, 0, 1, 2, 0, 0, 0, 2, 2, 1, 4, 3, 0, 0, 9, 1, 0, 0, 2, 2, 0, 1};
    const Bytes rle4 = {7, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 2, 1, 1, 3, 0x45, 0, 0, 9, 0x11, 0, 0, 2, 0xAB, 0, 1};
    const BmpRecipe recipes[] = {
        {40, 8, 7, 5, BI_RGB, {}, four, 4}, {12, 1, 7, 5, BI_RGB, {}, {four[0], four[1]}},
        {124, 4, 7, -5, BI_RGB, {}, std::vector<RGBQUAD>(16, four[1])},
        {40, 16, 5, 4, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
        {108, 32, 5, 4, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF, 0}}, {40, 24, 5, -4},
        {40, 8, 7, 5, BI_RLE8, {}, four, 4, rle8}, {64, 4, 7, 5, BI_RLE4, {}, four, 4, rle4},
    };
    std::vector<Bytes> files;
    for (const BmpRecipe& recipe : recipes)
        files.push_back(MakeBmpFile(recipe));
    return files;
}

}  // namespace

TEST(DibBadInput, EveryTruncationIsRefused)
{
    TempDir dir;
    LeakCheck leaks("truncations");
    WString path = dir.File(L"cut.bmp");
    int index = 0;
    for (const Bytes& file : BaseFiles()) {
        for (size_t length = 0; length < file.size(); ++length) {
            Rewrite(path, file.data(), length);
            EXPECT_EQ(nullptr, DibFileLoad(path.c_str())) << "base " << index << " cut at " << length;
        }
        Rewrite(path, file.data(), file.size());
        EXPECT_TRUE(CheckLoad(path, "whole file")) << "base " << index;
        ++index;
    }
    EXPECT_EQ(nullptr, DibFileLoad(dir.File(L"missing.bmp").c_str()));
    EXPECT_EQ(nullptr, DibFileLoad(nullptr));
}

TEST(DibBadInput, ExtremeHeaderFields)
{
    const Bytes base = MakeBmpFile({40, 8, 6, 4, BI_RGB, {}, std::vector<RGBQUAD>(256)});
    const DWORD size = DWORD(base.size());
    enum Outcome { Null, Valid, Either, FileOnly };
    struct Case { const char* name; size_t offset; int width; DWORD value; Outcome outcome; } cases[] = {
        {"signature MB", kSignature, 2, 0x424D, Null}, {"width 0", kWidth, 4, 0, Null},
        {"width -1", kWidth, 4, DWORD(-1), Null}, {"width 0x7FFFFFFF", kWidth, 4, 0x7FFFFFFF, Null},
        {"height 0", kHeight, 4, 0, Null}, {"height -1 (one top-down row)", kHeight, 4, DWORD(-1), Valid},
        {"height 0x7FFFFFFF", kHeight, 4, 0x7FFFFFFF, Null}, {"height 0x80000000", kHeight, 4, 0x80000000, Null},
        {"bit count 0", kBitCount, 2, 0, Null}, {"bit count 2", kBitCount, 2, 2, Null},
        {"bit count 3", kBitCount, 2, 3, Null}, {"bit count 64", kBitCount, 2, 64, Null},
        {"bit count 4 with 256 colours used", kBitCount, 2, 4, Either}, {"planes 0", kPlanes, 2, 0, Null},
        {"colours used 257", kClrUsed, 4, 257, FileOnly}, {"colours used 0xFFFFFFFF", kClrUsed, 4, 0xFFFFFFFF, FileOnly},
        {"bfOffBits 0", kOffBits, 4, 0, Null}, {"bfOffBits 13", kOffBits, 4, 13, Null},
        {"bfOffBits inside the header", kOffBits, 4, 30, Null},
        {"bfOffBits inside the colour table", kOffBits, 4, 54 + 100, Null},
        {"bfOffBits at the end", kOffBits, 4, size, Null}, {"bfOffBits beyond the end", kOffBits, 4, size + 1000, Null},
        {"bfSize wrong", kFileSize, 4, 3, Valid}, {"biSizeImage huge", kSizeImage, 4, 0xFFFFFFF0, Valid},
        {"RLE4 at 8 bits", kCompression, 4, BI_RLE4, Null}, {"PNG", kCompression, 4, BI_PNG, Null},
        {"bitfields at 8 bits", kCompression, 4, BI_BITFIELDS, Null}, {"header size 0", kHeaderSize, 4, 0, Null},
        {"header size 41", kHeaderSize, 4, 41, Null}, {"header size 0xFFFFFFFF", kHeaderSize, 4, 0xFFFFFFFF, Null},
    };
    TempDir dir;
    WString path = dir.File(L"extreme.bmp");
    GuardedRegion region(base.size());
    LeakCheck leaks("extreme fields");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = base;
        c.width == 2 ? Put16(file, c.offset, WORD(c.value)) : Put32(file, c.offset, c.value);
        Rewrite(path, file.data(), file.size());
        const bool loaded = CheckLoad(path, c.name);
        EXPECT_TRUE(c.outcome == Either || loaded == (c.outcome == Valid || c.outcome == FileOnly));
        HDIB packed = DibCopyFromPackedDib(region.Place(file.data() + 14, file.size() - 14));
        if (c.offset >= kHeaderSize && c.outcome != Either)
            EXPECT_EQ(c.outcome == Valid, packed != nullptr) << "packed";
        DibDelete(packed);
    }
}

TEST(DibBadInput, SeededMutations)
{
    const std::vector<Bytes> bases = BaseFiles();
    const DWORD interesting[] = {0, 1, 2, 3, 7, 8, 12, 14, 15, 16, 24, 31, 32, 40, 54, 64, 108, 124, 255, 256,
                                 257, 0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                 0xFFFFFFFE, 0x40000000};
    const size_t fields[] = {kFileSize, kOffBits, kHeaderSize, kWidth, kHeight, kPlanes, kBitCount,
                             kCompression, kSizeImage, kClrUsed, 54, 58, 62};
    std::mt19937 random(20261206);
    TempDir dir;
    WString path = dir.File(L"mutant.bmp");
    GuardedRegion region(1 << 16);
    const int runs = 20000;
    int loaded = 0, packedLoaded = 0;
    LeakCheck leaks("mutations");
    for (int run = 0; run < runs; ++run) {
        Bytes file = bases[random() % bases.size()];
        for (int edits = 1 + random() % 4; edits > 0; --edits) {
            const size_t field = fields[random() % (sizeof fields / sizeof *fields)];
            const DWORD value = interesting[random() % (sizeof interesting / sizeof *interesting)];
            switch (random() % 6) {
            case 0: file[random() % file.size()] = BYTE(random()); break;
            case 1: file[random() % file.size()] ^= BYTE(1u << (random() % 8)); break;
            case 2: if (field + 4 <= file.size()) Put32(file, field, value); break;
            case 3: if (field + 2 <= file.size()) Put16(file, field, WORD(value)); break;
            case 4: file.resize(random() % (file.size() + 1)); break;
            default: file.resize(file.size() + random() % 64, BYTE(random())); break;
            }
            if (file.empty())
                file.push_back('B');
        }
        ASSERT_TRUE(Rewrite(path, file.data(), file.size()));
        const std::string label = "mutation " + std::to_string(run);
        loaded += CheckLoad(path, label.c_str());
        if (HDIB packed = file.size() > 14 ? DibCopyFromPackedDib(region.Place(&file[14], file.size() - 14)) : nullptr)
            packedLoaded += DibDelete(packed);
        if (HasFailure())
            FAIL() << "stopped at " << label;
    }
    // Both outcomes occur: the run is neither all refusals nor all loads.
    EXPECT_GT(loaded, runs / 20);
    EXPECT_LT(loaded, runs);
    EXPECT_GT(packedLoaded, runs / 20);
}
