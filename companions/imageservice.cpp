// CDll2LorvexMessage: the image service on Magick++. Magick++ is a native
// library: it gets Linux paths, and its exceptions stay inside this file.
#include <lorvexops/companions.h>

#include "companions/unixpath.h"

#include <Magick++.h>
#include <shlwapi.h>
#include <vector>

namespace {

// Owns a GDI bitmap until it is handed to the caller.
class ScopedBitmap {
public:
    explicit ScopedBitmap(HBITMAP bitmap) : m_bitmap(bitmap) {}
    ~ScopedBitmap()
    {
        if (m_bitmap)
            DeleteObject(m_bitmap);
    }
    ScopedBitmap(const ScopedBitmap&) = delete;
    ScopedBitmap& operator=(const ScopedBitmap&) = delete;
    HBITMAP get() const { return m_bitmap; }
    HBITMAP release()
    {
        HBITMAP bitmap = m_bitmap;
        m_bitmap = nullptr;
        return bitmap;
    }

private:
    HBITMAP m_bitmap;
};

// A temporary file beside the destination; deleted unless it was moved away.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile()
    {
        if (m_path[0])
            DeleteFileW(m_path);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    bool CreateIn(const WCHAR* folder) { return GetTempFileNameW(folder, L"lvx", 0, m_path) != 0; }
    const WCHAR* path() const { return m_path; }
    void Forget() { m_path[0] = 0; }

private:
    WCHAR m_path[MAX_PATH] = {};
};

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle) : m_handle(handle) {}
    ~ScopedHandle()
    {
        if (valid())
            CloseHandle(m_handle);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    bool valid() const { return m_handle && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    bool Close()
    {
        bool ok = CloseHandle(m_handle) != 0;
        m_handle = nullptr;
        return ok;
    }

private:
    HANDLE m_handle;
};

bool Exists(const WCHAR* path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Reads the first picture of a file; false when it is missing or unreadable.
bool ReadPicture(const WCHAR* path, Magick::Image& image, bool pixels)
{
    if (!path || !Exists(path))
        return false;
    std::string unixPath = lorvex::UnixPath(path);
    if (unixPath.empty())
        return false;
    image.quiet(true);   // warnings (a truncated tail) are no failure
    // "[0]": only the first frame of an animation or a multi-page file.
    if (pixels)
        image.read(unixPath + "[0]");
    else
        image.ping(unixPath + "[0]");
    return image.columns() > 0 && image.rows() > 0;
}

bool WriteAll(HANDLE file, const void* data, size_t size)
{
    const BYTE* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
        DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written != chunk)
            return false;
        bytes += chunk;
        size -= chunk;
    }
    return true;
}

// The Magick++ format named by the destination's extension (".jpg" ->
// "JPG"); empty when the name has none.
std::string FormatOf(const WCHAR* path)
{
    MyString extension = MyString(path).GetStringExtension();
    std::string format;
    for (int i = 1; i < extension.length(); ++i) {
        WCHAR c = extension[i];
        if (c >= 'a' && c <= 'z')
            c = WCHAR(c - 32);
        if (c > 0x7F)
            return std::string("?");   // no format has such a name
        format += static_cast<char>(c);
    }
    return format;
}

}  // namespace

HBITMAP CDll2LorvexMessage::ReadImage(const WCHAR* path, SIZE* size, SIZE wanted)
{
    try {
        Magick::Image image;
        if (!ReadPicture(path, image, true))
            return nullptr;
        long width = static_cast<long>(image.columns());
        long height = static_cast<long>(image.rows());
        if (size) {
            size->cx = width;
            size->cy = height;
        }
        // Fit inside the wanted size, keeping the proportions, never enlarging.
        long fitWidth = width, fitHeight = height;
        if (wanted.cx > 0 && wanted.cy > 0 && (width > wanted.cx || height > wanted.cy)) {
            if (static_cast<long long>(width) * wanted.cy > static_cast<long long>(height) * wanted.cx) {
                fitWidth = wanted.cx;
                fitHeight = static_cast<long>(static_cast<long long>(height) * wanted.cx / width);
            } else {
                fitHeight = wanted.cy;
                fitWidth = static_cast<long>(static_cast<long long>(width) * wanted.cy / height);
            }
            if (fitWidth < 1)
                fitWidth = 1;
            if (fitHeight < 1)
                fitHeight = 1;
        }
        if (fitWidth > 32767 || fitHeight > 32767)
            return nullptr;
        image.colorSpace(Magick::sRGBColorspace);
        if (fitWidth != width || fitHeight != height) {
            Magick::Geometry geometry(static_cast<size_t>(fitWidth), static_cast<size_t>(fitHeight));
            geometry.aspect(true);
            image.resize(geometry);
        }
        if (image.matte()) {
            // Transparent parts show on white, as on a page.
            Magick::Image page(Magick::Geometry(image.columns(), image.rows()), Magick::Color("white"));
            page.composite(image, 0, 0, Magick::OverCompositeOp);
            image = page;
        }

        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = fitWidth;
        info.bmiHeader.biHeight = fitHeight;     // bottom-up, as most callers expect
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap.get() || !bits)
            return nullptr;
        size_t rowBytes = static_cast<size_t>(fitWidth) * 3;
        size_t stride = (rowBytes + 3) & ~static_cast<size_t>(3);
        std::vector<BYTE> row(rowBytes);
        for (long y = 0; y < fitHeight; ++y) {
            image.write(0, y, static_cast<size_t>(fitWidth), 1, "BGR", Magick::CharPixel, row.data());
            BYTE* target = static_cast<BYTE*>(bits) + stride * static_cast<size_t>(fitHeight - 1 - y);
            memcpy(target, row.data(), rowBytes);
        }
        GdiFlush();
        return bitmap.release();
    } catch (...) {
        return nullptr;
    }
}

int CDll2LorvexMessage::GetImageDim(const WCHAR* path, SIZE* size)
{
    try {
        Magick::Image image;
        bool known = false;
        try {
            known = ReadPicture(path, image, false);
        } catch (...) {
        }
        // Some coders cannot ping; decoding gives the size then.
        if (!known && !ReadPicture(path, image, true))
            return 0;
        if (size) {
            size->cx = static_cast<LONG>(image.columns());
            size->cy = static_cast<LONG>(image.rows());
        }
        return 1;
    } catch (...) {
        return 0;
    }
}

int CDll2LorvexMessage::WriteImage(const WCHAR* source, const WCHAR* destination, SIZE newSize, WORD filter)
{
    try {
        if (!destination || !*destination || newSize.cx <= 0 || newSize.cy <= 0)
            return 0;
        // Magick++ indexes its filter table with this number.
        if (filter >= Magick::SentinelFilter)
            return 0;
        Magick::Image image;
        if (!ReadPicture(source, image, true))
            return 0;
        image.filterType(static_cast<Magick::FilterTypes>(filter));
        Magick::Geometry geometry(static_cast<size_t>(newSize.cx), static_cast<size_t>(newSize.cy));
        geometry.aspect(true);   // exactly this size ('!')
        image.resize(geometry);
        std::string format = FormatOf(destination);
        if (!format.empty())
            image.magick(format);
        Magick::Blob encoded;
        image.write(&encoded);
        if (!encoded.length())
            return 0;

        // Written beside the destination, then moved over it: a failure
        // never leaves a partial file under the destination's name.
        WCHAR folder[MAX_PATH];
        if (lstrlenW(destination) >= MAX_PATH)
            return 0;
        lstrcpynW(folder, destination, MAX_PATH);
        if (!PathRemoveFileSpecW(folder) || !folder[0])
            lstrcpyW(folder, L".");
        TemporaryFile temporary;
        if (!temporary.CreateIn(folder))
            return 0;
        ScopedHandle file(CreateFileW(temporary.path(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() || !WriteAll(file.get(), encoded.data(), encoded.length()) ||
            !FlushFileBuffers(file.get()) || !file.Close())
            return 0;
        if (!MoveFileExW(temporary.path(), destination, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return 0;
        temporary.Forget();
        return 1;
    } catch (...) {
        return 0;
    }
}
