// The exported option tables as a host sees them: found through
// GetProcAddress and read at the byte offsets hosts compiled elsewhere use.
// One sample row per kind of record; the rules hold for every row.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <cstring>
#include <set>

namespace {

int32_t Int32At(const BYTE* p) { int32_t v; std::memcpy(&v, p, 4); return v; }

// Field offsets; -1: no such field; keyChars 0: the key is a pointer.
struct Layout { int stride, key, keyChars, id, value, valueBytes, text, second; };
constexpr int kPtr = sizeof(void*);
constexpr Layout kView = {208, 0, 100, 200, 204, 4, -1, -1}, kBool = {208, 6, 100, 0, 4, 1, -1, -1},
                 kSave = {312, 0, 100, 304, 200, 4, 204, 308}, k3D = {2 * kPtr, 0, 0, -1, kPtr, 4, -1, -1};

struct Row { size_t index; const WCHAR* key; int id; int value; const WCHAR* text; int second; };

// Every key ends inside its field and is unique in its table (a wrong stride
// or offset reads garbage there); the sample row holds its initial values.
template <typename Record, size_t N>
void CheckTable(const char* name, const Record (&declared)[N], const Layout& at, const Row& sample)
{
    SCOPED_TRACE(name);
    const BYTE* base = lvtest::Export(name);
    ASSERT_NE(base, nullptr) << "not exported";
    // Header and export must be one table, or hosts write rows the library never reads.
    EXPECT_EQ(static_cast<const void*>(base), static_cast<const void*>(declared));
    std::set<std::string> keys;
    for (size_t i = 0; i < N; ++i) {
        const BYTE* key = base + at.stride * i + at.key;
        if (!at.keyChars)
            std::memcpy(&key, key, sizeof key);
        ASSERT_NE(key, nullptr) << "row " << i;
        const WCHAR* text = reinterpret_cast<const WCHAR*>(key);
        int length = 0, limit = at.keyChars ? at.keyChars : 100;
        while (length < limit && text[length])
            ++length;
        ASSERT_TRUE(length > 0 && length < limit) << "row " << i;
        keys.insert(lvtest::Utf8(text));
    }
    EXPECT_EQ(keys.size(), N) << "keys repeat";
    const BYTE* row = base + at.stride * sample.index;
    const BYTE* key = row + at.key;
    if (!at.keyChars)
        std::memcpy(&key, key, sizeof key);
    EXPECT_WEQ(sample.key, reinterpret_cast<const WCHAR*>(key));
    if (at.id >= 0)
        EXPECT_EQ(Int32At(row + at.id), sample.id);
    EXPECT_EQ(at.valueBytes == 4 ? Int32At(row + at.value) : row[at.value], sample.value);
    if (at.text >= 0)
        EXPECT_WEQ(sample.text ? sample.text : L"", reinterpret_cast<const WCHAR*>(row + at.text));
    if (at.second >= 0)
        EXPECT_EQ(Int32At(row + at.second), sample.second);
}

}  // namespace

TEST(SettingsTables, EveryRowReadableAtTheHostsOffsetsWithASampleRowEach)
{
    CheckTable("gVO", gVO, kView, {1, L"AW", 1012, 1});
    CheckTable("gVSO", gVSO, kView, {2, L"OpenFileOutExt", 1100, 0});
    CheckTable("gTO", gTO, kView, {1, L"CacheSize", 1328, 300});
    CheckTable("gBO", gBO, kBool, {0, L"Fit Sel", 1104, 1});
    CheckTable("gVFAV", gVFAV, kBool, {2, L"ShowPopup", 1313, 1});
    CheckTable("gSO", gSO, kSave, {6, L"Save ARM Append", 1094, 0, L"_modified_by_Lorvex", 0});
    CheckTable("gSO", gSO, kSave, {0, L"JPG Quality", 1014, 75, nullptr, 1013});
    CheckTable("Lorvex3DOptions", Lorvex3DOptions, k3D, {3, L"DrawMode", 0, 2});
    const BYTE* ext = lvtest::Export("gszExtEdit");
    ASSERT_NE(ext, nullptr);
    EXPECT_EQ(static_cast<const void*>(ext), gszExtEdit);
    for (int i = 0; i < LORVEX_EXTEDIT_CHARS * 2; ++i)
        ASSERT_EQ(ext[i], 0) << "byte " << i;
}
