// The file-association table as a host sees it: found through GetProcAddress
// and read at the offsets of the 64-bit record (pointer, id, four flag bytes,
// pointer, 100 characters).
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <cstring>

TEST(FileAssociations, FourteenRowsWithTheirInitialValues)
{
    static const struct { const WCHAR* ext; int id; const WCHAR* progId; } rows[] = {
        {L".bmp", 1028, L"Lorvex_BMP"}, {L".jpg", 1026, L"Lorvex_JPG"}, {L".jpeg", 1036, L"Lorvex_JPEG"},
        {L".png", 1027, L"Lorvex_PNG"}, {L".pgm", 1029, L"Lorvex_PGM"}, {L".pnm", 1030, L"Lorvex_PNM"},
        {L".ppm", 1031, L"Lorvex_PPM"}, {L".tif", 1032, L"Lorvex_TIF"}, {L".jp2", 1033, L"Lorvex_JP2"},
        {L".gif", 1034, L"Lorvex_GIF"}, {L".hdf", 1035, L"Lorvex_HDF"}, {L".dcm", 1038, L"Lorvex_DCM"},
        {L".psd", 1113, L"Lorvex_PSD"}, {L".j2c", 1114, L"Lorvex_J2C"}};
    static_assert(ARRAYSIZE(rows) == LORVEX_FA_ROWS, "every row is listed");
    HMODULE module = LoadLibraryW(L"lorvexops.dll");   // as a host does: data references do not load it
    const BYTE* base = reinterpret_cast<const BYTE*>(GetProcAddress(module, "gFA"));
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(static_cast<const void*>(base), static_cast<void*>(gFA)) << "header and export differ";
    const size_t p = sizeof(void*);
    for (int i = 0; i < LORVEX_FA_ROWS; ++i) {
        const BYTE* row = base + (2 * p + 208) * i;
        SCOPED_TRACE(testing::Message() << "gFA row " << i << " " << lvtest::Utf8(rows[i].ext));
        const WCHAR *ext = nullptr, *progId = nullptr, *undo = reinterpret_cast<const WCHAR*>(row + 2 * p + 8);
        std::memcpy(&ext, row, p);
        std::memcpy(&progId, row + p + 8, p);
        ASSERT_TRUE(ext && progId);
        EXPECT_WEQ(rows[i].ext, ext);
        EXPECT_EQ(*reinterpret_cast<const int32_t*>(row + p), rows[i].id);
        EXPECT_EQ(std::memcmp(row + p + 4, "\1\1\0\0", 4), 0) << "flags";
        EXPECT_WEQ(rows[i].progId, progId);
        EXPECT_WEQ(L"LorvexUndo", undo);
        for (int c = lstrlenW(undo); c < 100; ++c)
            ASSERT_EQ(undo[c], 0) << "character " << c << " of the undo text";   // hosts copy whole records
    }
    FreeLibrary(module);
}
