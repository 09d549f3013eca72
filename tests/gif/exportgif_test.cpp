// The "GIF Export" dialog driven through its real windows: the frame gets
// mouse messages as a user's mouse sends them (the real cursor placed over the
// point first, so leave tracking sees it there), buttons get BM_CLICK.
#include <lorvexops/lorvexops.h>
#include "modaldriver.h"
#include "testsupport.h"
#include "../../resources/gif_ids.h"

#include <Magick++.h>

namespace {

using Magick::Quantum;   // QuantumRange is spelt with it

const COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kWhite = RGB(255, 255, 255);

// 120 x 90: columns 0-9 blue, 10-19 red, 20-39 green, the rest white.
Magick::Image Stripes()
{
    std::vector<unsigned char> rgb;
    for (int i = 0; i < 120 * 90; ++i) {
        const COLORREF c = i % 120 < 10 ? kBlue : i % 120 < 20 ? kRed : i % 120 < 40 ? kGreen : kWhite;
        rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
    Magick::Image image(120, 90, "RGB", Magick::CharPixel, rgb.data());
    image.magick("GIF");
    return image;
}

COLORREF Rgb(const Magick::Color& c)
{
    return RGB(c.redQuantum() / 257, c.greenQuantum() / 257, c.blueQuantum() / 257);
}

bool TransparentAt(const Magick::Image& image, int x, int y)
{
    return image.matte() && image.getConstPixels(x, y, 1, 1)->opacity == QuantumRange;
}

COLORREF PixelOf(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

COLORREF SwatchColour(HWND dialog)
{
    RECT r;
    GetWindowRect(GetDlgItem(dialog, IDS_GIF_SWATCH), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return PixelOf(dialog, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// A mouse message at frame point (x, y), with the real cursor there.
void Mouse(HWND frame, UINT message, int x, int y, WPARAM keys = 0)
{
    POINT screen = {x, y};
    ClientToScreen(frame, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(frame, message, keys, MAKELPARAM(x, y));
}

TEST(ExportGif, OpensFromTheImagesStateAndAppliesInterlaceOnlyOnOk)
{
    // Run through ShowFilterDialog, which opens this dialog for GIF pictures.
    struct Case {
        bool matte;
        Magick::InterlaceType interlace;
        bool uncheckInterlace, ok, interlaceChecked;
        Magick::InterlaceType after;
    };
    const Case cases[] = {
        {false, Magick::UndefinedInterlace, false, true, true, Magick::LineInterlace},
        {true, Magick::NoInterlace, false, false, true, Magick::NoInterlace},
        {false, Magick::NoInterlace, true, true, true, Magick::NoInterlace},
        {false, Magick::LineInterlace, false, true, false, Magick::LineInterlace},
        {false, Magick::PlaneInterlace, false, true, false, Magick::PlaneInterlace},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "matte " << c.matte << ", interlace " << c.interlace);
        Magick::Image image = Stripes();
        image.interlaceType(c.interlace);
        if (c.matte) {
            image.matte(true);
            image.matteColor(Magick::Color(0, 0, QuantumRange));
        }
        bool seen = false;
        lvtest::ModalDriver driver;
        driver.Then([&] {
            HWND dialog = lvtest::DialogWithCaption(L"GIF Export");
            if (!dialog)
                return false;
            seen = true;
            EXPECT_EQ(c.matte, Checked(dialog, IDR_GIF_SELECTED_COLOR));
            EXPECT_EQ(!c.matte, Checked(dialog, IDR_GIF_NONE));
            EXPECT_EQ(c.interlaceChecked, Checked(dialog, IDX_GIF_INTERLACED));
            if (c.matte)   // the swatch starts from the matte colour
                EXPECT_EQ(kBlue, SwatchColour(dialog));
            if (c.uncheckInterlace)
                Click(dialog, IDX_GIF_INTERLACED);
            PostMessageW(dialog, WM_COMMAND, c.ok ? IDOK : IDCANCEL, 0);
            return true;
        });
        driver.Start();
        EXPECT_EQ(c.ok ? IDOK : IDCANCEL, CImageFormatOptions().ShowFilterDialog(&image, nullptr));
        EXPECT_TRUE(seen && !driver.TimedOut());
        EXPECT_EQ(c.after, image.interlaceType());
        EXPECT_EQ(c.matte, image.matte());
    }
}

// One run of the whole user flow: preview, drag, eyedropper hover, leave and
// click, "None" while picking, "Selected color", Cancel.
TEST(ExportGif, PansPicksAndKeepsTransparencyOnCancel)
{
    Magick::Image image = Stripes();
    const Magick::InterlaceType interlace = image.interlaceType();
    CDlgExportGif gif(nullptr);
    gif.SetWorkingImage(&image);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    HWND dialog = nullptr, frame = nullptr;
    int waits = 0;
    // Steps run one timer tick apart, so posted input and painting happen between.
    lvtest::ModalDriver driver(30000);
    driver.Then([&] {
        dialog = gif.m_hWnd;
        frame = dialog ? FindWindowExW(dialog, nullptr, L"DrawerFrame", nullptr) : nullptr;
        if (!frame || !IsWindowVisible(frame))
            return false;
        Click(dialog, IDX_GIF_PREVIEW);
        EXPECT_TRUE(gif.m_bPreview);
        lvtest::SaveScreenshot(dialog, L"gif_export.png");
        // Picture point (0, 0) at the frame's top-left; beyond the picture, button face.
        EXPECT_EQ(kBlue, PixelOf(frame, 5, 5));
        EXPECT_EQ(kRed, PixelOf(frame, 15, 5));
        EXPECT_EQ(kGreen, PixelOf(frame, 25, 80));
        EXPECT_EQ(face, PixelOf(frame, 125, 5));
        EXPECT_EQ(face, PixelOf(frame, 5, 95));
        // Drag 10 pixels to the right: the first move only records.
        Mouse(frame, WM_LBUTTONDOWN, 30, 10, MK_LBUTTON);
        Mouse(frame, WM_MOUSEMOVE, 30, 10, MK_LBUTTON);
        Mouse(frame, WM_MOUSEMOVE, 40, 10, MK_LBUTTON);
        Mouse(frame, WM_LBUTTONUP, 40, 10);
        return true;
    });
    driver.Then([&] {
        EXPECT_EQ(-10, gif.m_nViewX);
        EXPECT_EQ(0, gif.m_nViewY);
        EXPECT_NE(frame, GetCapture());
        EXPECT_EQ(face, PixelOf(frame, 5, 5));    // the strip the scroll uncovered
        EXPECT_EQ(kBlue, PixelOf(frame, 15, 5));
        EXPECT_FALSE(image.matte());             // a drag's button release picks nothing
        Click(dialog, IDB_GIF_EYEDROPPER);
        EXPECT_TRUE(gif.m_bPicking);
        EXPECT_TRUE(Checked(dialog, IDR_GIF_SELECTED_COLOR));
        EXPECT_FALSE(Checked(dialog, IDR_GIF_NONE));
        SendMessageW(frame, WM_SETCURSOR, WPARAM(frame), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(LoadCursorW(LorvexGetModuleInstance(), MAKEINTRESOURCEW(IDCUR_GIF_EYEDROPPER)), GetCursor());
        Mouse(frame, WM_MOUSEMOVE, 35, 20);      // over picture x 25: green
        return true;
    });
    driver.Then([&] {
        EXPECT_EQ(kGreen, Rgb(gif.m_shownColor));
        EXPECT_EQ(kGreen, SwatchColour(dialog));
        EXPECT_FALSE(image.matte());             // hovering only previews
        Mouse(frame, WM_LBUTTONDOWN, 25, 20, MK_LBUTTON);   // picture x 15: red
        Mouse(frame, WM_LBUTTONUP, 25, 20);
        return true;
    });
    driver.Then([&] {
        EXPECT_TRUE(image.matte());
        EXPECT_TRUE(TransparentAt(image, 15, 40));
        EXPECT_FALSE(TransparentAt(image, 25, 40));
        EXPECT_EQ(kRed, Rgb(gif.m_committedColor));
        EXPECT_EQ(kRed, SwatchColour(dialog));
        // The transparent red shows the light checkerboard, the rest is as before.
        const COLORREF checker = PixelOf(frame, 25, 20);
        EXPECT_TRUE(checker == kWhite || checker == RGB(0xD0, 0xD0, 0xD0)) << std::hex << checker;
        EXPECT_EQ(kGreen, PixelOf(frame, 35, 20));
        lvtest::SaveScreenshot(dialog, L"gif_export_transparent.png");
        // Frame point (15, 0) is picture point (5, 0): blue.
        Mouse(frame, WM_LBUTTONDOWN, 15, 0, MK_LBUTTON);
        Mouse(frame, WM_LBUTTONUP, 15, 0);
        return true;
    });
    driver.Then([&] {
        EXPECT_EQ(kBlue, Rgb(gif.m_committedColor));
        EXPECT_TRUE(TransparentAt(image, 5, 0));
        Mouse(frame, WM_MOUSEMOVE, 35, 20);
        return true;
    });
    driver.Then([&] {
        EXPECT_EQ(kGreen, SwatchColour(dialog));
        // Leaving the frame brings the committed colour back.
        SetCursorPos(0, 0);
        return true;
    });
    driver.Then([&] {
        if (Rgb(gif.m_shownColor) != kBlue && ++waits < 50)
            return false;
        EXPECT_EQ(kBlue, SwatchColour(dialog));
        Click(dialog, IDR_GIF_NONE);
        EXPECT_FALSE(gif.m_bPicking);
        EXPECT_FALSE(Checked(dialog, IDB_GIF_EYEDROPPER));
        EXPECT_FALSE(image.matte());
        Click(dialog, IDR_GIF_SELECTED_COLOR);
        EXPECT_TRUE(TransparentAt(image, 5, 0));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    driver.Start();
    EXPECT_EQ(IDCANCEL, gif.DoModal());
    EXPECT_TRUE(driver.Finished() && !driver.TimedOut());
    // Cancel keeps the transparency and does not interlace.
    EXPECT_TRUE(TransparentAt(image, 5, 0));
    EXPECT_FALSE(TransparentAt(image, 15, 0));
    EXPECT_EQ(interlace, image.interlaceType());
}

}  // namespace
