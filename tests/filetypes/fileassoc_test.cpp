// The file-association table as a host sees it: found by name through
// GetProcAddress and read at the offsets of the 64-bit record.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <cstring>

namespace {

// Loads the library the way a host does (a reference that only touches data
// would not make the loader load it) and looks the table up by name.
const BYTE* ExportedTable()
{
    static HMODULE module = LoadLibraryW(L"lorvexops.dll");
    return module ? reinterpret_cast<const BYTE*>(GetProcAddress(module, "gFA")) : nullptr;
}

int32_t Int32At(const BYTE* p) { int32_t v; std::memcpy(&v, p, 4); return v; }
const WCHAR* WideAt(const BYTE* p) { return reinterpret_cast<const WCHAR*>(p); }

bool ZeroFilledAfterText(const BYTE* field, int chars)
{
    const WCHAR* text = WideAt(field);
    int length = lstrlenW(text);
    if (length >= chars)
        return false;
    for (int i = length; i < chars; ++i)
        if (text[i] != 0)
            return false;
    return true;
}

}  // namespace

TEST(FileAssociations, FourteenRowsWithTheirInitialValues)
{
    struct Row { const WCHAR* ext; int id; const WCHAR* progId; };
    static const Row rows[] = {
        {L".bmp", 1028, L"Lorvex_BMP"}, {L".jpg", 1026, L"Lorvex_JPG"}, {L".jpeg", 1036, L"Lorvex_JPEG"},
        {L".png", 1027, L"Lorvex_PNG"}, {L".pgm", 1029, L"Lorvex_PGM"}, {L".pnm", 1030, L"Lorvex_PNM"},
        {L".ppm", 1031, L"Lorvex_PPM"}, {L".tif", 1032, L"Lorvex_TIF"}, {L".jp2", 1033, L"Lorvex_JP2"},
        {L".gif", 1034, L"Lorvex_GIF"}, {L".hdf", 1035, L"Lorvex_HDF"}, {L".dcm", 1038, L"Lorvex_DCM"},
        {L".psd", 1113, L"Lorvex_PSD"}, {L".j2c", 1114, L"Lorvex_J2C"},
    };
    static_assert(ARRAYSIZE(rows) == LORVEX_FA_ROWS, "row count");
    const BYTE* base = ExportedTable();
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(static_cast<const void*>(base), static_cast<void*>(gFA)) << "header and export differ";
    // 64-bit layout: pointer, id, four flag bytes, pointer, 100 characters.
    const size_t p = sizeof(void*);
    const size_t stride = 2 * p + 8 + 200;
    ASSERT_EQ(sizeof(FILEASSOCIATIONS), stride);
    for (int i = 0; i < LORVEX_FA_ROWS; ++i) {
        const BYTE* row = base + stride * i;
        SCOPED_TRACE(testing::Message() << "gFA row " << i << " " << lvtest::Utf8(rows[i].ext));
        const WCHAR* ext = nullptr;
        const WCHAR* progId = nullptr;
        std::memcpy(&ext, row, p);
        std::memcpy(&progId, row + p + 8, p);
        ASSERT_NE(ext, nullptr);
        ASSERT_NE(progId, nullptr);
        EXPECT_WEQ(rows[i].ext, ext);
        EXPECT_EQ(Int32At(row + p), rows[i].id);
        const BYTE flags[4] = {1, 1, 0, 0};
        EXPECT_EQ(std::memcmp(row + p + 4, flags, 4), 0);
        EXPECT_WEQ(rows[i].progId, progId);
        EXPECT_WEQ(L"LorvexUndo", WideAt(row + 2 * p + 8));
        EXPECT_TRUE(ZeroFilledAfterText(row + 2 * p + 8, 100));
    }
}
