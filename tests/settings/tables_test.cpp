// The exported option tables as a host sees them: found by name through
// GetProcAddress and read at the byte offsets hosts compiled elsewhere use.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <cstring>

namespace {

// Loads the library the way a host does (a reference that only touches data
// would not make the loader load it) and looks the symbol up by name.
const BYTE* Export(const char* name)
{
    static HMODULE module = LoadLibraryW(L"lorvexops.dll");
    return module ? reinterpret_cast<const BYTE*>(GetProcAddress(module, name)) : nullptr;
}

int32_t Int32At(const BYTE* p) { int32_t v; std::memcpy(&v, p, 4); return v; }
const WCHAR* WideAt(const BYTE* p) { return reinterpret_cast<const WCHAR*>(p); }

// The rest of a fixed name array after its terminator must be zero: hosts
// compare whole records.
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

struct ViewRow { const char* key; unsigned id; int value; };

void CheckViewTable(const char* table, const ViewRow* rows, int count)
{
    const BYTE* base = Export(table);
    ASSERT_NE(base, nullptr) << table << " is not exported";
    for (int i = 0; i < count; ++i) {
        const BYTE* row = base + 208 * i;
        SCOPED_TRACE(testing::Message() << table << " row " << i << " \"" << rows[i].key << "\"");
        EXPECT_WEQ(lvtest::Wide(rows[i].key).c_str(), WideAt(row));
        EXPECT_TRUE(ZeroFilledAfterText(row, 100));
        EXPECT_EQ(static_cast<uint32_t>(Int32At(row + 200)), rows[i].id);
        EXPECT_EQ(Int32At(row + 204), rows[i].value);
    }
}

void CheckBoolTable(const char* table, const ViewRow* rows, int count)
{
    const BYTE* base = Export(table);
    ASSERT_NE(base, nullptr) << table << " is not exported";
    for (int i = 0; i < count; ++i) {
        const BYTE* row = base + 208 * i;
        SCOPED_TRACE(testing::Message() << table << " row " << i << " \"" << rows[i].key << "\"");
        EXPECT_EQ(static_cast<unsigned>(Int32At(row)), rows[i].id);
        EXPECT_EQ(row[4], rows[i].value);
        EXPECT_EQ(row[5], 0) << "padding after the truth value";
        EXPECT_WEQ(lvtest::Wide(rows[i].key).c_str(), WideAt(row + 6));
        EXPECT_TRUE(ZeroFilledAfterText(row + 6, 100));
    }
}

}  // namespace

TEST(SettingsTables, ViewOptionsRowsInOrder)
{
    static const ViewRow vo[] = {
        {"AI", 1011, 0}, {"AW", 1012, 1}, {"EnlargeAI", 1007, 0}, {"ShrinkAI", 1008, 0},
        {"EnalrgeAW", 1009, 0}, {"ShrinkAW", 1013, 1}, {"StartFS", 1021, 0},
        {"EnlargeFS", 1016, 0}, {"ShrinkFS", 1017, 1}, {"CenterToScreen", 1015, 0},
        {"RollOver", 1023, 1}, {"OneLorvexInstance", 1024, 1}, {"ShowRGB", 1025, 1},
        {"ApplyFS", 1018, 1}, {"DialogErrors", 1098, 1}, {"ShowCrsFS", 1019, 0},
        {"RestoreFS", 1020, 1}, {"DynamicHelp", 1099, 1},
    };
    static const ViewRow vso[] = {
        {"SkipOnFastView", 1022, 0}, {"SampleVLI", 1029, 0},
        {"OpenFileOutExt", 1100, 0}, {"LinearScale", 1118, 0},
    };
    static const ViewRow to[] = {
        {"CacheDirectory", 1113, 1}, {"CacheSize", 1328, 300},
        {"ThumbQuality", 1115, 0}, {"Thumb TTDelay", 1114, 1},
    };
    static_assert(ARRAYSIZE(vo) == LORVEX_VO_ROWS && ARRAYSIZE(vso) == LORVEX_VSO_ROWS &&
                  ARRAYSIZE(to) == LORVEX_TO_ROWS, "row counts");
    CheckViewTable("gVO", vo, ARRAYSIZE(vo));
    CheckViewTable("gVSO", vso, ARRAYSIZE(vso));
    CheckViewTable("gTO", to, ARRAYSIZE(to));
}

TEST(SettingsTables, BoolOptionsRowsInOrder)
{
    static const ViewRow bo[] = {
        {"Fit Sel", 1104, 1}, {"Crop Sel", 1105, 0}, {"Sel ZS", 0, 0}, {"On Top", 1, 0},
    };
    static const ViewRow vfav[] = {
        {"AutoUppdateFromHDD", 1303, 0}, {"LoadAllPictures", 1305, 0}, {"ShowPopup", 1313, 1},
    };
    CheckBoolTable("gBO", bo, ARRAYSIZE(bo));
    CheckBoolTable("gVFAV", vfav, ARRAYSIZE(vfav));
}

TEST(SettingsTables, SaveOptionsRowsInOrder)
{
    struct Row { const char* key; int value; const char* text; int first, second; };
    static const Row rows[] = {
        {"JPG Quality", 75, "", 1014, 1013},
        {"JPG Lossless Transforms", 1, "", 1005, 0},
        {"JPG Trim on Lossless", 0, "", 1001, 0},
        {"PNG Quality", 3, "", 1017, 1016},
        {"PNG Interlaced", 1171, "", 1171, 1172},
        {"Save After RorM", -1, "", 1061, 1064},
        {"Save ARM Append", 0, "_modified_by_Lorvex", 1094, 0},
        {"Keep Orig DateTime", 0, "", 1180, 0},
        {"JPG Save Progressive", 0, "", 1002, 0},
        {"PNG Filter", 1099, "", 1099, 1105},
    };
    static_assert(ARRAYSIZE(rows) == LORVEX_SO_ROWS, "row count");
    const BYTE* base = Export("gSO");
    ASSERT_NE(base, nullptr);
    for (int i = 0; i < LORVEX_SO_ROWS; ++i) {
        const BYTE* row = base + 312 * i;
        SCOPED_TRACE(testing::Message() << "gSO row " << i << " \"" << rows[i].key << "\"");
        EXPECT_WEQ(lvtest::Wide(rows[i].key).c_str(), WideAt(row));
        EXPECT_TRUE(ZeroFilledAfterText(row, 100));
        EXPECT_EQ(Int32At(row + 200), rows[i].value);
        EXPECT_WEQ(lvtest::Wide(rows[i].text).c_str(), WideAt(row + 204));
        EXPECT_TRUE(ZeroFilledAfterText(row + 204, 50));
        EXPECT_EQ(Int32At(row + 304), rows[i].first);
        EXPECT_EQ(Int32At(row + 308), rows[i].second);
    }
    // "Save After RorM" is all bits set, not some other negative encoding.
    const BYTE* rorm = base + 312 * SO_SAVE_AFTER_RORM + 200;
    for (int b = 0; b < 4; ++b)
        EXPECT_EQ(rorm[b], 0xFF) << "byte " << b;
}

TEST(SettingsTables, ThreeDOptionsAndExtEdit)
{
    struct Row { const char* key; int value; };
    static const Row rows[] = {
        {"CameraMode", 1}, {"ShowAxes", 0}, {"AxesOuterEdge", 1}, {"DrawMode", 2}, {"TrackballMode", 0},
    };
    const BYTE* base = Export("Lorvex3DOptions");
    ASSERT_NE(base, nullptr);
    // 64-bit build: an 8-byte pointer, the value, 4 bytes of padding.
    const size_t stride = sizeof(void*) + 8;
    ASSERT_EQ(sizeof(LORVEX_3D_OPTIONS), stride);
    for (int i = 0; i < LORVEX_3D_ROWS; ++i) {
        const BYTE* row = base + stride * i;
        SCOPED_TRACE(testing::Message() << "Lorvex3DOptions row " << i << " \"" << rows[i].key << "\"");
        const WCHAR* name = nullptr;
        std::memcpy(&name, row, sizeof name);
        ASSERT_NE(name, nullptr);
        EXPECT_WEQ(lvtest::Wide(rows[i].key).c_str(), name);
        EXPECT_EQ(Int32At(row + sizeof(void*)), rows[i].value);
    }
    const BYTE* ext = Export("gszExtEdit");
    ASSERT_NE(ext, nullptr);
    for (int i = 0; i < 260 * 2; ++i)
        ASSERT_EQ(ext[i], 0) << "byte " << i;
}

TEST(SettingsTables, HeaderDeclarationsAreTheExportedStorage)
{
    // A host that links the headers and one that uses GetProcAddress must
    // see (and write) the same rows as the library's own readers.
    struct Case { const char* name; const void* declared; };
    const Case cases[] = {
        {"gVO", gVO}, {"gVSO", gVSO}, {"gTO", gTO}, {"gBO", gBO}, {"gVFAV", gVFAV},
        {"gSO", gSO}, {"Lorvex3DOptions", Lorvex3DOptions}, {"gszExtEdit", gszExtEdit},
    };
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<const void*>(Export(c.name)), c.declared) << c.name;
    EXPECT_EQ(sizeof(gszExtEdit), 520u);
    EXPECT_EQ(sizeof(gSO), 3120u);
}
