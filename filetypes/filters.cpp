// Picture types, plug-in extensions and the open/save filter texts.
#include "win/guard.h"
#include "filetypes/filetypes_internal.h"

#include <lorvexops/filetypes.h>

#include "resources/module.h"

#include <list>
#include <vector>

extern "C" {

const FILTERFILEEXTRY szStaticOpenFileFilter[14] = {
    {L"BMP", nullptr}, {L"JPG", nullptr}, {L"JPEG", nullptr}, {L"PNG", nullptr},
    {L"PGM", nullptr}, {L"PNM", nullptr}, {L"PPM", nullptr}, {L"TIF", nullptr},
    {L"JP2", nullptr}, {L"J2C", nullptr}, {L"GIF", nullptr}, {L"HDF", nullptr},
    {L"PSD", L"Photoshop"}, {L"LVX", L"LVX Portfolio"},
};

// Both containers are static objects: their destructors release the list and
// the vector's storage when the library is unloaded.
std::list<const WCHAR*> sPluginSupportedExtensions;
std::vector<const WCHAR*> szSupportedFilesFilter;

}  // extern "C"

namespace {

// The library's copies of the registered extensions. A list, so that the
// pointers handed out stay valid as more are added.
std::list<lorvex::WString> g_pluginTexts;

// The two filter texts. They are released only by FreeOpenFilterBuffers (and
// by a registration, which rebuilds them), never at unload, so a host may
// still free them from its own shutdown code.
struct FilterBuffers {
    WCHAR* withPortfolio = nullptr;
    WCHAR* withoutPortfolio = nullptr;
};
FilterBuffers g_filters;

OPENFILENAMEW g_fileDialog;

void AppendTypeEntry(lorvex::WString& text, const WCHAR* description, const WCHAR* ext)
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
    lorvex::WString text(L"Supported Formats \t");
    for (const FILTERFILEEXTRY& row : szStaticOpenFileFilter) {
        bool portfolio = lorvex::IsPortfolio(row.szExt);
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
        if (!withPortfolio && lorvex::IsPortfolio(row.szExt))
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
    return lorvex::Guarded<const WCHAR*>(nullptr, [&]() -> const WCHAR* {
        return lorvex::OpenFilterText(true);
    });
}

extern "C" const WCHAR* GetOpenFilterWithoutLVX(void)
{
    return lorvex::Guarded<const WCHAR*>(nullptr, [&]() -> const WCHAR* {
        return lorvex::OpenFilterText(false);
    });
}

extern "C" void FreeOpenFilterBuffers(void)
{
    FreeFilters();
}

extern "C" void RegisterFileExtension(const WCHAR* extension)
{
    lorvex::Guarded([&] {
        if (!extension || !*extension || IsRegistered(extension))
            return;
        g_pluginTexts.emplace_back(extension);
        const WCHAR* copy = g_pluginTexts.back().c_str();
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
    });
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
