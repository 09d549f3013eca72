// The file-association table as a host sees it: found by name through
// GetProcAddress and read at the offsets of the 64-bit record.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <cstring>

namespace {

// Loads the library the way a host does (a reference that only touches data
// would not make the loader load it) and looks the table up by name.
BYTE* ExportedTable()
{
    static HMODULE module = LoadLibraryW(L"lorvexops.dll");
    return module ? reinterpret_cast<BYTE*>(GetProcAddress(module, "gFA")) : nullptr;
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
    struct Row { const char* ext; int id; const char* progId; };
    static const Row rows[] = {
        {".bmp", 1028, "Lorvex_BMP"}, {".jpg", 1026, "Lorvex_JPG"}, {".jpeg", 1036, "Lorvex_JPEG"},
        {".png", 1027, "Lorvex_PNG"}, {".pgm", 1029, "Lorvex_PGM"}, {".pnm", 1030, "Lorvex_PNM"},
        {".ppm", 1031, "Lorvex_PPM"}, {".tif", 1032, "Lorvex_TIF"}, {".jp2", 1033, "Lorvex_JP2"},
        {".gif", 1034, "Lorvex_GIF"}, {".hdf", 1035, "Lorvex_HDF"}, {".dcm", 1038, "Lorvex_DCM"},
        {".psd", 1113, "Lorvex_PSD"}, {".j2c", 1114, "Lorvex_J2C"},
    };
    static_assert(ARRAYSIZE(rows) == LORVEX_FA_ROWS, "row count");
    const BYTE* base = ExportedTable();
    ASSERT_NE(base, nullptr);
    // 64-bit layout: pointer, id, four flag bytes, pointer, 100 characters.
    const size_t p = sizeof(void*);
    const size_t stride = 2 * p + 8 + 200;
    ASSERT_EQ(sizeof(FILEASSOCIATIONS), stride);
    for (int i = 0; i < LORVEX_FA_ROWS; ++i) {
        const BYTE* row = base + stride * i;
        SCOPED_TRACE(testing::Message() << "gFA row " << i << " " << rows[i].ext);
        const WCHAR* ext = nullptr;
        const WCHAR* progId = nullptr;
        std::memcpy(&ext, row, p);
        std::memcpy(&progId, row + p + 8, p);
        ASSERT_NE(ext, nullptr);
        ASSERT_NE(progId, nullptr);
        EXPECT_WEQ(lvtest::Wide(rows[i].ext).c_str(), ext);
        EXPECT_EQ(Int32At(row + p), rows[i].id);
        const BYTE flags[4] = {1, 1, 0, 0};
        EXPECT_EQ(std::memcmp(row + p + 4, flags, 4), 0);
        EXPECT_WEQ(lvtest::Wide(rows[i].progId).c_str(), progId);
        EXPECT_WEQ(L"LorvexUndo", WideAt(row + 2 * p + 8));
        EXPECT_TRUE(ZeroFilledAfterText(row + 2 * p + 8, 100));
    }
}

TEST(FileAssociations, HostWritesStayInPlace)
{
    // The table is the host's scratch space while the library is loaded.
    FILEASSOCIATIONS* table = reinterpret_cast<FILEASSOCIATIONS*>(ExportedTable());
    ASSERT_NE(table, nullptr);
    FILEASSOCIATIONS saved = table[13];
    table[13].abFlags[2] = 7;
    lstrcpyW(table[13].szUndo, L"Lorvex_J2C was here");
    EXPECT_EQ(gFA[13].abFlags[2], 7);
    EXPECT_WEQ(L"Lorvex_J2C was here", gFA[13].szUndo);
    EXPECT_WEQ(L"LorvexUndo", gFA[12].szUndo);
    EXPECT_EQ(static_cast<void*>(table), static_cast<void*>(gFA)) << "header and export differ";
    table[13] = saved;
}
