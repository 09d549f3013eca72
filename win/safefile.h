// Writing a file without ever losing the one it replaces: the bytes go to a
// unique temporary file in the target's folder, are flushed, and only a
// complete file replaces the target (ReplaceFileW where it exists, so its
// attributes, creation time and permissions stay; a move otherwise). A
// read-only target is refused with ERROR_ACCESS_DENIED, as Windows refuses
// it, even where the process could override the attribute. A failed or
// abandoned write leaves the old file byte for byte and no temporary file.
#pragma once
#include <windows.h>

#include "win/text.h"

namespace lorvex {

class SafeFileWriter {
public:
    SafeFileWriter() = default;
    ~SafeFileWriter() { Abandon(); }
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Opens the temporary file for writing; false (last error set) when the
    // target is read-only, a folder, or its folder cannot be written.
    bool Begin(const WCHAR* target);
    // The open temporary file, to write through; INVALID_HANDLE_VALUE before
    // Begin succeeded.
    HANDLE handle() const { return m_file; }
    const WCHAR* temporaryPath() const { return m_temp.c_str(); }
    // Appends bytes; false on any short write.
    bool Write(const void* data, size_t size);
    // Flushes, closes and puts the file in place of the target; false (the
    // target untouched, the temporary gone) on failure.
    bool Commit();
    // Closes and deletes the temporary file.
    void Abandon();

private:
    WString m_target;
    WString m_temp;
    HANDLE m_file = INVALID_HANDLE_VALUE;
};

// The whole of data written to target through a SafeFileWriter.
bool WriteFileSafely(const WCHAR* target, const void* data, size_t size);

// A copy of the file at source put at target through a SafeFileWriter: an
// older target is replaced only by a complete copy.
bool CopyFileSafely(const WCHAR* source, const WCHAR* target);

}  // namespace lorvex
