// The preview drawer into a memory DC, and the dialog's picture rules without
// a window (as a host uses them).
#include <lorvexops/lorvexops.h>
#include "testsupport.h"

#include <Magick++.h>
#include <algorithm>

namespace {

using Magick::Quantum;   // QuantumRange is spelt with it

// A 40 x 30 DIB section in a memory DC, pre-filled with magenta so that
// anything not drawn shows.
struct Canvas {
    Canvas() : section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, (void**)&bits, nullptr, 0))
    {
        old = SelectObject(dc, section);
        std::fill_n(bits, kWidth * kHeight, 0xFF00FF);
    }
    ~Canvas() { SelectObject(dc, old), DeleteDC(dc), DeleteObject(section); }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const DWORD p = bits[y * kWidth + x];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
    static constexpr int kWidth = 40, kHeight = 30;
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB}};
    DWORD* bits = nullptr;
    HBITMAP section;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old;
};

// 20 x 10: pixel (x, y) has red x * 10, green y * 20, blue 7.
Magick::Image Gradient()
{
    std::vector<unsigned char> rgb;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            rgb.insert(rgb.end(), {(unsigned char)(x * 10), (unsigned char)(y * 20), 7});
    return Magick::Image(20, 10, "RGB", Magick::CharPixel, rgb.data());
}

COLORREF Expected(int x, int y) { return RGB(x * 10, y * 20, 7); }

TEST(ImageDrawer, PutsViewPointAtTheCornerAndFillsTheRestWithButtonFace)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Case {
        int viewX, viewY;
        POINT probe;        // canvas point
        bool inPicture;     // else button face
    };
    const Case cases[] = {
        {0, 0, {0, 0}, true},      {0, 0, {19, 9}, true},    {0, 0, {20, 0}, false}, {0, 0, {0, 10}, false},
        {5, 3, {0, 0}, true},      {5, 3, {14, 6}, true},    {5, 3, {15, 0}, false},
        {-10, -4, {10, 4}, true},  {-10, -4, {9, 4}, false}, {-10, -4, {10, 3}, false}, {-10, -4, {29, 13}, true},
        {-100000, 0, {0, 0}, false}, {100000, 100000, {39, 29}, false},
    };
    Magick::Image image = Gradient();
    CImageDrawer drawer;
    for (const Case& c : cases) {
        Canvas canvas;
        EXPECT_TRUE(drawer.DisplayDib(nullptr, canvas.dc, c.viewX, c.viewY, Canvas::kWidth, Canvas::kHeight, &image));
        const COLORREF want = c.inPicture ? Expected(c.probe.x + c.viewX, c.probe.y + c.viewY) : face;
        EXPECT_EQ(want, canvas.At(c.probe.x, c.probe.y))
            << "view " << c.viewX << "," << c.viewY << " at " << c.probe.x << "," << c.probe.y;
    }
    // Only the clip box is touched; a null picture is all button face.
    Canvas clipped;
    IntersectClipRect(clipped.dc, 0, 0, 10, 10);
    drawer.DisplayDib(nullptr, clipped.dc, 0, 0, Canvas::kWidth, Canvas::kHeight, nullptr);
    EXPECT_EQ(face, clipped.At(9, 9));
    EXPECT_EQ(RGB(255, 0, 255), clipped.At(10, 10));
}

TEST(ImageDrawer, ShowsTransparencyOverALightCheckerboardOnlyWithMatte)
{
    Magick::Image image = Gradient();
    const Magick::Color red0(image.pixelColor(0, 0));
    image.transparent(red0);   // pixel (0, 0) only: no other has red 0 and green 0
    CImageDrawer drawer;
    for (bool matte : {true, false}) {
        image.matte(matte);
        Canvas canvas;
        drawer.DisplayDib(nullptr, canvas.dc, 0, 0, Canvas::kWidth, Canvas::kHeight, &image);
        const COLORREF corner = canvas.At(0, 0);
        EXPECT_EQ(matte ? RGB(255, 255, 255) : Expected(0, 0), corner) << "matte " << matte;
        EXPECT_EQ(Expected(1, 0), canvas.At(1, 0)) << "matte " << matte;
    }
}

TEST(ExportGifWithoutWindow, ClicksOnlyInsideThePictureWhilePickingAndCopiesOwnTheirDrawer)
{
    Magick::Image image = Gradient();
    CDlgExportGif gif(nullptr);
    gif.SetWorkingImage(&image);
    gif.ClickCustomCtrl(3, 3);   // not picking
    gif.m_bPicking = TRUE;
    for (POINT outside : {POINT{-1, 0}, POINT{20, 0}, POINT{0, 10}, POINT{0, -1}})
        gif.ClickCustomCtrl(outside.x, outside.y);
    EXPECT_FALSE(image.matte());
    gif.ClickCustomCtrl(19, 9);
    EXPECT_TRUE(image.matte());
    EXPECT_EQ(Magick::Color(image.pixelColor(19, 9)).redQuantum(), gif.m_committedColor.redQuantum());
    EXPECT_EQ(QuantumRange, image.getConstPixels(19, 9, 1, 1)->opacity);
    EXPECT_EQ(0, image.getConstPixels(18, 9, 1, 1)->opacity);

    gif.m_nViewX = -7;
    CDlgExportGif copy(gif);
    CDlgExportGif assigned(nullptr);
    CImageDrawer* own = assigned.m_pDrawer;
    assigned = gif;
    for (const CDlgExportGif* other : {&copy, &assigned}) {
        EXPECT_EQ(-7, other->m_nViewX);
        EXPECT_EQ(&image, other->GetImage());
        EXPECT_TRUE(other->m_committedColor == gif.m_committedColor);
        EXPECT_TRUE(other->m_pDrawer && other->m_pDrawer != gif.m_pDrawer);
    }
    EXPECT_EQ(own, assigned.m_pDrawer);
}

}  // namespace
