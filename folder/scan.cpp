// One directory listing that yields what a search per extension would.
#include "folder/folder_internal.h"

namespace lorvex {

namespace {

// Upper case as the file system compares names.
WCHAR Fold(WCHAR c)
{
    if (c < 0x80)
        return c >= L'a' && c <= L'z' ? static_cast<WCHAR>(c - (L'a' - L'A')) : c;
    return static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

// Wildcard match of a folded pattern ('*' any run, '?' one character).
bool GlobMatches(const WCHAR* pattern, size_t patternLength, const WCHAR* name, size_t length)
{
    size_t p = 0, n = 0, starP = SIZE_MAX, starN = 0;
    while (n < length) {
        if (p < patternLength && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (p < patternLength && (pattern[p] == L'?' || pattern[p] == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (starP != SIZE_MAX) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < patternLength && pattern[p] == L'*')
        ++p;
    return p == patternLength;
}

}  // namespace

ExtensionPattern::ExtensionPattern(const WCHAR* extension)
{
    for (const WCHAR* c = extension; *c; ++c)
        if (*c == L'*' || *c == L'?')
            m_wildcards = true;
    if (m_wildcards)
        m_folded.push_back(L'*');
    m_folded.push_back(L'.');
    for (const WCHAR* c = extension; *c; ++c)
        m_folded.push_back(Fold(*c));
}

bool ExtensionPattern::Matches(const WCHAR* name, size_t length) const
{
    if (m_wildcards)
        return GlobMatches(m_folded.data(), m_folded.size(), name, length);
    // "*.EXT" without other wildcards: the name ends in ".EXT".
    size_t tail = m_folded.size();
    if (length < tail || name[length - tail] != L'.')
        return false;
    const WCHAR* end = name + length - tail;
    for (size_t i = 1; i < tail; ++i)
        if (Fold(end[i]) != m_folded[i])
            return false;
    return true;
}

bool FolderScan::Read(const WCHAR* folder)
{
    m_text.clear();
    m_items.clear();
    m_path.assign(folder, folder + lstrlenW(folder));
    m_folderLength = m_path.size();
    std::vector<WCHAR> pattern(m_path);
    pattern.push_back(L'*');
    pattern.push_back(0);

    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(pattern.data(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    struct SearchCloser {
        HANDLE handle;
        ~SearchCloser() { FindClose(handle); }
        SearchCloser(const SearchCloser&) = delete;
        SearchCloser& operator=(const SearchCloser&) = delete;
    } closer{search};
    do {
        Item item;
        item.nameLength = lstrlenW(data.cFileName);
        item.name = m_text.size();
        m_text.insert(m_text.end(), data.cFileName, data.cFileName + item.nameLength);
        item.shortLength = lstrlenW(data.cAlternateFileName);
        item.shortName = m_text.size();
        m_text.insert(m_text.end(), data.cAlternateFileName, data.cAlternateFileName + item.shortLength);
        item.attributes = data.dwFileAttributes;
        item.size = data.nFileSizeLow;
        item.time = data.ftLastWriteTime;
        m_items.push_back(item);
    } while (FindNextFileW(search, &data));
    return true;
}

void FolderScan::Add(const Item& item, std::vector<CFileEntry*>& list)
{
    m_path.resize(m_folderLength);
    m_path.insert(m_path.end(), m_text.begin() + item.name, m_text.begin() + item.name + item.nameLength);
    m_path.push_back(0);
    std::unique_ptr<CFileEntry> entry = MakeEntry(m_path.data(), item.size, item.time);
    list.push_back(entry.get());
    entry.release();
}

void FolderScan::AddMatches(const ExtensionPattern& pattern, std::vector<CFileEntry*>& list)
{
    for (const Item& item : m_items) {
        const WCHAR* text = m_text.data();
        if (pattern.Matches(text + item.name, item.nameLength) ||
            (item.shortLength && pattern.Matches(text + item.shortName, item.shortLength)))
            Add(item, list);
    }
}

void FolderScan::AddNamesWithoutExtension(std::vector<CFileEntry*>& list)
{
    for (const Item& item : m_items) {
        if (item.attributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const WCHAR* name = m_text.data() + item.name;
        bool hasDot = false;
        for (size_t i = 0; i < item.nameLength && !hasDot; ++i)
            hasDot = name[i] == L'.';
        if (!hasDot)
            Add(item, list);
    }
}

}  // namespace lorvex
