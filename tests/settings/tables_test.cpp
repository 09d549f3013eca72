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

// The name must be there, zero-terminated, with the rest of its array zero:
// hosts compare and copy whole records.
void ExpectName(const WCHAR* expected, const BYTE* field, int chars)
{
    const WCHAR* text = reinterpret_cast<const WCHAR*>(field);
    EXPECT_WEQ(expected, text);
    for (int i = lstrlenW(text); i < chars; ++i)
        ASSERT_EQ(text[i], 0) << "character " << i << " after the text";
}

// Where the fields of a 208-byte option record lie.
struct Layout { size_t name, id, value, valueBytes; };
constexpr Layout kViewLayout = {0, 200, 204, 4};   // VIEWOPTIONS, THUMBOPTIONS
constexpr Layout kBoolLayout = {6, 0, 4, 1};       // tagBOOL_OPTIONS

struct Row { const WCHAR* key; int id; int value; };

void CheckTable(const char* table, const Layout& layout, const Row* rows, int count)
{
    const BYTE* base = Export(table);
    ASSERT_NE(base, nullptr) << table << " is not exported";
    for (int i = 0; i < count; ++i) {
        const BYTE* row = base + 208 * i;
        SCOPED_TRACE(testing::Message() << table << " row " << i << " \"" << lvtest::Utf8(rows[i].key) << "\"");
        ExpectName(rows[i].key, row + layout.name, 100);
        EXPECT_EQ(Int32At(row + layout.id), rows[i].id);
        int value = layout.valueBytes == 4 ? Int32At(row + layout.value) : row[layout.value];
        EXPECT_EQ(value, rows[i].value);
        if (layout.valueBytes == 1)
            EXPECT_EQ(row[layout.value + 1], 0) << "padding after the truth value";
    }
}

}  // namespace

TEST(SettingsTables, OptionRecordsInOrder)
{
    static const Row vo[] = {
        {L"AI", 1011, 0}, {L"AW", 1012, 1}, {L"EnlargeAI", 1007, 0}, {L"ShrinkAI", 1008, 0},
        {L"EnalrgeAW", 1009, 0}, {L"ShrinkAW", 1013, 1}, {L"StartFS", 1021, 0},
        {L"EnlargeFS", 1016, 0}, {L"ShrinkFS", 1017, 1}, {L"CenterToScreen", 1015, 0},
        {L"RollOver", 1023, 1}, {L"OneLorvexInstance", 1024, 1}, {L"ShowRGB", 1025, 1},
        {L"ApplyFS", 1018, 1}, {L"DialogErrors", 1098, 1}, {L"ShowCrsFS", 1019, 0},
        {L"RestoreFS", 1020, 1}, {L"DynamicHelp", 1099, 1},
    };
    static const Row vso[] = {
        {L"SkipOnFastView", 1022, 0}, {L"SampleVLI", 1029, 0}, {L"OpenFileOutExt", 1100, 0}, {L"LinearScale", 1118, 0},
    };
    static const Row to[] = {
        {L"CacheDirectory", 1113, 1}, {L"CacheSize", 1328, 300}, {L"ThumbQuality", 1115, 0}, {L"Thumb TTDelay", 1114, 1},
    };
    static const Row bo[] = {{L"Fit Sel", 1104, 1}, {L"Crop Sel", 1105, 0}, {L"Sel ZS", 0, 0}, {L"On Top", 1, 0}};
    static const Row vfav[] = {{L"AutoUppdateFromHDD", 1303, 0}, {L"LoadAllPictures", 1305, 0}, {L"ShowPopup", 1313, 1}};
    static_assert(ARRAYSIZE(vo) == LORVEX_VO_ROWS && ARRAYSIZE(vso) == LORVEX_VSO_ROWS &&
                  ARRAYSIZE(to) == LORVEX_TO_ROWS && ARRAYSIZE(bo) == LORVEX_BO_ROWS &&
                  ARRAYSIZE(vfav) == LORVEX_VFAV_ROWS, "row counts");
    CheckTable("gVO", kViewLayout, vo, ARRAYSIZE(vo));
    CheckTable("gVSO", kViewLayout, vso, ARRAYSIZE(vso));
    CheckTable("gTO", kViewLayout, to, ARRAYSIZE(to));
    CheckTable("gBO", kBoolLayout, bo, ARRAYSIZE(bo));
    CheckTable("gVFAV", kBoolLayout, vfav, ARRAYSIZE(vfav));
}

TEST(SettingsTables, SaveOptionsRowsInOrder)
{
    struct SaveRow { const WCHAR* key; int value; const WCHAR* text; int first, second; };
    static const SaveRow rows[] = {
        {L"JPG Quality", 75, L"", 1014, 1013},
        {L"JPG Lossless Transforms", 1, L"", 1005, 0},
        {L"JPG Trim on Lossless", 0, L"", 1001, 0},
        {L"PNG Quality", 3, L"", 1017, 1016},
        {L"PNG Interlaced", 1171, L"", 1171, 1172},
        {L"Save After RorM", -1, L"", 1061, 1064},
        {L"Save ARM Append", 0, L"_modified_by_Lorvex", 1094, 0},
        {L"Keep Orig DateTime", 0, L"", 1180, 0},
        {L"JPG Save Progressive", 0, L"", 1002, 0},
        {L"PNG Filter", 1099, L"", 1099, 1105},
    };
    static_assert(ARRAYSIZE(rows) == LORVEX_SO_ROWS, "row count");
    const BYTE* base = Export("gSO");
    ASSERT_NE(base, nullptr);
    for (int i = 0; i < LORVEX_SO_ROWS; ++i) {
        const BYTE* row = base + 312 * i;
        SCOPED_TRACE(testing::Message() << "gSO row " << i << " \"" << lvtest::Utf8(rows[i].key) << "\"");
        ExpectName(rows[i].key, row, 100);
        EXPECT_EQ(Int32At(row + 200), rows[i].value);
        ExpectName(rows[i].text, row + 204, 50);
        EXPECT_EQ(Int32At(row + 304), rows[i].first);
        EXPECT_EQ(Int32At(row + 308), rows[i].second);
    }
    // "Save After RorM" is all bits set, not some other negative encoding.
    const BYTE* rorm = base + 312 * SO_SAVE_AFTER_RORM + 200;
    EXPECT_EQ(std::memcmp(rorm, "\xFF\xFF\xFF\xFF", 4), 0);
}

TEST(SettingsTables, ThreeDOptionsAndExtEdit)
{
    struct NamedValue { const WCHAR* key; int value; };
    static const NamedValue rows[] = {
        {L"CameraMode", 1}, {L"ShowAxes", 0}, {L"AxesOuterEdge", 1}, {L"DrawMode", 2}, {L"TrackballMode", 0},
    };
    const BYTE* base = Export("Lorvex3DOptions");
    ASSERT_NE(base, nullptr);
    // 64-bit build: an 8-byte pointer, the value, 4 bytes of padding.
    const size_t stride = sizeof(void*) + 8;
    ASSERT_EQ(sizeof(LORVEX_3D_OPTIONS), stride);
    for (int i = 0; i < LORVEX_3D_ROWS; ++i) {
        const BYTE* row = base + stride * i;
        const WCHAR* name = nullptr;
        std::memcpy(&name, row, sizeof name);
        ASSERT_NE(name, nullptr) << "row " << i;
        EXPECT_WEQ(rows[i].key, name) << "row " << i;
        EXPECT_EQ(Int32At(row + sizeof(void*)), rows[i].value) << "row " << i;
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
}
