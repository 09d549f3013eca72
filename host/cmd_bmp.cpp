// lorvex-host bmp: BMP files through the bitmap core.
//   bmp info FILE...                         what each file holds
//   bmp crop IN OUT LEFT TOP RIGHT BOTTOM    the rectangle (right/bottom excluded)
//   bmp flip IN OUT                          upside down
//   bmp recolor IN OUT RRGGBB RRGGBB         24-bit pictures: one colour for another
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <shlwapi.h>

namespace {

const char* CompressionName(int compression)
{
    switch (compression) {
    case BI_RGB: return "RGB";
    case BI_BITFIELDS: return "bit fields";
    default: return "other";
    }
}

void PrintInfo(const WCHAR* path)
{
    OutW(PathFindFileNameW(path));
    HDIB dib = DibFileLoad(path);
    if (!dib) {
        Out(": not a BMP this library reads\n");
        return;
    }
    const BITMAPINFOHEADER* header = DibInfoHeaderPtr(dib);
    Out(": %d x %d, %d bits, %s, %lu colours, %s, %lu bytes of pixels\n", DibWidth(dib), DibHeight(dib),
        DibBitCount(dib), CompressionName(DibCompression(dib)), static_cast<unsigned long>(DibNumColors(dib)),
        header->biHeight < 0 ? "top-down" : "bottom-up", static_cast<unsigned long>(DibBitsSize(dib)));
    DibDelete(dib);
}

bool ParseInt(const WCHAR* text, int* value)
{
    return StrToIntExW(text, STIF_DEFAULT, value) != FALSE;
}

// RRGGBB as written on web pages, to a COLORREF (red in the low byte).
bool ParseColor(const WCHAR* text, DWORD* color)
{
    if (lstrlenW(text) != 6)
        return false;
    DWORD rgb = 0;
    for (int i = 0; i < 6; ++i) {
        WCHAR c = text[i];
        int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10
                  : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
        if (digit < 0)
            return false;
        rgb = rgb << 4 | DWORD(digit);
    }
    *color = RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
    return true;
}

// Loads a picture into an image object; false (with a message) when it fails.
bool LoadImage(const WCHAR* path, MyDImage* image)
{
    HDIB dib = DibFileLoad(path);
    if (!dib) {
        Out("cannot read ");
        OutW(path);
        Out("\n");
        return false;
    }
    image->tSetDib(dib);
    return true;
}

bool Save(HDIB dib, const WCHAR* path)
{
    if (DibFileSave(dib, path))
        return true;
    Out("cannot write ");
    OutW(path);
    Out("\n");
    return false;
}

int Crop(const WCHAR* in, const WCHAR* out, POINT from, POINT to)
{
    MyDImage image;
    if (!LoadImage(in, &image))
        return 1;
    HDIB crop = image.Crop(&from, &to);
    if (!crop || crop == image.GetDib()) {
        Out("the rectangle (%ld,%ld)-(%ld,%ld) does not lie inside the %d x %d picture\n", from.x, from.y, to.x,
            to.y, image.GetWidth(), image.GetHeight());
        return 1;
    }
    const bool saved = Save(crop, out);
    Out("cropped (%ld,%ld)-(%ld,%ld): %d x %d\n", from.x, from.y, to.x, to.y, DibWidth(crop), DibHeight(crop));
    DibDelete(crop);
    return saved ? 0 : 1;
}

int Flip(const WCHAR* in, const WCHAR* out)
{
    MyDImage image;
    if (!LoadImage(in, &image))
        return 1;
    image.tFlipH();
    Out("flipped %d x %d upside down\n", image.GetWidth(), image.GetHeight());
    return Save(image.GetDib(), out) ? 0 : 1;
}

int CountColor(HDIB dib, DWORD color)
{
    int count = 0;
    RGBQUAD pixel;
    for (int y = 0; y < DibHeight(dib); ++y)
        for (int x = 0; x < DibWidth(dib); ++x)
            if (DibGetPixelColor(dib, x, y, &pixel) &&
                RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue) == (color & 0xFFFFFF))
                ++count;
    return count;
}

int Recolor(const WCHAR* in, const WCHAR* out, DWORD from, DWORD to)
{
    MyDImage image;
    if (!LoadImage(in, &image))
        return 1;
    if (image.GetDepth() != 24)
        Out("a %d-bit picture keeps its pixels (only 24-bit pictures are recoloured)\n", image.GetDepth());
    const int before = CountColor(image.GetDib(), from);
    image.tChangeColor(from, to);
    Out("recoloured %02X%02X%02X to %02X%02X%02X: %d of %d pixels\n", GetRValue(from), GetGValue(from),
        GetBValue(from), GetRValue(to), GetGValue(to), GetBValue(to), before - CountColor(image.GetDib(), from),
        image.GetWidth() * image.GetHeight());
    return Save(image.GetDib(), out) ? 0 : 1;
}

int Usage()
{
    Out("usage: lorvex-host bmp info FILE...\n"
        "       lorvex-host bmp crop IN OUT LEFT TOP RIGHT BOTTOM\n"
        "       lorvex-host bmp flip IN OUT\n"
        "       lorvex-host bmp recolor IN OUT RRGGBB RRGGBB\n");
    return 2;
}

int Run(const HostContext& context)
{
    const auto& args = context.args;
    if (args.empty())
        return Usage();
    const WCHAR* verb = args[0];
    if (!lstrcmpiW(verb, L"info") && args.size() >= 2) {
        for (size_t i = 1; i < args.size(); ++i)
            PrintInfo(args[i]);
        return 0;
    }
    if (!lstrcmpiW(verb, L"crop") && args.size() == 7) {
        POINT from, to;
        int values[4];
        for (int i = 0; i < 4; ++i)
            if (!ParseInt(args[3 + i], &values[i]))
                return Usage();
        from = {values[0], values[1]};
        to = {values[2], values[3]};
        return Crop(args[1], args[2], from, to);
    }
    if (!lstrcmpiW(verb, L"flip") && args.size() == 3)
        return Flip(args[1], args[2]);
    if (!lstrcmpiW(verb, L"recolor") && args.size() == 5) {
        DWORD from, to;
        if (!ParseColor(args[3], &from) || !ParseColor(args[4], &to))
            return Usage();
        return Recolor(args[1], args[2], from, to);
    }
    return Usage();
}

// Every sample BMP: its description, its central half, itself upside down,
// and a 24-bit copy with the colour of its top-left pixel turned magenta.
void Demo(const WCHAR* samples, const WCHAR* output)
{
    Heading("lorvex-host bmp");
    for (const lorvex::WString& path : ListFiles(samples)) {
        if (lstrcmpiW(PathFindExtensionW(path.c_str()), L".bmp"))
            continue;
        const WCHAR* name = PathFindFileNameW(path.c_str());
        PrintInfo(path.c_str());
        MyDImage image;
        HDIB dib = DibFileLoad(path.c_str());
        if (!dib)
            continue;
        image.tSetDib(dib);
        const int w = image.GetWidth(), h = image.GetHeight();
        lorvex::WString stem(name, PathFindExtensionW(name) - name);

        Out("  ");
        POINT from = {w / 4, h / 4}, to = {w / 4 + w / 2, h / 4 + h / 2};
        Crop(path.c_str(), JoinPath(output, (stem + L"-crop.bmp").c_str()).c_str(), from, to);
        Out("  ");
        Flip(path.c_str(), JoinPath(output, (stem + L"-flip.bmp").c_str()).c_str());

        // A 24-bit copy to recolour: the sample's pixels, colour by colour.
        MyDImage rgb(w, h, 24, 0);
        RGBQUAD pixel = {};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (DibGetPixelColor(image.GetDib(), x, y, &pixel))
                    DibSetPixelColor(rgb.GetDib(), x, y, &pixel);
        DibGetPixelColor(rgb.GetDib(), 0, 0, &pixel);
        lorvex::WString rgbPath = JoinPath(output, (stem + L"-24bit.bmp").c_str());
        if (!Save(rgb.GetDib(), rgbPath.c_str()))
            continue;
        Out("  ");
        Recolor(rgbPath.c_str(), JoinPath(output, (stem + L"-recolor.bmp").c_str()).c_str(),
                RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue), RGB(255, 0, 255));
    }
}

HostCommand bmp("bmp", "info|crop|flip|recolor ...  BMP files: describe, crop, flip, recolour", Run, Demo, 20);

}  // namespace
