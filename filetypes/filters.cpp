// Picture types, plug-in extensions and the open/save filter texts.
#include "filters_internal.h"

#include <lorvexops/filetypes.h>

#include "resources/module.h"

#include <vector>

extern "C" {

const FILTERFILEEXTRY szStaticOpenFileFilter[14] = {
    {L"BMP", nullptr}, {L"JPG", nullptr}, {L"JPEG", nullptr}, {L"PNG", nullptr},
    {L"PGM", nullptr}, {L"PNM", nullptr}, {L"PPM", nullptr}, {L"TIF", nullptr},
    {L"JP2", nullptr}, {L"J2C", nullptr}, {L"GIF", nullptr}, {L"HDF", nullptr},
    {L"PSD", L"Photoshop"}, {L"LVX", L"LVX Portfolio"},
};

const WCHAR* const szSaveFilter2[12] = {
    L"BMP", L"JPG", L"JPEG", L"PNG", L"PGM", L"PNM", L"PPM", L"TIF", L"JP2", L"GIF", L"HDF", nullptr,
};

WCHAR szSaveFilter[270] =
    L"BMP Files (*.BMP)\0*.bmp\0"
    L"JPG Files (*.JPG)\0*.jpg\0"
    L"JPEG Files (*.JPEG)\0*.jpeg\0"
    L"PNG Files (*.PNG)\0*.png\0"
    L"PGM Files (*.PGM)\0*.pgm\0"
    L"PNM Files (*.PNM)\0*.pnm\0"
    L"PPM Files (*.PPM)\0*.ppm\0"
    L"TIF Files (*.TIF)\0*.tif\0"
    L"JP2 Files (*.JP2)\0*.jp2\0"
    L"GIF Files (*.GIF)\0*.gif\0"
    L"HDF Files (*.HDF)\0*.hdf\0"
    L"\0";

// Both containers are static objects: their destructors release the list and
// the vector's storage when the library is unloaded.
std::list<const WCHAR*> sPluginSupportedExtensions;
std::vector<const WCHAR*> szSupportedFilesFilter;

}  // extern "C"

namespace {

// A growing wide text. std::basic_string<WCHAR> cannot be used here: its
// traits measure with the C library's 4-byte wcslen.
class WText {
public:
    WText() = default;
    explicit WText(const WCHAR* text) { *this += text; }
    WText& operator+=(const WCHAR* text)
    {
        m_chars.insert(m_chars.end(), text, text + lstrlenW(text));
        return *this;
    }
    WText& operator+=(WCHAR c)
    {
        m_chars.push_back(c);
        return *this;
    }
    size_t size() const { return m_chars.size(); }
    WCHAR operator[](size_t i) const { return m_chars[i]; }

private:
    std::vector<WCHAR> m_chars;
};

const WCHAR kPortfolioExt[] = L"LVX";

// The library's copies of the registered extensions. A list, so that the
// pointers handed out stay valid as more are added.
std::list<std::vector<WCHAR>> g_pluginTexts;

// The two filter texts. They are released only by FreeOpenFilterBuffers (and
// by a registration, which rebuilds them), never at unload, so a host may
// still free them from its own shutdown code.
struct FilterBuffers {
    WCHAR* withPortfolio = nullptr;
    WCHAR* withoutPortfolio = nullptr;
};
FilterBuffers g_filters;

OPENFILENAMEW g_fileDialog;

bool IsPortfolio(const WCHAR* ext) { return lstrcmpiW(ext, kPortfolioExt) == 0; }

void AppendTypeEntry(WText& text, const WCHAR* description, const WCHAR* ext)
{
    text += description;
    text += L" Files (*.";
    text += ext;
    text += L")\t*.";
    text += ext;
    text += L'\t';
}

// Builds one open filter text and refills szSupportedFilesFilter on the way.
// The text is assembled with tabs as separators, then the tabs become zeros.
WCHAR* BuildOpenFilter(bool withPortfolio)
{
    szSupportedFilesFilter.clear();
    WText text(L"Supported Formats \t");
    for (const FILTERFILEEXTRY& row : szStaticOpenFileFilter) {
        bool portfolio = IsPortfolio(row.szExt);
        if (!portfolio)
            szSupportedFilesFilter.push_back(row.szExt);
        if (withPortfolio || !portfolio) {
            text += L"*.";
            text += row.szExt;
            text += L';';
        }
    }
    for (const WCHAR* ext : sPluginSupportedExtensions) {
        if (!ext)
            continue;
        szSupportedFilesFilter.push_back(ext);
        text += L"*.";
        text += ext;
        text += L';';
    }
    text += L'\t';
    for (const FILTERFILEEXTRY& row : szStaticOpenFileFilter) {
        if (!withPortfolio && IsPortfolio(row.szExt))
            continue;
        AppendTypeEntry(text, row.szDescription ? row.szDescription : row.szExt, row.szExt);
    }
    for (const WCHAR* ext : sPluginSupportedExtensions) {
        if (ext)
            AppendTypeEntry(text, ext, ext);
    }
    text += withPortfolio ? L"All Files (*.*)\t*.*\t\t" : L"\t\t";

    WCHAR* buffer = new WCHAR[text.size() + 1];
    for (size_t i = 0; i < text.size(); ++i)
        buffer[i] = text[i] == L'\t' ? L'\0' : text[i];
    buffer[text.size()] = L'\0';
    return buffer;
}

void FreeFilters()
{
    delete[] g_filters.withPortfolio;
    g_filters.withPortfolio = nullptr;
    delete[] g_filters.withoutPortfolio;
    g_filters.withoutPortfolio = nullptr;
}

bool IsRegistered(const WCHAR* ext)
{
    for (const FILTERFILEEXTRY& row : szStaticOpenFileFilter)
        if (lstrcmpW(ext, row.szExt) == 0)
            return true;
    for (const WCHAR* known : sPluginSupportedExtensions)
        if (known && lstrcmpW(ext, known) == 0)
            return true;
    return false;
}

void ResetFileDialog(HWND owner)
{
    g_fileDialog = OPENFILENAMEW();
    g_fileDialog.lStructSize = lorvex::kFileDialogRecordSize;
    g_fileDialog.hwndOwner = owner;
    g_fileDialog.nMaxFile = lorvex::kFileDialogBufferChars;
    g_fileDialog.nMaxFileTitle = lorvex::kFileDialogBufferChars;
    g_fileDialog.lpstrDefExt = L"jpg";
}

}  // namespace

namespace lorvex {

const WCHAR* OpenFilterText(bool withPortfolio)
{
    WCHAR*& slot = withPortfolio ? g_filters.withPortfolio : g_filters.withoutPortfolio;
    if (!slot)
        slot = BuildOpenFilter(withPortfolio);
    return slot;
}

OPENFILENAMEW& FileDialogRecord() { return g_fileDialog; }

}  // namespace lorvex

extern "C" const WCHAR* GetOpenFilter(void)
{
    try {
        return lorvex::OpenFilterText(true);
    } catch (...) {
        return nullptr;
    }
}

extern "C" const WCHAR* GetOpenFilterWithoutLVX(void)
{
    try {
        return lorvex::OpenFilterText(false);
    } catch (...) {
        return nullptr;
    }
}

extern "C" void FreeOpenFilterBuffers(void)
{
    FreeFilters();
}

extern "C" void RegisterFileExtension(const WCHAR* extension)
{
    try {
        if (!extension || !*extension || IsRegistered(extension))
            return;
        g_pluginTexts.emplace_back(extension, extension + lstrlenW(extension) + 1);
        const WCHAR* copy = g_pluginTexts.back().data();
        try {
            sPluginSupportedExtensions.push_back(copy);
        } catch (...) {
            g_pluginTexts.pop_back();
            throw;
        }
        szSupportedFilesFilter.push_back(copy);
        FreeFilters();
        lorvex::OpenFilterText(true);
        lorvex::OpenFilterText(false);
    } catch (...) {
    }
}

void DibFileInitialize(HWND owner)
{
    ResetFileDialog(owner);
}

void DibFileInitialize(HWND owner, const WCHAR* initialFolder)
{
    ResetFileDialog(owner);
    g_fileDialog.hInstance = lorvex::ModuleInstance();
    g_fileDialog.lpstrInitialDir = initialFolder;
}
