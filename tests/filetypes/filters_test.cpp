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

TEST(SaveFilter, HoldsElevenPairsAndZerosToTheEnd)
{
    const std::string expected =
        "BMP Files (*.BMP)|*.bmp|JPG Files (*.JPG)|*.jpg|JPEG Files (*.JPEG)|*.jpeg|"
        "PNG Files (*.PNG)|*.png|PGM Files (*.PGM)|*.pgm|PNM Files (*.PNM)|*.pnm|"
        "PPM Files (*.PPM)|*.ppm|TIF Files (*.TIF)|*.tif|JP2 Files (*.JP2)|*.jp2|"
        "GIF Files (*.GIF)|*.gif|HDF Files (*.HDF)|*.hdf||";
    ASSERT_EQ(expected.size() + 2, sizeof szSaveFilter / sizeof(WCHAR));
    EXPECT_TRUE(FilterIs(expected + "||", szSaveFilter)) << "zeros to the end of the array";
    // Default extension i is the pattern of filter index i + 1.
    const WCHAR* pattern = szSaveFilter;
    for (int i = 0; i < 11; ++i, pattern += lstrlenW(pattern) + 1) {
        pattern += lstrlenW(pattern) + 1;
        ASSERT_NE(szSaveFilter2[i], nullptr) << i;
        EXPECT_EQ(lstrcmpiW(pattern + 2, szSaveFilter2[i]), 0) << i;
    }
    EXPECT_EQ(szSaveFilter2[11], nullptr);
}

TEST(FilterExports, DataAndFunctionsAreReachableByName)
{
    HMODULE module = GetModuleHandleW(L"lorvexops.dll");
    ASSERT_NE(module, nullptr);
    struct Export { const char* name; const void* address; } data[] = {
        {"szStaticOpenFileFilter", szStaticOpenFileFilter}, {"szSaveFilter2", szSaveFilter2},
        {"szSaveFilter", szSaveFilter}, {"sPluginSupportedExtensions", &sPluginSupportedExtensions},
        {"szSupportedFilesFilter", &szSupportedFilesFilter}, {"GetOpenFilter", nullptr},
        {"GetOpenFilterWithoutLVX", nullptr}, {"FreeOpenFilterBuffers", nullptr}, {"RegisterFileExtension", nullptr},
    };
    for (const Export& e : data) {   // functions go through loader thunks: only their presence is compared
        const void* found = reinterpret_cast<const void*>(GetProcAddress(module, e.name));
        EXPECT_TRUE(e.address ? found == e.address : found != nullptr) << e.name;
    }
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
        EXPECT_EQ(record.lStructSize, sizeof(void*) == 4 ? 88u : 152u) << "the whole record";
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

static UINT_PTR CALLBACK CancelWhenShown(HWND dialogChild, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_INITDONE)
        PostMessageW(GetParent(dialogChild), WM_COMMAND, IDCANCEL, 0);
    return 0;
}

TEST(DibFileInitialize, TheCommonDialogAcceptsTheRecord)
{
    DibFileInitialize(nullptr);
    OPENFILENAMEW& record = lorvex::FileDialogRecord();
    WCHAR file[260] = L"";
    record.lpstrFile = file;
    record.lpstrFilter = GetOpenFilter();
    record.Flags = OFN_ENABLEHOOK | OFN_EXPLORER;
    record.lpfnHook = CancelWhenShown;
    EXPECT_FALSE(GetOpenFileNameW(&record)) << "cancelled";
    EXPECT_EQ(CommDlgExtendedError(), 0u) << "1 would mean the size field was refused";
    DibFileInitialize(nullptr);
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
