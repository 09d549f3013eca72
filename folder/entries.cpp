// File and browse records, and the order in which the list sorts entries.
#include <lorvexops/folder.h>

#include <shlwapi.h>

extern "C" {
DWORD gdwSortingMode = SORT_BY_NAME;
BOOL bSortAscending = TRUE;
}

CFileEntry::CFileEntry() : pName(nullptr), dwSize(0), ftLastWrite() {}

CFileEntry::~CFileEntry()
{
    delete pName;
}

CFileEntry& CFileEntry::operator=(const CFileEntry& other)
{
    pName = other.pName;
    dwSize = other.dwSize;
    ftLastWrite = other.ftLastWrite;
    return *this;
}

CInfoBrowse::CInfoBrowse()
    : pPath(nullptr), bHostFlag(1), nIndex(-1), nFirst(0), nLast(0), nIndexUpdate(-1), bHasFiles(0)
{
}

CInfoBrowse::~CInfoBrowse()
{
    delete pPath;
}

CInfoBrowse& CInfoBrowse::operator=(const CInfoBrowse& other)
{
    pPath = other.pPath;
    bHostFlag = other.bHostFlag;
    nIndex = other.nIndex;
    nFirst = other.nFirst;
    nLast = other.nLast;
    nIndexUpdate = other.nIndexUpdate;
    bHasFiles = other.bHasFiles;
    return *this;
}

namespace {

const WCHAR kEmpty[] = L"";

const WCHAR* PathOf(const CFileEntry* entry)
{
    return entry && entry->pName ? entry->pName->c_str() : kEmpty;
}

// The extension without its dot, or null when the name has none. Only the
// name's own characters are read.
const WCHAR* ExtensionKey(const CFileEntry* entry)
{
    const WCHAR* dot = PathFindExtensionW(PathOf(entry));
    return dot && *dot ? dot + 1 : nullptr;
}

// Whether a's key is smaller than b's under the given mode.
bool KeyLess(DWORD mode, const CFileEntry* a, const CFileEntry* b)
{
    switch (mode) {
    case SORT_BY_SIZE:
        return (a ? a->dwSize : 0) < (b ? b->dwSize : 0);
    case SORT_BY_DATE: {
        FILETIME none = {};
        return CompareFileTime(a ? &a->ftLastWrite : &none, b ? &b->ftLastWrite : &none) < 0;
    }
    default: {
        static const MyString empty;
        const MyString& nameA = a && a->pName ? *a->pName : empty;
        const MyString& nameB = b && b->pName ? *b->pName : empty;
        return nameA.Compare(nameB) < 0;
    }
    }
}

}  // namespace

bool FileEntryBefore(const CFileEntry* a, const CFileEntry* b)
{
    DWORD mode = gdwSortingMode;
    bool ascending = bSortAscending != 0;
    if (mode == SORT_BY_EXTENSION) {
        // Names without an extension go last whichever the direction.
        const WCHAR* extA = ExtensionKey(a);
        if (!extA)
            return false;
        const WCHAR* extB = ExtensionKey(b);
        if (!extB)
            return true;
        int order = lstrcmpiW(extA, extB);
        return ascending ? order < 0 : order > 0;
    }
    return ascending ? KeyLess(mode, a, b) : KeyLess(mode, b, a);
}
