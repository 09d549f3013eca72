// Internals of the folder list shared by its source files.
#pragma once
#include <lorvexops/folder.h>
#include <lorvexops/widestring.h>

#include <memory>
#include <vector>

namespace lorvex {

// A new entry owning a new copy of path.
std::unique_ptr<CFileEntry> MakeEntry(const WCHAR* path, DWORD size, const FILETIME& time);
// Destroys entries [first, last) and takes them out of the vector.
void DestroyEntries(std::vector<CFileEntry*>& entries, size_t first, size_t last);
// The view option "OpenFileOutExt" is 1.
bool ListsNamesWithoutExtension();

// The file-name pattern "*." + extension, matched the way the platform's
// directory search matches it: ignoring case, against the long name and
// against the generated 8.3 name (so "*.TIF" also finds "scan.tiff").
class ExtensionPattern {
public:
    explicit ExtensionPattern(const WCHAR* extension);
    bool Matches(const WCHAR* name, size_t length) const;

private:
    WString m_folded;            // "." + extension, or the whole pattern
    bool m_wildcards = false;      // the extension itself holds * or ?
};

// One listing of a folder (every name, with its short name, attributes, size
// and time), from which each pattern's matches are taken in listing order as
// separate searches would return them.
class FolderScan {
public:
    // Lists folder (ending in a backslash); false when it cannot be read.
    bool Read(const WCHAR* folder);
    // Appends an entry for every file (not folder) the pattern matches.
    void AddMatches(const ExtensionPattern& pattern, std::vector<CFileEntry*>& list);
    // Appends an entry for every file (not folder) whose name has no dot.
    void AddNamesWithoutExtension(std::vector<CFileEntry*>& list);

private:
    struct Item {
        size_t name;           // offsets into m_text
        size_t nameLength;
        size_t shortName;
        size_t shortLength;
        DWORD attributes;
        DWORD size;
        FILETIME time;
    };
    void Add(const Item& item, std::vector<CFileEntry*>& list);
    void FollowLink(Item& item, const WCHAR* name);

    WString m_text;               // every name and short name, one after another
    std::vector<Item> m_items;
    WString m_path;               // the folder, then the current name
    size_t m_folderLength = 0;
};

}  // namespace lorvex
