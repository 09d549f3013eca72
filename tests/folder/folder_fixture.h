// Real folders for the folder-list tests: files with chosen sizes (written
// bytes) and times (SetFileTime), and readable views of a list.
#pragma once
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <string>
#include <vector>

namespace fx {

// A new folder under the temporary folder, removed with its content at the
// end of the test.
class Scratch {
public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const MyString& path() const { return m_path; }
    // path + "\" + name
    MyString operator/(const WCHAR* name) const;

private:
    MyString m_path;
};

// Hours after a fixed day, as a file time.
FILETIME Hours(int hours);
// Writes size bytes (a sparse tail when size is beyond 32 bits) and sets the
// last-write time; true on success.
bool MakeFile(const MyString& path, unsigned long long size, FILETIME time = Hours(0));
bool MakeFolder(const MyString& path);
std::string ReadText(const MyString& path);   // "(missing)" when unreadable
bool Exists(const MyString& path);

// The file names (last path part, UTF-8) of the list, in order.
std::vector<std::string> Names(SortDir& list);
// "nIndex:nFirst..nLast:bHasFiles" of every record.
std::vector<std::string> Ranges(SortDir& list);
// The names of the folder on disk, sorted.
std::vector<std::string> DiskNames(const MyString& folder);

// Sets the sort globals and the view option for a scope.
class SortSelection {
public:
    SortSelection(DWORD mode, BOOL ascending);
    ~SortSelection();
    SortSelection(const SortSelection&) = delete;
    SortSelection& operator=(const SortSelection&) = delete;
private:
    DWORD m_mode;
    BOOL m_ascending;
};
class NamesWithoutExtension {
public:
    explicit NamesWithoutExtension(int value);
    ~NamesWithoutExtension();
    NamesWithoutExtension(const NamesWithoutExtension&) = delete;
    NamesWithoutExtension& operator=(const NamesWithoutExtension&) = delete;
private:
    int m_old;
};

// Makes a folder read-only for everyone, root included, for a scope; locked()
// is false when the platform refused.
class LockedFolder {
public:
    explicit LockedFolder(const MyString& folder);
    ~LockedFolder();
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;
    bool locked() const { return m_locked; }
private:
    std::string m_unixPath;
    bool m_locked = false;
};

// Lists folder with a built filter.
void ListFolder(SortDir& list, const MyString& folder);

}  // namespace fx
