// CDll2LorvexMessage on real PNG, JPEG and BMP files with Unicode names, and
// on missing and corrupt ones; FlushWindowsMessages, HaveCommonControls6.
#include <lorvexops/companions.h>
#include "testsupport.h"
#include "companions_test.h"

#include <Magick++.h>
#include <string>
#include <vector>

using ctest::TempFolder;
using ctest::U;

namespace {

const char* const kFormats[] = {"png", "jpg", "bmp"};
const char* const kBaseNames[] = {"фото", "写真", "\xF0\x9F\x98\x80 smile", "img[1] 100%"};

// 64 x 48: left half red, right half blue.
void MakePicture(const MyString& path, size_t width = 64, size_t height = 48)
{
    Magick::Image image(Magick::Geometry(width, height), Magick::Color("red"));
    image.fillColor(Magick::Color("blue"));
    image.strokeColor(Magick::Color("blue"));
    image.draw(Magick::DrawableRectangle(static_cast<double>(width / 2), 0, static_cast<double>(width - 1),
                                         static_cast<double>(height - 1)));
    image.write(lvtest::UnixPath(path.c_str()));
}

struct Pixel {
    int r, g, b;
};

// Reads pixel (x, y), counted from the top, of a 24-bit DIB section.
bool PixelOf(HBITMAP bitmap, int x, int y, Pixel* pixel)
{
    DIBSECTION section = {};
    if (GetObjectW(bitmap, sizeof section, &section) != sizeof section || section.dsBm.bmBitsPixel != 24)
        return false;
    const BYTE* row = static_cast<const BYTE*>(section.dsBm.bmBits) +
                      static_cast<size_t>(section.dsBm.bmHeight - 1 - y) * section.dsBm.bmWidthBytes;
    pixel->b = row[x * 3];
    pixel->g = row[x * 3 + 1];
    pixel->r = row[x * 3 + 2];
    return true;
}

bool Near(const Pixel& p, int r, int g, int b)
{
    const int tolerance = 40;   // JPEG
    return abs(p.r - r) <= tolerance && abs(p.g - g) <= tolerance && abs(p.b - b) <= tolerance;
}

struct Pinged {
    size_t width = 0, height = 0;
    std::string format;
};

Pinged Ping(const MyString& path)
{
    Pinged result;
    Magick::Image image;
    image.ping(lvtest::UnixPath(path.c_str()));
    result.width = image.columns();
    result.height = image.rows();
    result.format = image.magick();
    return result;
}

std::string Bytes(const MyString& path)
{
    std::string bytes;
    lvtest::ReadWholeFile(path.c_str(), &bytes);
    return bytes;
}

}  // namespace

TEST(ImageService, ReadsSizesAndFittedBitmapsOfEveryFormatAndName)
{
    TempFolder folder;
    for (const char* format : kFormats)
        for (const char* base : kBaseNames) {
            std::string name = std::string(base) + "." + format;
            SCOPED_TRACE(name);
            MyString path = folder.File(U(name.c_str()));
            MakePicture(path);
            CDll2LorvexMessage service;

            SIZE size = {-1, -1};
            ASSERT_NE(0, service.GetImageDim(path.c_str(), &size));
            EXPECT_EQ(64, size.cx);
            EXPECT_EQ(48, size.cy);

            // Wanted size -> bitmap size: aspect kept, never enlarged.
            struct Fit { SIZE wanted; LONG width, height; };
            const Fit fits[] = {
                {{0, 0}, 64, 48}, {{32, 32}, 32, 24}, {{200, 200}, 64, 48}, {{16, 100}, 16, 12},
                {{100, 6}, 8, 6}, {{64, 48}, 64, 48},
            };
            for (const Fit& fit : fits) {
                SIZE own = {};
                HBITMAP bitmap = service.ReadImage(path.c_str(), &own, fit.wanted);
                ASSERT_NE(nullptr, bitmap) << "wanted " << fit.wanted.cx << "x" << fit.wanted.cy;
                BITMAP info = {};
                GetObjectW(bitmap, sizeof info, &info);
                EXPECT_EQ(fit.width, info.bmWidth) << "wanted " << fit.wanted.cx << "x" << fit.wanted.cy;
                EXPECT_EQ(fit.height, info.bmHeight) << "wanted " << fit.wanted.cx << "x" << fit.wanted.cy;
                EXPECT_EQ(24, info.bmBitsPixel);
                EXPECT_EQ(64, own.cx);
                EXPECT_EQ(48, own.cy);
                Pixel left, right;
                ASSERT_TRUE(PixelOf(bitmap, 1, info.bmHeight - 1, &left));
                ASSERT_TRUE(PixelOf(bitmap, info.bmWidth - 2, 0, &right));
                EXPECT_TRUE(Near(left, 255, 0, 0)) << "bottom left " << left.r << "," << left.g << "," << left.b;
                EXPECT_TRUE(Near(right, 0, 0, 255)) << "top right " << right.r << "," << right.g << "," << right.b;
                EXPECT_TRUE(DeleteObject(bitmap));   // the caller's to delete
            }
        }
}

TEST(ImageService, TransparentPixelsShowOnWhite)
{
    TempFolder folder;
    MyString path = folder.File(L"clear.png");
    Magick::Image image(Magick::Geometry(4, 4), Magick::Color("transparent"));
    image.write(lvtest::UnixPath(path.c_str()));
    HBITMAP bitmap = CDll2LorvexMessage().ReadImage(path.c_str(), nullptr, SIZE{0, 0});
    ASSERT_NE(nullptr, bitmap);
    Pixel pixel;
    ASSERT_TRUE(PixelOf(bitmap, 1, 1, &pixel));
    EXPECT_TRUE(Near(pixel, 255, 255, 255)) << pixel.r << "," << pixel.g << "," << pixel.b;
    DeleteObject(bitmap);
}

TEST(ImageService, WritesTheExactSizeInTheDestinationsFormat)
{
    TempFolder folder;
    MyString source = folder.File(U("исходник.png"));
    MakePicture(source);
    struct Case { const char* name; const char* format; };
    const Case cases[] = {
        {"малый.jpg", "JPEG"}, {"小.png", "PNG"}, {"\xF0\x9F\x98\x80.bmp", "BMP"}, {"tiff.TIF", "TIFF"},
        {"без расширения", "PNG"},   // no extension: the source's format
    };
    for (const Case& c : cases) {
        MyString destination = folder.File(U(c.name));
        ASSERT_NE(0, CDll2LorvexMessage().WriteImage(source.c_str(), destination.c_str(), SIZE{20, 33},
                                                     Magick::LanczosFilter)) << c.name;
        Pinged written = Ping(destination);
        EXPECT_EQ(20u, written.width) << c.name;     // proportions not kept: exactly this size
        EXPECT_EQ(33u, written.height) << c.name;
        EXPECT_EQ(c.format, written.format) << c.name;
    }
    // Only the pictures: no temporary file stays behind.
    std::string expected;
    for (const char* name : {"tiff.TIF", "без расширения", "исходник.png", "малый.jpg", "小.png",
                             "\xF0\x9F\x98\x80.bmp"})
        expected += (expected.empty() ? "" : "|") + std::string(name);
    EXPECT_EQ(expected, folder.Listing());
}

TEST(ImageService, WriteReplacesAnExistingDestinationAndMayOverwriteItsSource)
{
    TempFolder folder;
    MyString path = folder.File(U("один.png"));
    MakePicture(path);
    CDll2LorvexMessage service;
    ASSERT_NE(0, service.WriteImage(path.c_str(), path.c_str(), SIZE{10, 10}, Magick::TriangleFilter));
    SIZE size = {};
    ASSERT_NE(0, service.GetImageDim(path.c_str(), &size));
    EXPECT_EQ(10, size.cx);
    EXPECT_EQ(10, size.cy);
    EXPECT_EQ(lvtest::Utf8(U("один.png").c_str()), folder.Listing());
}

TEST(ImageService, TheFilterNumberChoosesTheResampling)
{
    // Black and white stripes stretched: a point filter copies pixels, a
    // triangle filter blends neighbours into greys.
    TempFolder folder;
    MyString source = folder.File(L"stripes.png");
    const unsigned char pixels[] = {0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255};
    Magick::Image stripes(4, 1, "RGB", Magick::CharPixel, pixels);
    stripes.write(lvtest::UnixPath(source.c_str()));
    struct Case { Magick::FilterTypes filter; bool greys; };
    const Case cases[] = {{Magick::PointFilter, false}, {Magick::TriangleFilter, true}};
    for (const Case& c : cases) {
        MyString destination = folder.File(L"out.png");
        ASSERT_NE(0, CDll2LorvexMessage().WriteImage(source.c_str(), destination.c_str(), SIZE{11, 1},
                                                     static_cast<WORD>(c.filter)));
        Magick::Image result;
        result.read(lvtest::UnixPath(destination.c_str()));
        int greys = 0;
        std::string values;
        std::vector<unsigned char> reds(result.columns());
        result.write(0, 0, result.columns(), 1, "R", Magick::CharPixel, reds.data());
        for (unsigned char red : reds) {
            values += std::to_string(red) + " ";
            if (red > 12 && red < 243)
                ++greys;
        }
        EXPECT_EQ(11u, result.columns());
        EXPECT_EQ(c.greys, greys > 0) << "filter " << c.filter << ": " << values;
    }
}

TEST(ImageService, FailuresGiveZeroAndLeaveNothingBehind)
{
    TempFolder folder;
    MyString good = folder.File(L"good.png");
    MakePicture(good);
    MyString missing = folder.File(U("нет.png"));
    MyString garbage = folder.File(U("мусор.png"));
    const char noise[] = "this is not a picture at all, only some text";
    lvtest::WriteWholeFile(garbage.c_str(), noise, sizeof noise);
    MyString truncated = folder.File(U("обрезан.jpg"));
    {
        std::string jpeg;
        MakePicture(folder.File(L"whole.jpg"));
        jpeg = Bytes(folder.File(L"whole.jpg"));
        lvtest::WriteWholeFile(truncated.c_str(), jpeg.data(), 20);
        DeleteFileW(folder.File(L"whole.jpg").c_str());
    }
    MyString existing = folder.File(L"kept.bmp");
    const char keep[] = "the user's file";
    lvtest::WriteWholeFile(existing.c_str(), keep, sizeof keep);
    const std::string before = folder.Listing();

    const MyString fresh[] = {folder.File(L"a.png"), folder.File(L"d.nosuchformat"),
                              folder.File(L"no folder\\e.png"), folder.path()};
    struct Case { const char* label; const WCHAR* source; const WCHAR* destination; SIZE size; WORD filter; };
    const Case writes[] = {
        {"missing source", missing.c_str(), fresh[0].c_str(), {10, 10}, 0},
        {"garbage source", garbage.c_str(), fresh[0].c_str(), {10, 10}, 0},
        {"truncated source", truncated.c_str(), fresh[0].c_str(), {10, 10}, 0},
        {"garbage over existing", garbage.c_str(), existing.c_str(), {10, 10}, 0},
        {"unknown format", good.c_str(), fresh[1].c_str(), {10, 10}, 0},
        {"filter out of range", good.c_str(), existing.c_str(), {10, 10}, 500},
        {"zero size", good.c_str(), existing.c_str(), {0, 10}, 0},
        {"negative size", good.c_str(), existing.c_str(), {10, -1}, 0},
        {"missing folder", good.c_str(), fresh[2].c_str(), {10, 10}, 0},
        {"folder as destination", good.c_str(), fresh[3].c_str(), {10, 10}, 0},
        {"null destination", good.c_str(), nullptr, {10, 10}, 0},
        {"null source", nullptr, fresh[0].c_str(), {10, 10}, 0},
        {"folder as source", folder.path().c_str(), fresh[0].c_str(), {10, 10}, 0},
    };
    CDll2LorvexMessage service;
    for (const Case& c : writes) {
        EXPECT_EQ(0, service.WriteImage(c.source, c.destination, c.size, c.filter)) << c.label;
        EXPECT_EQ(before, folder.Listing()) << c.label;
    }
    EXPECT_EQ(keep, Bytes(existing).substr(0, sizeof keep - 1)) << "the existing destination changed";

    const WCHAR* unreadable[] = {missing.c_str(), garbage.c_str(), truncated.c_str(), nullptr, L"",
                                 folder.path().c_str()};
    for (const WCHAR* path : unreadable) {
        SIZE size = {7, 7};
        EXPECT_EQ(0, service.GetImageDim(path, &size)) << lvtest::Utf8(path);
        EXPECT_EQ(nullptr, service.ReadImage(path, &size, SIZE{10, 10})) << lvtest::Utf8(path);
    }
    SIZE size;
    EXPECT_NE(0, service.GetImageDim(good.c_str(), nullptr));   // size out may be null
    EXPECT_NE(0, service.GetImageDim(good.c_str(), &size));
}

namespace {

int g_appMessages = 0;
int g_paints = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        ++g_appMessages;
    if (message == WM_PAINT) {
        ++g_paints;
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(FlushWindowsMessages, DispatchesWaitingMessagesAndPaintsButLeavesQuit)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LorvexFlushTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"LorvexFlushTest", L"flush", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    lvtest::PumpMessages(50);
    g_appMessages = g_paints = 0;

    for (int i = 0; i < 5; ++i)
        PostMessageW(window, WM_APP, 0, 0);
    InvalidateRect(window, nullptr, TRUE);
    FlushWindowsMessages(window);
    EXPECT_EQ(5, g_appMessages);
    EXPECT_GE(g_paints, 1);
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "still waiting to be painted";

    PostMessageW(window, WM_APP, 0, 0);
    PostQuitMessage(3);
    FlushWindowsMessages(window);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "WM_QUIT was swallowed";
    EXPECT_EQ(3u, msg.wParam);
    FlushWindowsMessages(nullptr);
    DestroyWindow(window);
    FlushWindowsMessages(window);   // a window already gone
}

TEST(HaveCommonControls6, AgreesWithTheLoadedVersion)
{
    DWORD major = 0;
    int have = HaveCommonControls6(&major);
    EXPECT_GE(major, 5u);
    EXPECT_EQ(major >= 6, have != 0) << "major " << major;
    EXPECT_EQ(have, HaveCommonControls6(nullptr));
}
