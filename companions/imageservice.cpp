// CDll2LorvexMessage: the image service on Magick++. Magick++ is a native
// library: it gets Linux paths, and its exceptions stay inside this file.
#include "win/guard.h"
#include <lorvexops/companions.h>

#include "companions/unixpath.h"
#include "win/safefile.h"
#include "win/scoped.h"

#include <Magick++.h>
#include <shlwapi.h>
#include <vector>

namespace {

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

// The Magick++ format named by the destination's extension (".jpg" ->
// "JPG"); empty when the name has none.
std::string FormatOf(const WCHAR* path)
{
    MyString extension = MyString(path).GetStringExtension();
    std::string format;
    for (int i = 1; i < extension.length(); ++i) {
        const WCHAR c = lorvex::AsciiUpper(extension[i]);
        if (c > 0x7F)
            return std::string("?");   // no format has such a name
        format += static_cast<char>(c);
    }
    return format;
}

}  // namespace

HBITMAP CDll2LorvexMessage::ReadImage(const WCHAR* path, SIZE* size, SIZE wanted)
{
    return lorvex::Guarded<HBITMAP>(nullptr, [&]() -> HBITMAP {
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
        lorvex::ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
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
    });
}

int CDll2LorvexMessage::GetImageDim(const WCHAR* path, SIZE* size)
{
    return lorvex::Guarded<int>(0, [&]() -> int {
        Magick::Image image;
        const bool known = lorvex::Guarded(false, [&] { return ReadPicture(path, image, false); });
        // Some coders cannot ping; decoding gives the size then.
        if (!known && !ReadPicture(path, image, true))
            return 0;
        if (size) {
            size->cx = static_cast<LONG>(image.columns());
            size->cy = static_cast<LONG>(image.rows());
        }
        return 1;
    });
}

int CDll2LorvexMessage::WriteImage(const WCHAR* source, const WCHAR* destination, SIZE newSize, WORD filter)
{
    return lorvex::Guarded<int>(0, [&]() -> int {
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

        return lorvex::WriteFileSafely(destination, encoded.data(), encoded.length()) ? 1 : 0;
    });
}
