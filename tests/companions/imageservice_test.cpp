// CDll2LorvexMessage on real PNG, JPEG and BMP files with Unicode names, and
// on missing and corrupt ones; FlushWindowsMessages.
#include <lorvexops/companions.h>
#include "testsupport.h"

#include <Magick++.h>
#include <string>
#include <vector>

using lvtest::WString;

namespace {

// 64 x 48: left half red, right half blue.
void MakePicture(const WString& path)
{
    Magick::Image image(Magick::Geometry(64, 48), Magick::Color("red"));
    image.fillColor(Magick::Color("blue"));
    image.strokeColor(Magick::Color("blue"));
    image.draw(Magick::DrawableRectangle(32, 0, 63, 47));
    image.write(lvtest::UnixPath(path.c_str()));
}

// True when pixel (x, y), counted from the top, of a 24-bit DIB section is
// near r, g, b (JPEG blurs).
bool PixelNear(HBITMAP bitmap, int x, int y, int r, int g, int b)
{
    DIBSECTION section = {};
    if (GetObjectW(bitmap, sizeof section, &section) != sizeof section || section.dsBm.bmBitsPixel != 24)
        return false;
    const BYTE* p = static_cast<const BYTE*>(section.dsBm.bmBits) +
                    static_cast<size_t>(section.dsBm.bmHeight - 1 - y) * section.dsBm.bmWidthBytes + x * 3;
    return abs(p[2] - r) <= 40 && abs(p[1] - g) <= 40 && abs(p[0] - b) <= 40;
}

// The names of the files in folder, sorted.
std::vector<std::string> Listing(const lvtest::TempDir& folder) { return lvtest::FileNames(folder.File(L"*").c_str()); }

WString File(const lvtest::TempDir& folder, const char* utf8) { return folder.File(lvtest::Wide(utf8).c_str()); }

int g_appMessages = 0, g_paints = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_appMessages += message == WM_APP;
    if (message != WM_PAINT)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    ++g_paints;
    ValidateRect(hwnd, nullptr);
    return 0;
}

}  // namespace

TEST(ImageService, ReadsSizesAndFittedBitmapsOfEveryFormatAndName)
{
    lvtest::TempDir folder;
    for (const char* format : {"png", "jpg", "bmp"})
        for (const char* base : {"фото 写真", "\xF0\x9F\x98\x80 img[1] 100%"}) {
            std::string name = std::string(base) + "." + format;
            SCOPED_TRACE(name);
            WString path = File(folder, name.c_str());
            MakePicture(path);
            CDll2LorvexMessage service;
            SIZE size = {-1, -1};
            ASSERT_NE(0, service.GetImageDim(path.c_str(), &size));
            EXPECT_EQ(64 * 1000 + 48, size.cx * 1000 + size.cy);

            // Wanted size -> bitmap size: aspect kept, never enlarged.
            struct Fit { SIZE wanted; LONG width, height; };
            const Fit fits[] = {{{0, 0}, 64, 48}, {{200, 200}, 64, 48}, {{100, 6}, 8, 6}};
            for (const Fit& fit : fits) {
                SCOPED_TRACE(std::to_string(fit.wanted.cx) + "x" + std::to_string(fit.wanted.cy));
                SIZE own = {};
                HBITMAP bitmap = service.ReadImage(path.c_str(), &own, fit.wanted);
                ASSERT_NE(nullptr, bitmap);
                BITMAP info = {};
                GetObjectW(bitmap, sizeof info, &info);
                EXPECT_EQ(fit.width * 1000 + fit.height, info.bmWidth * 1000 + info.bmHeight);
                EXPECT_EQ(64 * 1000 + 48, own.cx * 1000 + own.cy);
                EXPECT_TRUE(PixelNear(bitmap, 1, info.bmHeight - 1, 255, 0, 0)) << "bottom left";
                EXPECT_TRUE(PixelNear(bitmap, info.bmWidth - 2, 0, 0, 0, 255)) << "top right";
                EXPECT_TRUE(DeleteObject(bitmap));   // the caller's to delete
            }
        }
    // Transparent pixels show on white.
    WString clear = folder.File(L"clear.png");
    Magick::Image(Magick::Geometry(4, 4), Magick::Color("transparent")).write(lvtest::UnixPath(clear.c_str()));
    HBITMAP bitmap = CDll2LorvexMessage().ReadImage(clear.c_str(), nullptr, SIZE{0, 0});
    EXPECT_TRUE(PixelNear(bitmap, 1, 1, 255, 255, 255));
    DeleteObject(bitmap);
}

TEST(ImageService, WritesTheExactSizeInTheDestinationsFormat)
{
    lvtest::TempDir folder;
    WString source = File(folder, "исходник.png");
    MakePicture(source);
    struct Case { const char* name; const char* format; };
    const Case cases[] = {
        {"малый.jpg", "JPEG"}, {"小.png", "PNG"}, {"\xF0\x9F\x98\x80.bmp", "BMP"},
        {"без расширения", "PNG"},   // no extension: the source's format
    };
    for (const Case& c : cases) {
        WString destination = File(folder, c.name);
        ASSERT_NE(0, CDll2LorvexMessage().WriteImage(source.c_str(), destination.c_str(), SIZE{20, 33},
                                                     Magick::LanczosFilter)) << c.name;
        Magick::Image written;
        written.ping(lvtest::UnixPath(destination.c_str()));
        // Proportions not kept: exactly this size.
        EXPECT_EQ(std::string(c.format) + " 20x33", written.magick() + " " + std::string(written.size())) << c.name;
    }
    // The source itself may be the destination.
    ASSERT_NE(0, CDll2LorvexMessage().WriteImage(source.c_str(), source.c_str(), SIZE{10, 10}, Magick::TriangleFilter));
    SIZE size = {};
    EXPECT_TRUE(CDll2LorvexMessage().GetImageDim(source.c_str(), &size) && size.cx == 10);
    // Only the pictures: no temporary file stays behind.
    EXPECT_EQ(std::vector<std::string>({"без расширения", "исходник.png", "малый.jpg", "小.png", "\xF0\x9F\x98\x80.bmp"}),
              Listing(folder));
}

TEST(ImageService, TheFilterNumberChoosesTheResampling)
{
    // Black and white stripes stretched: a point filter copies pixels, a
    // triangle filter blends neighbours into greys.
    lvtest::TempDir folder;
    WString source = folder.File(L"stripes.png"), destination = folder.File(L"out.png");
    const unsigned char pixels[] = {0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255};
    Magick::Image(4, 1, "RGB", Magick::CharPixel, pixels).write(lvtest::UnixPath(source.c_str()));
    for (Magick::FilterTypes filter : {Magick::PointFilter, Magick::TriangleFilter}) {
        ASSERT_NE(0, CDll2LorvexMessage().WriteImage(source.c_str(), destination.c_str(), SIZE{11, 1},
                                                     static_cast<WORD>(filter)));
        Magick::Image result(lvtest::UnixPath(destination.c_str()));
        std::vector<unsigned char> reds(result.columns());
        result.write(0, 0, result.columns(), 1, "R", Magick::CharPixel, reds.data());
        int greys = 0;
        for (unsigned char red : reds)
            greys += red > 12 && red < 243;
        EXPECT_EQ(11u, result.columns());
        EXPECT_EQ(filter == Magick::TriangleFilter, greys > 0) << "filter " << filter;
    }
}

TEST(ImageService, FailuresGiveZeroAndLeaveNothingBehind)
{
    lvtest::TempDir folder;
    WString good = folder.File(L"good.png");
    MakePicture(good);
    WString missing = File(folder, "нет.png"), garbage = File(folder, "мусор.png");
    WString truncated = File(folder, "обрезан.jpg"), existing = folder.File(L"kept.bmp");
    const char noise[] = "this is not a picture at all, only some text";
    lvtest::WriteWholeFile(garbage.c_str(), noise, sizeof noise);
    MakePicture(truncated);
    std::string jpeg;
    lvtest::ReadWholeFile(truncated.c_str(), &jpeg);
    lvtest::WriteWholeFile(truncated.c_str(), jpeg.data(), 20);
    const char keep[] = "the user's file";
    lvtest::WriteWholeFile(existing.c_str(), keep, sizeof keep);
    const std::vector<std::string> before = Listing(folder);

    const WString fresh[] = {folder.File(L"a.png"), folder.File(L"d.nosuchformat"), folder.File(L"no folder\\e.png")};
    struct Case { const char* label; const WCHAR* source; const WCHAR* destination; SIZE size; WORD filter; };
    const Case writes[] = {
        {"missing source", missing.c_str(), fresh[0].c_str(), {10, 10}, 0},
        {"garbage source", garbage.c_str(), fresh[0].c_str(), {10, 10}, 0},
        {"truncated source", truncated.c_str(), fresh[0].c_str(), {10, 10}, 0},
        {"garbage over existing", garbage.c_str(), existing.c_str(), {10, 10}, 0},
        {"unknown format", good.c_str(), fresh[1].c_str(), {10, 10}, 0},
        {"filter out of range", good.c_str(), existing.c_str(), {10, 10}, 500},
        {"negative size", good.c_str(), existing.c_str(), {10, -1}, 0},
        {"missing folder", good.c_str(), fresh[2].c_str(), {10, 10}, 0},
        {"folder as destination", good.c_str(), folder.path().c_str(), {10, 10}, 0},
        {"null destination", good.c_str(), nullptr, {10, 10}, 0},
        {"null source", nullptr, fresh[0].c_str(), {10, 10}, 0},
    };
    CDll2LorvexMessage service;
    for (const Case& c : writes) {
        EXPECT_EQ(0, service.WriteImage(c.source, c.destination, c.size, c.filter)) << c.label;
        EXPECT_EQ(before, Listing(folder)) << c.label;
    }
    std::string kept;
    lvtest::ReadWholeFile(existing.c_str(), &kept);
    EXPECT_EQ(std::string(keep, sizeof keep), kept) << "the existing destination changed";

    for (const WCHAR* path : {missing.c_str(), garbage.c_str(), truncated.c_str(), static_cast<const WCHAR*>(nullptr),
                              L"", folder.path().c_str()}) {
        SIZE size = {7, 7};
        EXPECT_EQ(0, service.GetImageDim(path, &size)) << lvtest::Utf8(path);
        EXPECT_EQ(nullptr, service.ReadImage(path, &size, SIZE{10, 10})) << lvtest::Utf8(path);
    }
    EXPECT_NE(0, service.GetImageDim(good.c_str(), nullptr));   // size out may be null
}

TEST(FlushWindowsMessages, DispatchesWaitingMessagesAndPaintsButLeavesQuit)
{
    HINSTANCE self = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {0, CountingProc, 0, 0, self, nullptr, nullptr, nullptr, nullptr, L"LorvexFlushTest"};
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"LorvexFlushTest", L"flush", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                100, nullptr, nullptr, self, nullptr);
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
    PostQuitMessage(3);
    FlushWindowsMessages(window);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "WM_QUIT was swallowed";
    FlushWindowsMessages(nullptr);
    DestroyWindow(window);
    FlushWindowsMessages(window);   // a window already gone
}
