// The exported option tables as a host sees them: found through
// GetProcAddress and read at the byte offsets hosts compiled elsewhere use.
// (Static tables: the zeros after each text come with the language.)
#include <lorvexops/lorvexops.h>
#include "dialog_driver.h"

#include <cstring>
#include <vector>

namespace {

int32_t Int32At(const BYTE* p) { int32_t v; std::memcpy(&v, p, 4); return v; }

// Field offsets; -1: no such field; keyChars 0: the key is a pointer.
struct Layout { int stride, key, keyChars, id, value, valueBytes, text, second; };
constexpr int kPtr = sizeof(void*);
constexpr Layout kView = {208, 0, 100, 200, 204, 4, -1, -1}, kBool = {208, 6, 100, 0, 4, 1, -1, -1},
                 kSave = {312, 0, 100, 304, 200, 4, 204, 308}, k3D = {2 * kPtr, 0, 0, -1, kPtr, 4, -1, -1};

struct Row { const WCHAR* key; int id; int value; const WCHAR* text; int second; };

template <typename Record, size_t N>
void CheckTable(const char* name, const Record (&declared)[N], const Layout& at, const std::vector<Row>& rows)
{
    ASSERT_EQ(rows.size(), N) << name << ": every row is listed";
    const BYTE* base = Export(name);
    ASSERT_NE(base, nullptr) << name << " is not exported";
    // Header and export must be one table, or hosts write rows the library never reads.
    EXPECT_EQ(static_cast<const void*>(base), static_cast<const void*>(declared)) << name;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        const BYTE* row = base + at.stride * i;
        SCOPED_TRACE(testing::Message() << name << " row " << i << " \"" << lvtest::Utf8(r.key) << "\"");
        const BYTE* key = row + at.key;
        if (!at.keyChars)
            std::memcpy(&key, key, sizeof key);
        ASSERT_NE(key, nullptr);
        EXPECT_WEQ(r.key, reinterpret_cast<const WCHAR*>(key));
        if (at.id >= 0)
            EXPECT_EQ(Int32At(row + at.id), r.id);
        EXPECT_EQ(at.valueBytes == 4 ? Int32At(row + at.value) : row[at.value], r.value);
        if (at.text >= 0)
            EXPECT_WEQ(r.text ? r.text : L"", reinterpret_cast<const WCHAR*>(row + at.text));
        if (at.second >= 0)
            EXPECT_EQ(Int32At(row + at.second), r.second);
    }
}

}  // namespace

TEST(SettingsTables, EveryRowKeyIdAndDefaultInOrder)
{
    CheckTable("gVO", gVO, kView, {
        {L"AI", 1011, 0}, {L"AW", 1012, 1}, {L"EnlargeAI", 1007, 0}, {L"ShrinkAI", 1008, 0}, {L"EnalrgeAW", 1009, 0},
        {L"ShrinkAW", 1013, 1}, {L"StartFS", 1021, 0}, {L"EnlargeFS", 1016, 0}, {L"ShrinkFS", 1017, 1},
        {L"CenterToScreen", 1015, 0}, {L"RollOver", 1023, 1}, {L"OneLorvexInstance", 1024, 1}, {L"ShowRGB", 1025, 1},
        {L"ApplyFS", 1018, 1}, {L"DialogErrors", 1098, 1}, {L"ShowCrsFS", 1019, 0}, {L"RestoreFS", 1020, 1},
        {L"DynamicHelp", 1099, 1}});
    CheckTable("gVSO", gVSO, kView, {
        {L"SkipOnFastView", 1022, 0}, {L"SampleVLI", 1029, 0}, {L"OpenFileOutExt", 1100, 0}, {L"LinearScale", 1118, 0}});
    CheckTable("gTO", gTO, kView, {
        {L"CacheDirectory", 1113, 1}, {L"CacheSize", 1328, 300}, {L"ThumbQuality", 1115, 0}, {L"Thumb TTDelay", 1114, 1}});
    CheckTable("gBO", gBO, kBool, {{L"Fit Sel", 1104, 1}, {L"Crop Sel", 1105, 0}, {L"Sel ZS", 0, 0}, {L"On Top", 1, 0}});
    CheckTable("gVFAV", gVFAV, kBool,
               {{L"AutoUppdateFromHDD", 1303, 0}, {L"LoadAllPictures", 1305, 0}, {L"ShowPopup", 1313, 1}});
    CheckTable("gSO", gSO, kSave, {
        {L"JPG Quality", 1014, 75, nullptr, 1013}, {L"JPG Lossless Transforms", 1005, 1, nullptr, 0},
        {L"JPG Trim on Lossless", 1001, 0, nullptr, 0}, {L"PNG Quality", 1017, 3, nullptr, 1016},
        {L"PNG Interlaced", 1171, 1171, nullptr, 1172}, {L"Save After RorM", 1061, -1, nullptr, 1064},
        {L"Save ARM Append", 1094, 0, L"_modified_by_Lorvex", 0}, {L"Keep Orig DateTime", 1180, 0, nullptr, 0},
        {L"JPG Save Progressive", 1002, 0, nullptr, 0}, {L"PNG Filter", 1099, 1099, nullptr, 1105}});
    CheckTable("Lorvex3DOptions", Lorvex3DOptions, k3D, {
        {L"CameraMode", 0, 1}, {L"ShowAxes", 0, 0}, {L"AxesOuterEdge", 0, 1}, {L"DrawMode", 0, 2}, {L"TrackballMode", 0, 0}});
    const BYTE* ext = Export("gszExtEdit");
    ASSERT_NE(ext, nullptr);
    EXPECT_EQ(static_cast<const void*>(ext), gszExtEdit);
    for (int i = 0; i < LORVEX_EXTEDIT_CHARS * 2; ++i)
        ASSERT_EQ(ext[i], 0) << "byte " << i;
}
