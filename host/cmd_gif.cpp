// lorvex-host gif IN OUT.gif [--transparent X,Y] [--interlace]: writes IN as a
// GIF through the GIF export dialog's object (no window shown): the pixel at
// X,Y picked as the transparent colour, line interlace as if the box were
// checked when OK is pressed.
#include "host.h"

#include <lorvexops/lorvexops.h>
#include <Magick++.h>

namespace {

// A whole number (an optional '-', at most nine digits) from text up to stop.
bool ParseWhole(const WCHAR*& text, WCHAR stop, long* value)
{
    const bool negative = *text == L'-';
    if (negative)
        ++text;
    long number = 0;
    int digits = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text, ++digits)
        number = number * 10 + (*text - L'0');
    if (digits == 0 || digits > 9 || *text != stop)
        return false;
    *value = negative ? -number : number;
    return true;
}

// "X,Y" with two whole numbers and nothing else.
bool ParsePoint(const WCHAR* text, long* x, long* y)
{
    if (!ParseWhole(text, L',', x))
        return false;
    ++text;
    return ParseWhole(text, 0, y);
}

int Fail(const char* what, const WCHAR* path)
{
    Out("%s", what);
    if (path)
        OutW(path);
    Out("\n");
    return 2;
}

int Gif(const HostContext& context)
{
    const WCHAR* in = nullptr;
    const WCHAR* out = nullptr;
    const WCHAR* point = nullptr;
    bool interlace = false;
    for (size_t i = 0; i < context.args.size(); ++i) {
        const WCHAR* arg = context.args[i];
        if (lstrcmpW(arg, L"--interlace") == 0)
            interlace = true;
        else if (lstrcmpW(arg, L"--transparent") == 0 && i + 1 < context.args.size())
            point = context.args[++i];
        else if (!in)
            in = arg;
        else if (!out)
            out = arg;
        else
            in = nullptr, out = nullptr, i = context.args.size();
    }
    if (!in || !out)
        return Fail("usage: lorvex-host gif IN OUT.gif [--transparent X,Y] [--interlace]", nullptr);

    Magick::Image image;
    if (!ReadPicture(in, image))
        return Fail("cannot read a picture from ", in);

    CDlgExportGif dialog(nullptr);
    dialog.SetWorkingImage(&image);
    if (point) {
        long x = 0, y = 0;
        if (!ParsePoint(point, &x, &y))
            return Fail("--transparent takes X,Y (two whole numbers), not ", point);
        if (x < 0 || y < 0 || size_t(x) >= image.columns() || size_t(y) >= image.rows()) {
            Out("the point %ld,%ld lies outside the %zu x %zu picture\n", x, y, image.columns(), image.rows());
            return 2;
        }
        dialog.m_bPicking = TRUE;   // as if the eyedropper were pressed
        dialog.ClickCustomCtrl(int(x), int(y));
    }
    dialog.m_bInterlaced = interlace ? TRUE : FALSE;
    dialog.OnOK();

    try {
        image.magick("GIF");
    } catch (const std::exception& error) {
        Out("cannot make a GIF: %s\n", error.what());
        return 1;
    }
    if (!WritePicture(image, out, true))
        return Fail("cannot write ", out);
    OutW(out);
    Out(": %zu x %zu GIF, %s", image.columns(), image.rows(),
        image.interlaceType() == Magick::LineInterlace ? "interlaced" : "not interlaced");
    if (image.matte()) {
        const Magick::Color& c = dialog.m_committedColor;
        Out(", transparent colour #%02X%02X%02X", unsigned(c.redQuantum() / 257), unsigned(c.greenQuantum() / 257),
            unsigned(c.blueQuantum() / 257));
    }
    Out("\n");
    return 0;
}

void GifDemo(const WCHAR* samples, const WCHAR* output)
{
    Heading("lorvex-host gif (transparency picked at a point, interlace)");
    const lorvex::WString in = JoinPath(samples, L"写真.png");
    const lorvex::WString out = JoinPath(output, L"写真-transparent.gif");
    RunCommand("gif", {in.c_str(), out.c_str(), L"--transparent", L"0,0", L"--interlace"});
    Out("a point outside the picture:\n");
    const lorvex::WString refused = JoinPath(output, L"refused.gif");
    RunCommand("gif", {in.c_str(), refused.c_str(), L"--transparent", L"100000,0"});
}

HostCommand gif("gif", "IN OUT.gif [--transparent X,Y] [--interlace]  write a GIF with a transparent colour",
                Gif, GifDemo, 55);

}  // namespace
