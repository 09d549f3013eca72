// The host's zip library: packs files into one zip archive.
#pragma once
#include <windows.h>

// One archive at a time. Entries are named by the file name of the path
// they came from (UTF-8, with the language-encoding flag); a name already in
// the archive, compared without regard to case, gets " (2)", " (3)"...
// before its extension, so no entry hides another when unpacked. Pictures
// that are compressed already (JPEG, PNG, GIF, recognised by their content)
// are stored, everything else deflated. The archive is written under a
// temporary name beside its path and only a complete one is put there by
// Close: an archive that is never closed, or that failed, leaves nothing
// behind and never replaces an older file at its path. No call throws.
class CZLib {
public:
    CZLib();
    ~CZLib();
    CZLib(const CZLib&) = delete;
    CZLib& operator=(const CZLib&) = delete;

    // Starts a new archive for path; mode 0 is the only mode (a new archive,
    // replacing any file at path when closed). Non-zero on success. An archive
    // still open is abandoned first.
    int Open(const WCHAR* path, int mode);
    // Adds the whole content of the file at path. Non-zero on success; a file
    // that cannot be opened adds nothing, and one that fails while being read
    // spoils the archive (Close then fails).
    int AddFile(const WCHAR* path);
    // Finishes the archive and puts it at its path; non-zero when a complete
    // archive is there.
    int Close();

private:
    struct State;
    State* m_state;
};
