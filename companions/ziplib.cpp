// CZLib on minizip. minizip writes through the file functions below, which go
// to the temporary file of a SafeFileWriter: the archive only reaches its
// name when it is complete.
#include <lorvexops/ziplib.h>

#include "win/guard.h"
#include "win/safefile.h"
#include "win/scoped.h"
#include "win/text.h"

#include <minizip/zip.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Read in large blocks: storing is bound by I/O, and each call into the
// platform costs more under Wine than a native read.
const DWORD kReadBlock = 1 << 20;

// minizip's file functions over the writer's open handle.
voidpf ZCALLBACK OpenArchive(voidpf opaque, const void*, int)
{
    return static_cast<lorvex::SafeFileWriter*>(opaque)->handle();
}

uLong ZCALLBACK ReadArchive(voidpf, voidpf stream, void* buffer, uLong size)
{
    DWORD read = 0;
    return ReadFile(stream, buffer, static_cast<DWORD>(size), &read, nullptr) ? read : 0;
}

uLong ZCALLBACK WriteArchive(voidpf, voidpf stream, const void* buffer, uLong size)
{
    DWORD written = 0;
    return WriteFile(stream, buffer, static_cast<DWORD>(size), &written, nullptr) ? written : 0;
}

ZPOS64_T ZCALLBACK TellArchive(voidpf, voidpf stream)
{
    LARGE_INTEGER zero = {}, position = {};
    return SetFilePointerEx(stream, zero, &position, FILE_CURRENT) ? position.QuadPart : ZPOS64_T(-1);
}

long ZCALLBACK SeekArchive(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    const DWORD method = origin == ZLIB_FILEFUNC_SEEK_CUR   ? FILE_CURRENT
                         : origin == ZLIB_FILEFUNC_SEEK_END ? FILE_END
                                                            : FILE_BEGIN;
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(stream, distance, nullptr, method) ? 0 : -1;
}

// The writer closes the handle when it commits or abandons.
int ZCALLBACK CloseArchive(voidpf, voidpf) { return 0; }
int ZCALLBACK ArchiveError(voidpf, voidpf) { return 0; }

// Content that deflating does not shrink: JPEG, PNG and GIF signatures.
bool AlreadyCompressed(const BYTE* head, DWORD size)
{
    static const BYTE jpeg[] = {0xFF, 0xD8, 0xFF};
    static const BYTE png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto starts = [&](const BYTE* magic, DWORD length) {
        return size >= length && std::memcmp(head, magic, length) == 0;
    };
    return starts(jpeg, sizeof jpeg) || starts(png, sizeof png) ||
           starts(reinterpret_cast<const BYTE*>("GIF87a"), 6) ||
           starts(reinterpret_cast<const BYTE*>("GIF89a"), 6);
}

std::string Utf8(const lorvex::WString& text)
{
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(bytes > 0 ? static_cast<size_t>(bytes) : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &result[0], bytes, nullptr, nullptr);
    return result;
}

// The entry's time stamp: the file's last write in local time.
void SetEntryTime(const FILETIME& written, zip_fileinfo& info)
{
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &time))
        return;
    info.tmz_date.tm_sec = time.wSecond;
    info.tmz_date.tm_min = time.wMinute;
    info.tmz_date.tm_hour = time.wHour;
    info.tmz_date.tm_mday = time.wDay;
    info.tmz_date.tm_mon = time.wMonth - 1;
    info.tmz_date.tm_year = time.wYear;
}

}  // namespace

struct CZLib::State {
    lorvex::SafeFileWriter writer;
    zipFile zip = nullptr;
    bool failed = false;
    lorvex::UniqueNames names;
    std::vector<BYTE> block;

    ~State() { Abandon(); }

    void Abandon()
    {
        if (zip)
            zipClose(zip, nullptr);   // frees minizip's state; the file is dropped below
        zip = nullptr;
        writer.Abandon();
        names = lorvex::UniqueNames();
        failed = false;
    }

    bool Add(const WCHAR* path)
    {
        lorvex::ScopedFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        BY_HANDLE_FILE_INFORMATION about;
        if (!file || !GetFileInformationByHandle(file.get(), &about))
            return false;
        block.resize(kReadBlock);
        DWORD read = 0;
        if (!ReadFile(file.get(), block.data(), kReadBlock, &read, nullptr))
            return false;

        zip_fileinfo info = {};
        SetEntryTime(about.ftLastWriteTime, info);
        const ULONGLONG size = (ULONGLONG(about.nFileSizeHigh) << 32) | about.nFileSizeLow;
        const int method = AlreadyCompressed(block.data(), read) ? 0 : Z_DEFLATED;
        const std::string name = Utf8(names.Take(PathFindFileNameW(path)));
        // Bit 11: the name is UTF-8.
        if (zipOpenNewFileInZip4_64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                    Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                                    nullptr, 0, 0, 1 << 11, size >= 0xFFFFFFFFull ? 1 : 0) != ZIP_OK) {
            failed = true;
            return false;
        }
        bool ok = true;
        while (ok && read) {
            ok = zipWriteInFileInZip(zip, block.data(), read) == ZIP_OK &&
                 ReadFile(file.get(), block.data(), kReadBlock, &read, nullptr);
        }
        // An entry cut short would carry a valid checksum of part of a picture.
        if (zipCloseFileInZip(zip) != ZIP_OK || !ok)
            failed = true;
        return !failed;
    }
};

CZLib::CZLib() : m_state(nullptr) {}

CZLib::~CZLib()
{
    delete m_state;
}

int CZLib::Open(const WCHAR* path, int mode)
{
    return lorvex::Guarded(0, [&] {
        delete m_state;
        m_state = nullptr;
        if (!path || !*path || mode != 0)
            return 0;
        m_state = new State;
        if (!m_state->writer.Begin(path))
            return 0;
        zlib_filefunc64_def functions = {};
        functions.zopen64_file = OpenArchive;
        functions.zread_file = ReadArchive;
        functions.zwrite_file = WriteArchive;
        functions.ztell64_file = TellArchive;
        functions.zseek64_file = SeekArchive;
        functions.zclose_file = CloseArchive;
        functions.zerror_file = ArchiveError;
        functions.opaque = &m_state->writer;
        m_state->zip = zipOpen2_64(path, APPEND_STATUS_CREATE, nullptr, &functions);
        if (!m_state->zip) {
            m_state->writer.Abandon();
            return 0;
        }
        return 1;
    });
}

int CZLib::AddFile(const WCHAR* path)
{
    return lorvex::Guarded(0, [&] {
        if (!m_state || !m_state->zip || m_state->failed || !path || !*path)
            return 0;
        return m_state->Add(path) ? 1 : 0;
    });
}

int CZLib::Close()
{
    return lorvex::Guarded(0, [&] {
        if (!m_state || !m_state->zip)
            return 0;
        const bool finished = zipClose(m_state->zip, nullptr) == ZIP_OK;
        m_state->zip = nullptr;
        const bool placed = finished && !m_state->failed && m_state->writer.Commit();
        m_state->Abandon();
        return placed ? 1 : 0;
    });
}
