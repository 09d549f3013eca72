// Paths, files, conversions between DIBs and Magick++ pictures, screenshots.
#include "viewer.h"

#include <shlwapi.h>

#include <vector>

#ifdef __WINE__
extern "C" char* CDECL wine_get_unix_file_name(const WCHAR* dosName);
#endif

namespace viewer {

// The path Magick++ opens: the Linux path under Wine, where it is a native
// library; the Win32 path in UTF-8 on Windows.
std::string UnixPath(const WCHAR* path)
{
#ifdef __WINE__
    char* native = wine_get_unix_file_name(path);
    std::string result(native ? native : "");
    HeapFree(GetProcessHeap(), 0, native);
    return result;
#else
    return Utf8(path);
#endif
}

std::string Utf8(const WCHAR* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], size, nullptr, nullptr);
    return result;
}

WString Wide(const char* utf8)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    WString result(size > 0 ? size - 1 : 0, L'\0');
    if (size > 1)
        MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &result[0], size);
    return result;
}

WString FileName(const WCHAR* path) { return PathFindFileNameW(path); }

WString FolderOf(const WCHAR* path)
{
    WString folder(path);
    folder.resize(PathFindFileNameW(path) - path);
    while (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

WString JoinPath(const WCHAR* folder, const WCHAR* name)
{
    WString path(folder);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path + name;
}

WString ExtensionUpper(const WCHAR* path)
{
    const WCHAR* dot = PathFindExtensionW(path);
    WString ext(*dot ? dot + 1 : dot);
    if (!ext.empty())
        CharUpperBuffW(&ext[0], DWORD(ext.size()));
    return ext;
}

std::string MagickFormat(const WCHAR* path)
{
    const std::string ext = Utf8(ExtensionUpper(path).c_str());
    return ext == "JPG" ? "JPEG" : ext == "TIF" ? "TIFF" : ext.empty() ? "BMP" : ext;
}

WString SystemReason(DWORD error)
{
    WCHAR text[512] = {};
    if (!FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, 512,
                        nullptr))
        wsprintfW(text, L"error %lu", error);
    WString reason(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    return reason;
}

bool ReadWholeFile(const WCHAR* path, std::string* bytes, WString* reason)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *reason = SystemReason(GetLastError());
        return false;
    }
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 31);
    DWORD read = 0;
    if (ok) {
        bytes->resize(size_t(size.QuadPart));
        ok = ReadFile(file, bytes->empty() ? nullptr : &(*bytes)[0], DWORD(bytes->size()), &read, nullptr) &&
             read == bytes->size();
    }
    if (!ok)
        *reason = SystemReason(GetLastError());
    CloseHandle(file);
    return ok;
}

bool WriteFileSafely(const WCHAR* path, const void* data, size_t size, WString* reason)
{
    const WString folder = FolderOf(path);
    WCHAR temp[MAX_PATH];
    if (!GetTempFileNameW(folder.empty() ? L"." : folder.c_str(), L"lvx", 0, temp)) {
        *reason = SystemReason(GetLastError());
        return false;
    }
    HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, data, DWORD(size), &written, nullptr) &&
              written == size && FlushFileBuffers(file);
    DWORD error = GetLastError();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (ok && !MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING)) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        DeleteFileW(temp);
        *reason = SystemReason(error);
    }
    return ok;
}

HDIB DibFromPicture(Magick::Image& picture)
{
    const int width = int(picture.columns()), height = int(picture.rows());
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return nullptr;
    Magick::Image flat(picture);
    if (flat.matte()) {   // transparent parts show on white, as on a page
        Magick::Image page(Magick::Geometry(flat.columns(), flat.rows()), Magick::Color("white"));
        page.composite(flat, 0, 0, Magick::OverCompositeOp);
        flat = page;
    }
    OwnedDib dib(DibCreate(width, height, 24, 0));
    if (!dib.get())
        return nullptr;
    for (int y = 0; y < height; ++y)
        flat.write(0, y, width, 1, "BGR", Magick::CharPixel, DibPixelPtr(dib.get(), 0, y));
    GdiFlush();
    return dib.release();
}

Magick::Image PictureFromDib(HDIB dib)
{
    const int width = DibWidth(dib), height = DibHeight(dib);
    std::vector<BYTE> rows(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        BYTE* out = &rows[size_t(y) * width * 3];
        if (DibBitCount(dib) == 24) {   // the common case: the row as it lies
            memcpy(out, DibPixelPtr(dib, 0, y), size_t(width) * 3);
            continue;
        }
        RGBQUAD colour = {};
        for (int x = 0; x < width; ++x, out += 3) {
            DibGetPixelColor(dib, x, y, &colour);
            out[0] = colour.rgbBlue, out[1] = colour.rgbGreen, out[2] = colour.rgbRed;
        }
    }
    Magick::Image picture(width, height, "BGR", Magick::CharPixel, rows.data());
    picture.depth(8);
    return picture;
}

bool SaveScreenshot(HWND window, const WCHAR* pngPath)
{
    return Guarded(false, [&] {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        RECT rect;
        GetWindowRect(window, &rect);
        const int width = rect.right - rect.left, height = rect.bottom - rect.top;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        GdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        MemoryDC memory(CreateCompatibleDC(nullptr));
        if (!bitmap.get() || !memory.get())
            return false;
        HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
        HDC source = GetWindowDC(window);
        BitBlt(memory.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
        ReleaseDC(window, source);
        GdiFlush();
        SelectObject(memory.get(), old);
        Magick::Image shot(width, height, "BGRA", Magick::CharPixel, bits);
        shot.matte(false);
        shot.magick("PNG");
        Magick::Blob png;
        shot.write(&png);
        WString reason;
        return WriteFileSafely(pngPath, png.data(), png.length(), &reason);
    });
}

void Message(HWND owner, const WCHAR* text, UINT icon)
{
    MessageBoxW(owner, text, L"Lorvex Viewer", MB_OK | icon);
}

}  // namespace viewer
