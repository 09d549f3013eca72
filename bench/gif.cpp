// The GIF export preview: painting a 1000 x 800 view of a 4000 x 3000 picture
// with CImageDrawer::DisplayDib, against one BitBlt of a ready DIB section of
// the same size to the same window, in one run.
//   bench_gif.exe [view_width view_height [picture_width picture_height]]
#include <lorvexops/lorvexops.h>
#include <Magick++.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "timing.h"

namespace {

double Median(int runs, const std::function<void(int)>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work(i);
        GdiFlush();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A picture with detail everywhere, a quarter of it (one colour) to be made
// transparent.
Magick::Image Picture(int width, int height)
{
    std::vector<unsigned char> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(size_t(y) * width + x) * 3];
            const bool marked = (x / 50 + y / 50) % 4 == 0;
            p[0] = marked ? 255 : (unsigned char)(x * 7);
            p[1] = marked ? 0 : (unsigned char)(y * 5);
            p[2] = marked ? 255 : (unsigned char)((x + y) * 3);
        }
    return Magick::Image(width, height, "RGB", Magick::CharPixel, rgb.data());
}

void Report(const char* what, double seconds, double baseline, double goal)
{
    const double ratio = seconds / baseline;
    printf("%-44s %8.2f ms   BitBlt %8.2f ms   ratio %5.2f  (goal <= %.0f)%s\n", what, seconds * 1e3,
           baseline * 1e3, ratio, goal, ratio <= goal ? "" : "  OVER");
}

}  // namespace

int main(int argc, char** argv)
{
    const int viewWidth = argc > 2 ? atoi(argv[1]) : 1000, viewHeight = argc > 2 ? atoi(argv[2]) : 800;
    const int width = argc > 4 ? atoi(argv[3]) : 4000, height = argc > 4 ? atoi(argv[4]) : 3000;
    const int runs = 31;
    if (!LorvexGetModuleInstance())
        return 1;

    HWND window = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, viewWidth, viewHeight, nullptr,
                                  nullptr, nullptr, nullptr);
    if (!window) {
        printf("cannot make a %d x %d window (is there a display?)\n", viewWidth, viewHeight);
        return 1;
    }
    HDC dc = GetDC(window);

    // Baseline: a ready DIB section of the view's size, blitted whole.
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), viewWidth, -viewHeight, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, section);
    std::fill_n(static_cast<DWORD*>(bits), size_t(viewWidth) * viewHeight, 0x336699u);
    const double blit = Median(runs, [&](int) { BitBlt(dc, 0, 0, viewWidth, viewHeight, memory, 0, 0, SRCCOPY); });

    Magick::Image image = Picture(width, height);
    CImageDrawer drawer;
    IMAGEDATA data;
    // A different view each time, as while panning.
    auto paint = [&](int i) {
        drawer.DisplayDib(&data, dc, (i * 37) % (width - viewWidth), (i * 23) % (height - viewHeight), viewWidth,
                          viewHeight, &image);
    };
    paint(0);   // the pixel cache warmed once, as a dialog's first paint does
    char label[80];
    snprintf(label, sizeof(label), "DisplayDib %d x %d of %d x %d", viewWidth, viewHeight, width, height);
    Report(label, Median(runs, paint), blit, 3);
    // What one step of a drag repaints after ScrollWindow: a 10-pixel strip.
    HRGN strip = CreateRectRgn(0, 0, 10, viewHeight);
    SelectClipRgn(dc, strip);
    Report("  a 10-pixel strip, as one panning step", Median(runs, paint), blit, 3);
    SelectClipRgn(dc, nullptr);
    DeleteObject(strip);
    image.transparent(Magick::Color("#FF00FF"));
    paint(0);
    Report("  with a transparent colour (checkerboard)", Median(runs, paint), blit, 3);

    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    ReleaseDC(window, dc);
    DestroyWindow(window);
    return 0;
}
