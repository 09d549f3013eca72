// The open and save filter texts, plug-in extensions and the extension vector.
// The filter state is process-wide and registrations cannot be undone, so
// every test that registers an extension lives in the last test of this file.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"
#include "../../filetypes/filters_internal.h"

#include <string>
#include <vector>

namespace {

// A filter text with each zero shown as '|', compared character by character
// up to the expected length (stopping at the first difference, so a short
// buffer is not read far past its end).
std::string Render(const WCHAR* text, size_t count)
{
    std::string shown;
    for (size_t i = 0; i < count; ++i) {
        WCHAR c = text[i];
        shown += c == 0 ? '|' : (c < 128 ? static_cast<char>(c) : '?');
    }
    return shown;
}

::testing::AssertionResult FilterIs(const std::string& expected, const WCHAR* actual)
{
    if (!actual)
        return ::testing::AssertionFailure() << "filter is null";
    for (size_t i = 0; i < expected.size(); ++i) {
        char want = expected[i];
        WCHAR got = actual[i];
        if ((want == '|' ? 0 : static_cast<WCHAR>(want)) != got)
            return ::testing::AssertionFailure()
                   << "differs at " << i << "\nexpected " << expected << "\nactual   "
                   << Render(actual, i + 1) << "...";
    }
    return ::testing::AssertionSuccess();
}

const char kStaticPatterns[] =
    "*.BMP;*.JPG;*.JPEG;*.PNG;*.PGM;*.PNM;*.PPM;*.TIF;*.JP2;*.J2C;*.GIF;*.HDF;*.PSD;";
const char kStaticEntries[] =
    "BMP Files (*.BMP)|*.BMP|JPG Files (*.JPG)|*.JPG|JPEG Files (*.JPEG)|*.JPEG|"
    "PNG Files (*.PNG)|*.PNG|PGM Files (*.PGM)|*.PGM|PNM Files (*.PNM)|*.PNM|"
    "PPM Files (*.PPM)|*.PPM|TIF Files (*.TIF)|*.TIF|JP2 Files (*.JP2)|*.JP2|"
    "J2C Files (*.J2C)|*.J2C|GIF Files (*.GIF)|*.GIF|HDF Files (*.HDF)|*.HDF|"
    "Photoshop Files (*.PSD)|*.PSD|";

// Expected open filters for the given plug-in extensions (ASCII).
std::string OpenFilterWith(const std::vector<std::string>& plugins)
{
    std::string patterns = std::string(kStaticPatterns) + "*.LVX;";
    std::string entries = std::string(kStaticEntries) + "LVX Portfolio Files (*.LVX)|*.LVX|";
    for (const std::string& e : plugins) {
        patterns += "*." + e + ";";
        entries += e + " Files (*." + e + ")|*." + e + "|";
    }
    return "Supported Formats |" + patterns + "|" + entries + "All Files (*.*)|*.*|||";
}

std::string OpenFilterWithout(const std::vector<std::string>& plugins)
{
    std::string patterns = kStaticPatterns;
    std::string entries = kStaticEntries;
    for (const std::string& e : plugins) {
        patterns += "*." + e + ";";
        entries += e + " Files (*." + e + ")|*." + e + "|";
    }
    return "Supported Formats |" + patterns + "|" + entries + "|||";
}

std::vector<std::string> Narrow(const std::vector<const WCHAR*>& texts)
{
    std::vector<std::string> result;
    for (const WCHAR* text : texts)
        result.push_back(text ? lvtest::Utf8(text) : std::string("(null)"));
    return result;
}

std::vector<std::string> SupportedWith(const std::vector<std::string>& plugins)
{
    std::vector<std::string> result = {"BMP", "JPG", "JPEG", "PNG", "PGM", "PNM", "PPM",
                                       "TIF", "JP2", "J2C", "GIF", "HDF", "PSD"};
    result.insert(result.end(), plugins.begin(), plugins.end());
    return result;
}

std::vector<std::string> Plugins()
{
    std::vector<std::string> result;
    for (const WCHAR* text : sPluginSupportedExtensions)
        result.push_back(lvtest::Utf8(text));
    return result;
}

}  // namespace

TEST(SaveFilter, HoldsElevenPairsAndZerosToTheEnd)
{
    const std::string expected =
        "BMP Files (*.BMP)|*.bmp|JPG Files (*.JPG)|*.jpg|JPEG Files (*.JPEG)|*.jpeg|"
        "PNG Files (*.PNG)|*.png|PGM Files (*.PGM)|*.pgm|PNM Files (*.PNM)|*.pnm|"
        "PPM Files (*.PPM)|*.ppm|TIF Files (*.TIF)|*.tif|JP2 Files (*.JP2)|*.jp2|"
        "GIF Files (*.GIF)|*.gif|HDF Files (*.HDF)|*.hdf||";
    ASSERT_EQ(expected.size(), 268u);
    EXPECT_TRUE(FilterIs(expected + "||", szSaveFilter)) << "the array is 270 characters, zero after the text";

    // The default extensions the save dialog matches against follow the
    // filter's order: entry i is the pattern of filter index i + 1.
    const WCHAR* pattern = szSaveFilter;
    for (int i = 0; i < 11; ++i) {
        pattern += lstrlenW(pattern) + 1;
        ASSERT_NE(szSaveFilter2[i], nullptr) << "entry " << i;
        EXPECT_EQ(lstrcmpiW(pattern + 2, szSaveFilter2[i]), 0)
            << "entry " << i << ": " << lvtest::Utf8(szSaveFilter2[i]) << " vs " << lvtest::Utf8(pattern);
        pattern += lstrlenW(pattern) + 1;
    }
    EXPECT_EQ(szSaveFilter2[11], nullptr);
}

TEST(FilterExports, DataAndFunctionsAreReachableByName)
{
    HMODULE module = GetModuleHandleW(L"lorvexops.dll");
    ASSERT_NE(module, nullptr);
    struct Export { const char* name; const void* address; } data[] = {
        {"szStaticOpenFileFilter", szStaticOpenFileFilter},
        {"szSaveFilter2", szSaveFilter2},
        {"szSaveFilter", szSaveFilter},
        {"sPluginSupportedExtensions", &sPluginSupportedExtensions},
        {"szSupportedFilesFilter", &szSupportedFilesFilter},
    };
    for (const Export& e : data)
        EXPECT_EQ(reinterpret_cast<const void*>(GetProcAddress(module, e.name)), e.address) << e.name;
    // Functions are reached through the loader's entry points, so compare
    // what they do rather than their addresses.
    const char* functions[] = {"GetOpenFilterWithoutLVX", "FreeOpenFilterBuffers", "RegisterFileExtension"};
    for (const char* name : functions)
        EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
    using GetFilter = const WCHAR* (*)(void);
    auto get = reinterpret_cast<GetFilter>(GetProcAddress(module, "GetOpenFilter"));
    ASSERT_NE(get, nullptr);
    EXPECT_EQ(get(), GetOpenFilter());
}

TEST(OpenFilter, WithoutPluginsBothTextsAndTheExtensionVector)
{
    ASSERT_TRUE(sPluginSupportedExtensions.empty()) << "this test must run before any registration";
    FreeOpenFilterBuffers();
    szSupportedFilesFilter.clear();

    const WCHAR* without = GetOpenFilterWithoutLVX();
    EXPECT_TRUE(FilterIs(OpenFilterWithout({}), without));
    EXPECT_EQ(Narrow(szSupportedFilesFilter), SupportedWith({}));

    const WCHAR* with = GetOpenFilter();
    EXPECT_TRUE(FilterIs(OpenFilterWith({}), with));
    EXPECT_EQ(Narrow(szSupportedFilesFilter), SupportedWith({})) << "a second build refills, not appends";

    EXPECT_EQ(GetOpenFilter(), with) << "built once, then the same buffer";
    EXPECT_EQ(GetOpenFilterWithoutLVX(), without);

    FreeOpenFilterBuffers();
    FreeOpenFilterBuffers();  // twice is harmless
    szSupportedFilesFilter.clear();
    EXPECT_TRUE(FilterIs(OpenFilterWith({}), GetOpenFilter())) << "rebuilt after release";
    EXPECT_EQ(Narrow(szSupportedFilesFilter), SupportedWith({}));
}

TEST(DibFileInitialize, BothFormsResetTheSharedRecord)
{
    OPENFILENAMEW& record = lorvex::FileDialogRecord();
    static const WCHAR folder[] = L"C:\\Pics";
    static WCHAR file[260];
    HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    for (int form = 0; form < 2; ++form) {
        // Leftovers of an earlier dialog must not survive.
        record.lpstrFilter = L"x\0*.x\0";
        record.nFilterIndex = 3;
        record.lpstrFile = file;
        record.Flags = OFN_EXPLORER;
        record.lCustData = 7;
        record.lpstrTitle = L"old";
        if (form == 0)
            DibFileInitialize(owner);
        else
            DibFileInitialize(owner, folder);
        SCOPED_TRACE(form == 0 ? "window" : "window, folder");
        EXPECT_EQ(record.lStructSize, sizeof(void*) == 4 ? 88u : 152u) << "the whole record";
        EXPECT_EQ(record.hwndOwner, owner);
        EXPECT_EQ(record.hInstance, form == 0 ? nullptr : LorvexGetModuleInstance());
        EXPECT_EQ(record.lpstrInitialDir, form == 0 ? nullptr : folder) << "the pointer is kept";
        EXPECT_EQ(record.lpstrFilter, nullptr);
        EXPECT_EQ(record.nFilterIndex, 0u);
        EXPECT_EQ(record.lpstrFile, nullptr);
        EXPECT_EQ(record.nMaxFile, 260u);
        EXPECT_EQ(record.lpstrFileTitle, nullptr);
        EXPECT_EQ(record.nMaxFileTitle, 260u);
        EXPECT_EQ(record.Flags, 0u);
        EXPECT_WEQ(L"jpg", record.lpstrDefExt);
        EXPECT_EQ(record.lCustData, 0);
        EXPECT_EQ(record.lpfnHook, nullptr);
        EXPECT_EQ(record.lpTemplateName, nullptr);
        EXPECT_EQ(record.lpstrTitle, nullptr);
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

    // Refused: the static types (exact case), null and empty.
    const WCHAR* refused[] = {L"PNG", L"LVX", L"JPEG", L"PSD", nullptr, L""};
    for (const WCHAR* ext : refused) {
        RegisterFileExtension(ext);
        EXPECT_TRUE(sPluginSupportedExtensions.empty()) << (ext ? lvtest::Utf8(ext) : "null");
    }
    EXPECT_EQ(GetOpenFilter(), before) << "a refused registration leaves the buffers alone";

    // Lower-case png is a new extension; the caller's buffer may die after.
    {
        WCHAR scratch[8];
        lstrcpyW(scratch, L"png");
        RegisterFileExtension(scratch);
        lstrcpyW(scratch, L"XXX");
    }
    EXPECT_EQ(Plugins(), std::vector<std::string>({"png"}));
    // Registration rebuilds both texts at once, so the vector is already right.
    EXPECT_EQ(Narrow(szSupportedFilesFilter), SupportedWith({"png"}));
    EXPECT_TRUE(FilterIs(OpenFilterWith({"png"}), GetOpenFilter()));
    EXPECT_TRUE(FilterIs(OpenFilterWithout({"png"}), GetOpenFilterWithoutLVX()));

    // Twice, or the same text from another buffer: nothing changes.
    const WCHAR* built = GetOpenFilter();
    WCHAR again[] = L"png";
    RegisterFileExtension(again);
    EXPECT_EQ(Plugins(), std::vector<std::string>({"png"}));
    EXPECT_EQ(GetOpenFilter(), built);

    // A second plug-in extension follows the first everywhere.
    RegisterFileExtension(L"xyz");
    EXPECT_EQ(Plugins(), std::vector<std::string>({"png", "xyz"}));
    EXPECT_EQ(Narrow(szSupportedFilesFilter), SupportedWith({"png", "xyz"}));
    EXPECT_TRUE(FilterIs(OpenFilterWith({"png", "xyz"}), GetOpenFilter()));
    EXPECT_TRUE(FilterIs(OpenFilterWithout({"png", "xyz"}), GetOpenFilterWithoutLVX()));

    // Case differences from a registered plug-in count as new.
    RegisterFileExtension(L"Xyz");
    EXPECT_EQ(Plugins(), std::vector<std::string>({"png", "xyz", "Xyz"}));

    // Built anew after release, plug-ins included.
    FreeOpenFilterBuffers();
    szSupportedFilesFilter.clear();
    EXPECT_TRUE(FilterIs(OpenFilterWithout({"png", "xyz", "Xyz"}), GetOpenFilterWithoutLVX()));
    EXPECT_EQ(Narrow(szSupportedFilesFilter), SupportedWith({"png", "xyz", "Xyz"}));
}
