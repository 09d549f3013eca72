// The save types: the exported save filters produced from one list, and the
// rules that map names to types.
#include <lorvexops/companions.h>
#include <lorvexops/filetypes.h>
#include <lorvexops/hostrecords.h>

#include "filetypes/filetypes_internal.h"

#include <shlwapi.h>

#define LORVEX_TYPE_EXTENSION(upper, lower) L## #upper,
#define LORVEX_TYPE_FILTER(upper, lower) L## #upper L" Files (*." L## #upper L")\0*." L## #lower L"\0"

namespace {
constexpr WCHAR kSaveFilterText[] = LORVEX_SAVE_TYPES(LORVEX_TYPE_FILTER) L"\0";
}

extern "C" {

const WCHAR* const szSaveFilter2[12] = {LORVEX_SAVE_TYPES(LORVEX_TYPE_EXTENSION) nullptr};

// 268 characters: the pairs and the zero that ends the list; the rest of the
// array is zero.
WCHAR szSaveFilter[270] = LORVEX_SAVE_TYPES(LORVEX_TYPE_FILTER) L"\0";

}  // extern "C"

static_assert(lorvex::kSaveTypeCount + 1 == sizeof(szSaveFilter2) / sizeof(szSaveFilter2[0]),
              "one name per save type, then null");
static_assert(sizeof(kSaveFilterText) / sizeof(WCHAR) == 268 + 1, "268 characters and the literal's own zero");
static_assert(sizeof(kSaveFilterText) < sizeof(szSaveFilter), "the save filter fits its array");

namespace lorvex {

bool IsPortfolio(const WCHAR* extension)
{
    return extension && EqualNoCase(extension, L"LVX");
}

HostPictureRecord* PictureRecordOf(HWND document)
{
    if (!document || !IsWindow(document))
        return nullptr;
    return reinterpret_cast<HostPictureRecord*>(GetWindowLongPtrW(document, GWLP_USERDATA));
}

int FindSaveTypeIgnoringCase(const WCHAR* extension)
{
    if (!extension || !*extension)
        return -1;
    for (int i = 0; i < kSaveTypeCount; ++i)
        if (lstrcmpiW(extension, szSaveFilter2[i]) == 0)
            return i;
    return -1;
}

int SaveTypeOfName(const WCHAR* name)
{
    if (!name)
        return -1;
    const WCHAR* dot = StrRChrW(name, nullptr, L'.');
    WString extension(dot ? dot + 1 : name);
    if (dot)
        for (WCHAR& c : extension)
            c = AsciiUpper(c);
    for (int i = 0; i < kSaveTypeCount; ++i)
        if (lstrcmpW(extension.c_str(), szSaveFilter2[i]) == 0)
            return i;
    return -1;
}

WString TrimmedExtension(const WCHAR* path)
{
    const WCHAR* found = path ? PathFindExtensionW(path) : nullptr;
    // Longer extensions do not fit the 10-character buffer the dialogs use.
    if (!found || lstrlenW(found) >= 10)
        return WString();
    WString extension(found);
    const size_t first = extension.find_first_not_of(L'.');
    const size_t last = extension.find_last_not_of(L'.');
    return first == WString::npos ? WString() : extension.substr(first, last - first + 1);
}

SaveProposal ProposeSaveName(const WCHAR* currentName, const std::string& format,
                             const WCHAR* lastExtension, DWORD lastFilterIndex)
{
    SaveProposal proposal{WString(currentName ? currentName : L""), lastFilterIndex, lastExtension};
    WString wanted = TrimmedExtension(currentName);
    if (currentName && *PathFindExtensionW(currentName) == 0)
        wanted = CStrAW::a_toW(format).c_str();
    const int index = FindSaveTypeIgnoringCase(wanted.c_str());
    if (index >= 0) {
        proposal.defaultExtension = szSaveFilter2[index];
        proposal.filterIndex = static_cast<DWORD>(index) + 1;
        return proposal;
    }
    const size_t dot = proposal.file.size() - static_cast<size_t>(lstrlenW(PathFindExtensionW(proposal.file.c_str())));
    proposal.file.resize(dot);
    if (lastExtension && *lastExtension) {
        const int last = FindSaveTypeIgnoringCase(lastExtension);
        if (last >= 0)
            proposal.filterIndex = static_cast<DWORD>(last) + 1;
    }
    return proposal;
}

WString ReplaceExtension(const WCHAR* name, const WCHAR* extension)
{
    WString result(name ? name : L"");
    // Only the last path component's dot ends the name: "C:\my.pics\photo"
    // has no extension.
    const size_t dot = result.rfind(L'.');
    const size_t slash = result.find_last_of(L"\\/");
    if (dot != WString::npos && (slash == WString::npos || dot > slash))
        result.resize(dot);
    result += L'.';
    result += extension ? extension : L"";
    return result;
}

}  // namespace lorvex
