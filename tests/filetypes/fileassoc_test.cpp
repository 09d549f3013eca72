// The file-association table as a host sees it: found through GetProcAddress
// and read at the offsets of the 64-bit record (pointer, id, four flag bytes,
// pointer, 100 characters).
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <cstring>

TEST(FileAssociations, EveryRowAtTheHostsOffsetsWithItsInitialValues)
{
    const BYTE* base = lvtest::Export("gFA");
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(static_cast<const void*>(base), static_cast<void*>(gFA)) << "header and export differ";
    const size_t p = sizeof(void*);
    for (int i = 0; i < LORVEX_FA_ROWS; ++i) {
        const BYTE* row = base + (2 * p + 208) * i;
        const WCHAR *ext = nullptr, *progId = nullptr, *undo = reinterpret_cast<const WCHAR*>(row + 2 * p + 8);
        std::memcpy(&ext, row, p);
        std::memcpy(&progId, row + p + 8, p);
        ASSERT_TRUE(ext && progId && ext[0] == L'.') << "row " << i;
        SCOPED_TRACE(lvtest::Utf8(ext));
        lvtest::WString upper(ext + 1);   // the program id names the extension in capitals
        CharUpperW(&upper[0]);
        lvtest::WString expected = L"Lorvex_" + upper;
        EXPECT_WEQ(expected.c_str(), progId);
        EXPECT_EQ(std::memcmp(row + p + 4, "\1\1\0\0", 4), 0) << "flags";
        EXPECT_WEQ(L"LorvexUndo", undo);
        for (int c = lstrlenW(undo); c < 100; ++c)
            ASSERT_EQ(undo[c], 0) << "character " << c << " of the undo text";   // hosts copy whole records
    }
    EXPECT_WEQ(L".bmp", gFA[0].szExt);
    EXPECT_EQ(1028, gFA[0].nID);
}
