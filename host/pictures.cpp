// Reading and writing files and pictures for the host's commands, through
// Win32 so that Unicode paths work, and Magick++ on bytes in memory.
#include "host.h"

namespace {

struct ScopedFile {
    explicit ScopedFile(HANDLE h) : handle(h) {}
    ~ScopedFile() { if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle); }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    HANDLE handle;
};

}  // namespace

bool ReadBytes(const WCHAR* path, std::string* bytes)
{
    ScopedFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (file.handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.handle, &size) || size.QuadPart <= 0 ||
        size.QuadPart >= (1LL << 31))
        return false;
    bytes->resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return ReadFile(file.handle, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr) &&
           read == bytes->size();
}

bool WriteBytes(const WCHAR* path, const void* data, size_t size, bool replace)
{
    lorvex::WString folder(path);
    const size_t slash = folder.find_last_of(L"\\/");
    folder.resize(slash == lorvex::WString::npos ? 0 : slash);
    WCHAR temporary[MAX_PATH];
    if (!GetTempFileNameW(folder.empty() ? L"." : folder.c_str(), L"lvh", 0, temporary))
        return false;
    bool written;
    {
        ScopedFile file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr));
        DWORD done = 0;
        written = file.handle != INVALID_HANDLE_VALUE &&
                  WriteFile(file.handle, data, static_cast<DWORD>(size), &done, nullptr) && done == size &&
                  FlushFileBuffers(file.handle);
    }
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (written && MoveFileExW(temporary, path, flags))
        return true;
    DeleteFileW(temporary);
    return false;
}

bool ReadPicture(const WCHAR* path, Magick::Image& image)
{
    std::string bytes;
    if (!ReadBytes(path, &bytes))
        return false;
    try {
        image.read(Magick::Blob(bytes.data(), bytes.size()));
        return image.columns() && image.rows();
    } catch (const Magick::Exception&) {
        return false;
    }
}

bool WritePicture(Magick::Image& image, const WCHAR* path, bool replace)
{
    Magick::Blob encoded;
    try {
        image.write(&encoded);
    } catch (const Magick::Exception&) {
        return false;
    }
    return encoded.length() && WriteBytes(path, encoded.data(), encoded.length(), replace);
}

std::string FormatOfPath(const WCHAR* path)
{
    const WCHAR* dot = nullptr;
    for (const WCHAR* c = path; *c; ++c)
        if (*c == L'.')
            dot = c;
        else if (*c == L'\\' || *c == L'/')
            dot = nullptr;
    std::string format;
    for (const WCHAR* c = dot ? dot + 1 : L""; *c; ++c)
        format += static_cast<char>(*c >= L'a' && *c <= L'z' ? *c - 32 : *c < 0x80 ? *c : '?');
    return format;
}
