#include "win/safefile.h"

#include "win/scoped.h"

#include <shlwapi.h>

namespace lorvex {

bool SafeFileWriter::Begin(const WCHAR* target)
{
    Abandon();
    if (!target || !*target) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const DWORD attributes = GetFileAttributesW(target);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    m_target = target;
    WString folder(target);
    const size_t slash = folder.find_last_of(L"\\/");
    if (slash == WString::npos)
        folder = L".";
    else
        folder.resize(slash ? slash : 1);
    WString temp(static_cast<size_t>(MAX_PATH) + 1, L'\0');
    // GetTempFileNameW takes a folder of at most MAX_PATH - 14 characters.
    if (folder.size() > MAX_PATH - 14 || !GetTempFileNameW(folder.c_str(), L"lvx", 0, &temp[0]))
        return false;
    temp.resize(static_cast<size_t>(lstrlenW(temp.c_str())));
    m_temp = temp;
    m_file = CreateFileW(m_temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        DeleteFileW(m_temp.c_str());
        m_temp.clear();
        SetLastError(error);
        return false;
    }
    return true;
}

bool SafeFileWriter::Write(const void* data, size_t size)
{
    if (m_file == INVALID_HANDLE_VALUE)
        return false;
    const BYTE* bytes = static_cast<const BYTE*>(data);
    while (size) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(m_file, bytes, chunk, &written, nullptr) || written != chunk)
            return false;
        bytes += chunk;
        size -= chunk;
    }
    return true;
}

bool SafeFileWriter::Commit()
{
    if (m_file == INVALID_HANDLE_VALUE)
        return false;
    // The replaced file's identity: ReplaceFileW keeps it on Windows; where
    // the platform's version does not, the creation time goes onto the new
    // file and the attributes are put back after the move.
    WIN32_FILE_ATTRIBUTE_DATA old = {};
    const bool existed = GetFileAttributesExW(m_target.c_str(), GetFileExInfoStandard, &old) != 0;
    if (existed)
        SetFileTime(m_file, &old.ftCreationTime, nullptr, nullptr);
    const bool flushed = FlushFileBuffers(m_file) != 0;
    const bool closed = CloseHandle(m_file) != 0;
    m_file = INVALID_HANDLE_VALUE;
    bool placed = false;
    if (flushed && closed) {
        if (existed)
            placed = ReplaceFileW(m_target.c_str(), m_temp.c_str(), nullptr,
                                  REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
        else
            placed = MoveFileExW(m_temp.c_str(), m_target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
        if (placed && existed)
            SetFileAttributesW(m_target.c_str(), old.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                                         FILE_ATTRIBUTE_ARCHIVE));
    }
    const DWORD error = GetLastError();
    if (placed)
        m_temp.clear();
    Abandon();
    SetLastError(error);
    return placed;
}

void SafeFileWriter::Abandon()
{
    if (m_file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
    if (!m_temp.empty()) {
        DeleteFileW(m_temp.c_str());
        m_temp.clear();
    }
}

bool WriteFileSafely(const WCHAR* target, const void* data, size_t size)
{
    SafeFileWriter writer;
    return writer.Begin(target) && writer.Write(data, size) && writer.Commit();
}

bool CopyFileSafely(const WCHAR* source, const WCHAR* target)
{
    ScopedFile input(CreateFileW(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    SafeFileWriter writer;
    if (!input || !writer.Begin(target))
        return false;
    const DWORD blockSize = 1 << 20;
    HeapBlock block(blockSize);
    if (!block)
        return false;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(input.get(), block.get(), blockSize, &read, nullptr))
            return false;
        if (!read)
            return writer.Commit();
        if (!writer.Write(block.get(), read))
            return false;
    }
}

}  // namespace lorvex
