// The open and save filter texts, plug-in extensions and the extension vector.
// The filter state is process-wide and registrations cannot be undone, so
// every test that registers an extension lives in the last test of this file.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"
#include "filetypes/filetypes_internal.h"

namespace {

using Texts = std::vector<std::string>;

// expected spells each zero as '|'; stops at the first difference so that a
// short buffer is not read far past its end.
::testing::AssertionResult FilterIs(const std::string& expected, const WCHAR* actual)
{
    std::string shown;
    for (size_t i = 0; actual && i < expected.size(); ++i) {
        shown += actual[i] == 0 ? '|' : (actual[i] < 128 ? static_cast<char>(actual[i]) : '?');
        if ((expected[i] == '|' ? 0 : static_cast<WCHAR>(expected[i])) != actual[i])
            return ::testing::AssertionFailure() << "at " << i << "\nexpected " << expected << "\nactual   " << shown;
    }
    return actual ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "null";
}

const Texts kStatic = {"BMP", "JPG", "JPEG", "PNG", "PGM", "PNM", "PPM", "TIF", "JP2", "J2C", "GIF", "HDF", "PSD"};

std::string OpenFilter(bool withLvx, const Texts& plugins)
{
    std::string patterns, entries;
    Texts all = kStatic;
    if (withLvx)
        all.push_back("LVX");
    all.insert(all.end(), plugins.begin(), plugins.end());
    for (const std::string& e : all) {
        patterns += "*." + e + ";";
        std::string kind = e == "PSD" ? "Photoshop" : e == "LVX" ? "LVX Portfolio" : e;
        entries += kind + " Files (*." + e + ")|*." + e + "|";
    }
    return "Supported Formats |" + patterns + "|" + entries + (withLvx ? "All Files (*.*)|*.*|" : "|") + "||";
}

template <typename List>
Texts Narrow(const List& texts)
{
    Texts result;
    for (const WCHAR* text : texts)
        result.push_back(lvtest::Utf8(text));
    return result;
}

// Both texts and the extension vector (refilled, not appended, by a second build).
void ExpectFilters(const Texts& plugins, const char* when)
{
    SCOPED_TRACE(when);
    Texts supported = kStatic;
    supported.insert(supported.end(), plugins.begin(), plugins.end());
    EXPECT_EQ(Narrow(sPluginSupportedExtensions), plugins);
    EXPECT_TRUE(FilterIs(OpenFilter(false, plugins), GetOpenFilterWithoutLVX()));
    EXPECT_TRUE(FilterIs(OpenFilter(true, plugins), GetOpenFilter()));
    EXPECT_EQ(Narrow(szSupportedFilesFilter), supported);
}

}  // namespace

// The exported arrays keep their hosts' layout: one pair per save type, the
// default extension of filter index i + 1 at i, zeros to the end.
TEST(SaveFilter, OnePairPerSaveTypeThenZerosToTheEnd)
{
    std::string expected;
    int types = 0;
    for (; szSaveFilter2[types]; ++types) {
        std::string upper = lvtest::Utf8(szSaveFilter2[types]), lower = upper;
        for (char& c : lower)
            c = static_cast<char>(tolower(c));
        expected += upper + " Files (*." + upper + ")|*." + lower + "|";
    }
    EXPECT_EQ(types, 11);
    EXPECT_EQ(lvtest::Utf8(szSaveFilter2[0]), "BMP");
    expected.resize(sizeof szSaveFilter / sizeof(WCHAR), '|');
    EXPECT_TRUE(FilterIs(expected, szSaveFilter));
}

TEST(OpenFilter, WithoutPluginsBothTextsAndTheExtensionVector)
{
    ASSERT_TRUE(sPluginSupportedExtensions.empty()) << "this test must run before any registration";
    FreeOpenFilterBuffers();
    szSupportedFilesFilter.clear();
    ExpectFilters({}, "first build");
    const WCHAR* with = GetOpenFilter();
    EXPECT_EQ(GetOpenFilter(), with) << "built once, then the same buffer";
    FreeOpenFilterBuffers(), FreeOpenFilterBuffers();   // twice is harmless
    szSupportedFilesFilter.clear();
    ExpectFilters({}, "rebuilt after release");
}

TEST(DibFileInitialize, BothFormsResetTheSharedRecord)
{
    OPENFILENAMEW& record = lorvex::FileDialogRecord();
    static const WCHAR folder[] = L"C:\\Pics";
    static WCHAR file[260];
    HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    for (bool withFolder : {false, true}) {
        record.lpstrFilter = record.lpstrTitle = record.lpTemplateName = L"old";   // leftovers
        record.lpstrFile = record.lpstrFileTitle = file;
        record.nFilterIndex = 3, record.Flags = OFN_EXPLORER, record.lCustData = 7;
        if (withFolder)
            DibFileInitialize(owner, folder);
        else
            DibFileInitialize(owner);
        SCOPED_TRACE(withFolder ? "window, folder" : "window");
        // The whole record (the save and open dialog runs show the common dialogs take it).
        EXPECT_EQ(record.lStructSize, sizeof(void*) == 4 ? 88u : 152u);
        EXPECT_EQ(record.hwndOwner, owner);
        EXPECT_EQ(record.hInstance, withFolder ? LorvexGetModuleInstance() : nullptr);
        EXPECT_EQ(record.lpstrInitialDir, withFolder ? folder : nullptr) << "the pointer is kept";
        EXPECT_WEQ(L"jpg", record.lpstrDefExt);
        EXPECT_EQ(record.nMaxFile + record.nMaxFileTitle, 520u);
        EXPECT_TRUE(!record.lpstrFilter && !record.lpstrFile && !record.lpstrFileTitle && !record.lpstrTitle &&
                    !record.lpTemplateName && !record.lpfnHook && !record.nFilterIndex && !record.Flags &&
                    !record.lCustData) << "leftovers cleared";
    }
}

// Registrations are permanent for the process: this test runs them in order.
TEST(RegisterFileExtension, CaseSensitiveRulesAndRebuiltTexts)
{
    ASSERT_TRUE(sPluginSupportedExtensions.empty());
    const WCHAR* before = GetOpenFilter();
    GetOpenFilterWithoutLVX();
    for (const WCHAR* ext : {L"PNG", L"LVX", L"PSD", static_cast<const WCHAR*>(nullptr), L""})
        RegisterFileExtension(ext);   // refused: the static types (exact case), null and empty
    EXPECT_TRUE(sPluginSupportedExtensions.empty());
    EXPECT_EQ(GetOpenFilter(), before) << "a refused registration leaves the buffers alone";

    WCHAR scratch[8] = L"png";   // lower-case png is a new extension
    RegisterFileExtension(scratch);
    lstrcpyW(scratch, L"XXX");   // the caller's buffer may change after
    // Registration rebuilds both texts at once, so the vector is already right.
    EXPECT_EQ(Narrow(szSupportedFilesFilter).back(), "png");
    ExpectFilters({"png"}, "png registered");

    const WCHAR* built = GetOpenFilter();
    WCHAR again[] = L"png";   // the same text from another buffer: nothing changes
    RegisterFileExtension(again);
    EXPECT_EQ(Narrow(sPluginSupportedExtensions), Texts({"png"}));
    EXPECT_EQ(GetOpenFilter(), built);

    RegisterFileExtension(L"xyz");
    RegisterFileExtension(L"Xyz");   // case differences from a plug-in count as new
    ExpectFilters({"png", "xyz", "Xyz"}, "later plug-in extensions follow the first everywhere");
    FreeOpenFilterBuffers();
    szSupportedFilesFilter.clear();
    ExpectFilters({"png", "xyz", "Xyz"}, "built anew after release, plug-ins included");
}
