// One directory listing that yields what a search per extension would.
#include "folder/folder_internal.h"

#include "win/scoped.h"
#include "win/text.h"

namespace lorvex {

namespace {

// Wildcard match of a folded pattern ('*' any run, '?' one character).
bool GlobMatches(const WCHAR* pattern, size_t patternLength, const WCHAR* name, size_t length)
{
    size_t p = 0, n = 0, starP = SIZE_MAX, starN = 0;
    while (n < length) {
        if (p < patternLength && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (p < patternLength && (pattern[p] == L'?' || pattern[p] == FoldCase(name[n]))) {
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
        m_folded += L'*';
    m_folded += L'.';
    for (const WCHAR* c = extension; *c; ++c)
        m_folded += FoldCase(*c);
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
        if (FoldCase(end[i]) != m_folded[i])
            return false;
    return true;
}

bool FolderScan::Read(const WCHAR* folder)
{
    m_text.clear();
    m_items.clear();
    m_path = folder;
    m_folderLength = m_path.size();
    const WString pattern = m_path + L"*";

    WIN32_FIND_DATAW data;
    ScopedFind search(FindFirstFileW(pattern.c_str(), &data));
    if (!search)
        return false;
    do {
        Item item;
        item.nameLength = lstrlenW(data.cFileName);
        item.name = m_text.size();
        m_text.append(data.cFileName, item.nameLength);
        item.shortLength = lstrlenW(data.cAlternateFileName);
        item.shortName = m_text.size();
        m_text.append(data.cAlternateFileName, item.shortLength);
        item.attributes = data.dwFileAttributes;
        item.size = data.nFileSizeLow;
        item.time = data.ftLastWriteTime;
        if (item.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            FollowLink(item, data.cFileName);
        // Folders are never pictures, whatever their name ends in.
        if (!(item.attributes & FILE_ATTRIBUTE_DIRECTORY))
            m_items.push_back(item);
    } while (FindNextFileW(search.get(), &data));
    return true;
}

// A link is listed with the size and time of the file it points to: the
// listing itself describes the link, which reads as an empty file.
void FolderScan::FollowLink(Item& item, const WCHAR* name)
{
    m_path.resize(m_folderLength);
    m_path += name;
    WIN32_FILE_ATTRIBUTE_DATA target;
    if (!GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &target))
        return;
    item.attributes = target.dwFileAttributes;
    item.size = target.nFileSizeLow;
    item.time = target.ftLastWriteTime;
}

void FolderScan::Add(const Item& item, std::vector<CFileEntry*>& list)
{
    m_path.resize(m_folderLength);
    m_path.append(m_text, item.name, item.nameLength);
    std::unique_ptr<CFileEntry> entry = MakeEntry(m_path.c_str(), item.size, item.time);
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
        const WCHAR* name = m_text.data() + item.name;
        bool hasDot = false;
        for (size_t i = 0; i < item.nameLength && !hasDot; ++i)
            hasDot = name[i] == L'.';
        if (!hasDot)
            Add(item, list);
    }
}

}  // namespace lorvex
