// The open and save filter texts, plug-in extensions and the extension vector.
// The filter state is process-wide and registrations cannot be undone, so
// every test that registers an extension lives in the last test of this file.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"
#include "../../filetypes/filters_internal.h"

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// Compares a filter text with expected ('|' standing for each zero) character
// by character, stopping at the first difference so that a short buffer is
// not read far past its end.
::testing::AssertionResult FilterIs(const std::string& expected, const WCHAR* actual)
{
    if (!actual)
        return ::testing::AssertionFailure() << "filter is null";
    std::string shown;
    for (size_t i = 0; i < expected.size(); ++i) {
        WCHAR c = actual[i];
        shown += c == 0 ? '|' : (c < 128 ? static_cast<char>(c) : '?');
        if ((expected[i] == '|' ? 0 : static_cast<WCHAR>(expected[i])) != c)
            return ::testing::AssertionFailure()
                   << "differs at " << i << "\nexpected " << expected << "\nactual   " << shown << "...";
    }
    return ::testing::AssertionSuccess();
}

const Texts kStatic = {"BMP", "JPG", "JPEG", "PNG", "PGM", "PNM", "PPM", "TIF", "JP2", "J2C", "GIF", "HDF", "PSD"};

// The expected open filter for the given plug-in extensions, with or without
// the portfolio type and the closing "All Files" entry.
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

Texts SupportedWith(const Texts& plugins)
{
    Texts result = kStatic;
    result.insert(result.end(), plugins.begin(), plugins.end());
    return result;
}

// Both texts and the extension vector, built afresh or as they stand.
void ExpectFilters(const Texts& plugins, const char* when)
{
    SCOPED_TRACE(when);
    EXPECT_EQ(Narrow(sPluginSupportedExtensions), plugins);
    EXPECT_TRUE(FilterIs(OpenFilter(false, plugins), GetOpenFilterWithoutLVX()));
    EXPECT_EQ(Narrow(szSupportedFilesFilter), SupportedWith(plugins));
    EXPECT_TRUE(FilterIs(OpenFilter(true, plugins), GetOpenFilter()));
    EXPECT_EQ(Narrow(szSupportedFilesFilter), SupportedWith(plugins)) << "a second build refills, not appends";
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
    EXPECT_TRUE(FilterIs(expected + "||", szSaveFilter)) << "zeros after the text to the end of the array";

    // The save dialog's default extensions follow the filter's order: entry i
    // is the pattern of filter index i + 1.
    const WCHAR* pattern = szSaveFilter;
    for (int i = 0; i < 11; ++i) {
        pattern += lstrlenW(pattern) + 1;
        ASSERT_NE(szSaveFilter2[i], nullptr) << "entry " << i;
        EXPECT_EQ(lstrcmpiW(pattern + 2, szSaveFilter2[i]), 0) << "entry " << i << ": " << lvtest::Utf8(pattern);
        pattern += lstrlenW(pattern) + 1;
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
        {"szSupportedFilesFilter", &szSupportedFilesFilter},
    };
    for (const Export& e : data)
        EXPECT_EQ(reinterpret_cast<const void*>(GetProcAddress(module, e.name)), e.address) << e.name;
    // Functions are reached through the loader's entry points, so compare
    // what they do rather than their addresses.
    for (const char* name : {"GetOpenFilterWithoutLVX", "FreeOpenFilterBuffers", "RegisterFileExtension"})
        EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
    auto get = reinterpret_cast<const WCHAR* (*)(void)>(GetProcAddress(module, "GetOpenFilter"));
    ASSERT_NE(get, nullptr);
    EXPECT_EQ(get(), GetOpenFilter());
}

TEST(OpenFilter, WithoutPluginsBothTextsAndTheExtensionVector)
{
    ASSERT_TRUE(sPluginSupportedExtensions.empty()) << "this test must run before any registration";
    FreeOpenFilterBuffers();
    szSupportedFilesFilter.clear();
    ExpectFilters({}, "first build");
    const WCHAR* with = GetOpenFilter();
    const WCHAR* without = GetOpenFilterWithoutLVX();
    EXPECT_EQ(GetOpenFilter(), with) << "built once, then the same buffer";
    EXPECT_EQ(GetOpenFilterWithoutLVX(), without);
    FreeOpenFilterBuffers();
    FreeOpenFilterBuffers();   // twice is harmless
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
        // Leftovers of an earlier dialog must not survive.
        record.lpstrFilter = L"x\0*.x\0";
        record.lpstrFile = record.lpstrFileTitle = file;
        record.lpstrTitle = L"old";
        record.lpTemplateName = L"old";
        record.nFilterIndex = 3;
        record.Flags = OFN_EXPLORER;
        record.lCustData = 7;
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
        EXPECT_EQ(record.nMaxFile, 260u);
        EXPECT_EQ(record.nMaxFileTitle, 260u);
        const void* cleared[] = {record.lpstrFilter, record.lpstrFile, record.lpstrFileTitle, record.lpstrTitle,
                                 record.lpTemplateName, reinterpret_cast<const void*>(record.lpfnHook)};
        for (size_t i = 0; i < 6; ++i)
            EXPECT_EQ(cleared[i], nullptr) << "filter, file, file title, title, template, hook: " << i;
        EXPECT_EQ(record.nFilterIndex | record.Flags, 0u);
        EXPECT_EQ(record.lCustData, 0);
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
    for (const WCHAR* ext : {L"PNG", L"LVX", L"JPEG", L"PSD", static_cast<const WCHAR*>(nullptr), L""}) {
        RegisterFileExtension(ext);   // refused: the static types (exact case), null and empty
        EXPECT_TRUE(sPluginSupportedExtensions.empty()) << lvtest::Utf8(ext);
    }
    EXPECT_EQ(GetOpenFilter(), before) << "a refused registration leaves the buffers alone";

    WCHAR scratch[8];
    lstrcpyW(scratch, L"png");   // lower-case png is a new extension
    RegisterFileExtension(scratch);
    lstrcpyW(scratch, L"XXX");   // the caller's buffer may change after
    // Registration rebuilds both texts at once, so the vector is already right.
    EXPECT_EQ(Narrow(szSupportedFilesFilter), SupportedWith({"png"}));
    ExpectFilters({"png"}, "png registered");

    const WCHAR* built = GetOpenFilter();
    WCHAR again[] = L"png";   // the same text from another buffer: nothing changes
    RegisterFileExtension(again);
    EXPECT_EQ(Narrow(sPluginSupportedExtensions), Texts({"png"}));
    EXPECT_EQ(GetOpenFilter(), built);

    RegisterFileExtension(L"xyz");
    EXPECT_EQ(Narrow(szSupportedFilesFilter), SupportedWith({"png", "xyz"}));
    ExpectFilters({"png", "xyz"}, "a second plug-in extension follows the first everywhere");
    RegisterFileExtension(L"Xyz");   // case differences from a plug-in count as new
    EXPECT_EQ(Narrow(sPluginSupportedExtensions), Texts({"png", "xyz", "Xyz"}));

    FreeOpenFilterBuffers();
    szSupportedFilesFilter.clear();
    ExpectFilters({"png", "xyz", "Xyz"}, "built anew after release, plug-ins included");
}
