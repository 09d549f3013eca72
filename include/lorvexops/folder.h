// lorvexops public interface: folder.
//
// The sorted list of picture files of a folder that the viewer steps through,
// plus groups of files the host appends later, and the edits that keep it in
// step with the disk.
#pragma once
#include <windows.h>
#include <vector>

#include "lorvexops/companions.h"

// One file of the list. The record owns the string pName points to.
class CFileEntry {
public:
    CFileEntry();                 // null name, size 0, time 0
    ~CFileEntry();                // destroys *pName
    // Copies the fields, the name pointer included: afterwards both records
    // point to one string, so only one of them may be destroyed.
    CFileEntry& operator=(const CFileEntry& other);
    CFileEntry(const CFileEntry&) = delete;

    MyString* pName;              // full path: folder, backslash, file name
    DWORD dwSize;                 // low 32 bits of the file size
    FILETIME ftLastWrite;
};

// One folder, or one appended group of files: entries nFirst..nLast of the
// file list. The record owns the string pPath points to.
class CInfoBrowse {
public:
    CInfoBrowse();                // flag 1, index -1, range 0..0, key -1, no files
    ~CInfoBrowse();               // destroys *pPath
    // Copies all fields, the path pointer included (see CFileEntry).
    CInfoBrowse& operator=(const CInfoBrowse& other);
    CInfoBrowse(const CInfoBrowse&) = delete;

    MyString* pPath;
    BYTE bHostFlag;               // the host's; set to 1, never read here
    int nIndex;                   // own position in the browse list
    int nFirst;
    int nLast;                    // nFirst - 1 for an empty range
    int nIndexUpdate;             // a key the host assigns
    BYTE bHasFiles;               // 1 when the range holds an entry
};

// Sort keys of gdwSortingMode; every other value sorts by name.
enum {
    SORT_BY_NAME = 0,             // full path, MyString::Compare (natural order)
    SORT_BY_EXTENSION = 1,        // extension without dot, lstrcmpiW
    SORT_BY_SIZE = 2,             // dwSize, unsigned
    SORT_BY_DATE = 3              // ftLastWrite, CompareFileTime
};

extern "C" {
// Read at every comparison: the key, and the direction (non-zero ascending).
extern DWORD gdwSortingMode;
extern BOOL bSortAscending;
}

// The list order: true when a comes before b under the current globals.
// Equal keys have no order among themselves (there is no second key). In
// extension order a name without an extension comes after every name that
// has one, in both directions.
bool FileEntryBefore(const CFileEntry* a, const CFileEntry* b);

// The picture list. It owns every entry and record in its two vectors and
// the strings they point to. Copies are deep: entries, records and strings
// of their own.
class SortDir {
public:
    SortDir();
    // One browse record whose path is a copy of folder as passed; directory
    // stays empty. The number is ignored.
    SortDir(MyString& folder, unsigned int reserved);
    SortDir(const SortDir& other);
    SortDir& operator=(const SortDir& other);
    virtual ~SortDir();

    // Destroys every entry and record; directory and nHostValue stay.
    void ClearList();
    // Starts an empty list of folder (a backslash is added when missing).
    void InitializeSortDir(const WCHAR* folder, unsigned int reserved);

    // Takes ownership of path; appends an entry when the file's attributes
    // can be read, otherwise destroys the string.
    void PushFile(MyString* path);
    void PushImage(MyString path);
    // Adds the folder's files of every supported extension (and, when the
    // view option "OpenFileOutExt" is 1, the names without an extension),
    // then sorts the whole list.
    void CreateSortedImageList();

    // Name of entry i, owned by the list; null out of range or for an entry
    // of size 0.
    MyString* GetString(int i);
    // First entry whose name equals name exactly, or -1.
    int GetIndex(MyString& name);
    // First entry from start on, wrapping around once, whose file name begins
    // with ch (letters a-z folded to upper case), or -1.
    int GetIndexFirstLater(WCHAR ch, int start);
    // nIndex of the first record whose range holds entry i, or -1.
    int GetIndexListBrowse(int i);
    // nFirst of record b, or 0 for a bad b.
    int GetIndexFirstImgBrowse(int b);
    CInfoBrowse* GetInfoBrowse(int b);
    CInfoBrowse* GetInfoBrowseIndexUppdate(int key);
    int GetLengthFileList();
    int GetLenghtInfoBrowse();
    MyString GetDirectory();
    const std::vector<CFileEntry*>* GetFileList() const;

    // Appends a group made from the paths of v (the caller keeps v's
    // entries); name becomes the record's path.
    void Append(std::vector<CFileEntry*> v, const WCHAR* name);
    // Appends r (the list takes it); the caller has set nFirst and bHasFiles.
    void Append(CInfoBrowse* r);
    // Replaces the files of group b by those of v that can be read; later
    // groups shift. 1 done, 0 for a bad b.
    int Replace(std::vector<CFileEntry*> v, int b);
    // Removes group b and its files. 1 removed, 0 for a bad b.
    int Remove(int b);
    // Empties the list and directory; the vectors keep their storage.
    void RemoveAll();
    // Drops the first entry whose name equals entry i's, ignoring case (the
    // disk is not touched; ranges are not adjusted). 1 removed, 0 refused.
    int DeleteFileW(unsigned int i);
    // Renames on disk, then in the list: 1 done, 0 the rename failed, -1
    // renamed but not in the list.
    int RenameFile(const WCHAR* oldPath, const WCHAR* newPath);
    // Renames every file to directory + base + number ("%04u", from first) +
    // its extension. 1 when all succeeded; 0 after a failure, with the files
    // renamed so far put back under their old names.
    int RenameImageList(MyString& base, int first);

    std::vector<CFileEntry*> fileList;
    int nHostValue;
    MyString directory;
    std::vector<CInfoBrowse*> browseList;
};
