// The follow-up dialog after a save: a GIF picture gets the GIF dialog (its
// own suite), a compressed JPEG picture the JPEG page, others none.
#include <lorvexops/lorvexops.h>
#include "modaldriver.h"
#include "testsupport.h"

#include <Magick++.h>

namespace {

Magick::Image Picture(const char* format, Magick::CompressionType compression)
{
    Magick::Image image(Magick::Geometry(8, 8), Magick::Color("red"));
    image.magick(format);
    image.compressType(compression);
    return image;
}

TEST(ShowFilterDialog, FormatsWithoutFollowUpReturnOneAndShowNothing)
{
    // Only "GIF" itself opens the GIF dialog, not the older "GIF87".
    const std::pair<const char*, Magick::CompressionType> cases[] = {
        {"PNG", Magick::ZipCompression}, {"JPEG", Magick::NoCompression}, {"TIFF", Magick::JPEGCompression},
        {"GIF87", Magick::LZWCompression},
    };
    for (const auto& c : cases) {
        Magick::Image image = Picture(c.first, c.second);
        lvtest::StartCountingDialogs();
        EXPECT_EQ(1, CImageFormatOptions().ShowFilterDialog(&image, nullptr)) << c.first;
        EXPECT_EQ(0, lvtest::StopCountingDialogs()) << c.first;
    }
    EXPECT_EQ(1, CImageFormatOptions().ShowFilterDialog(nullptr, nullptr));
}

TEST(ShowFilterDialog, CompressedJpegOpensTheStandAloneJpegPage)
{
    // Ended with its "Ok" button (1), or with Escape's IDCANCEL (2).
    struct Case { const char* format; bool pressOk; int result; };
    for (const Case& c : {Case{"JPEG", true, 1}, Case{"JPG", true, 1}, Case{"JPEG", false, 2}}) {
        Magick::Image image = Picture(c.format, Magick::JPEGCompression);
        lvtest::ModalDriver driver;
        driver.Then([&] {
            HWND dialog = lvtest::DialogWithCaption(L"JPEG Save Options");
            HWND ok = dialog ? lvtest::ChildWithText(dialog, L"Ok", L"Button") : nullptr;
            if (c.pressOk && ok && IsWindowVisible(ok))
                lvtest::PostClick(dialog, GetDlgCtrlID(ok));
            else if (dialog)
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return dialog != nullptr;
        });
        driver.Start();
        EXPECT_EQ(c.result, CImageFormatOptions().ShowFilterDialog(&image, nullptr)) << c.format << " " << c.pressOk;
        EXPECT_TRUE(driver.Finished() && !driver.TimedOut()) << c.format;
    }
}

// Any save-options template of the library runs through the generic class.
TEST(ShowFilterDialog, GenericExportDialogRunsTheLibrarysTemplates)
{
    for (const auto& c : {std::make_pair(WORD(1143), L"BMP Save Options")}) {
        Magick::Image image = Picture("BMP", Magick::NoCompression);
        CDlgGenericExport dialog(c.first, nullptr);
        dialog.SetWorkingImage(&image);
        // The library's own templates. (The only call here through the DLL's
        // exports: it makes Wine load the DLL and bind its imports.)
        EXPECT_EQ(LorvexGetModuleInstance(), dialog.m_hInstance);
        lvtest::ModalDriver driver;
        driver.Then([&] {
            HWND shown = lvtest::DialogWithCaption(c.second);
            if (shown)
                lvtest::PostClick(shown, IDCANCEL);
            return shown != nullptr;
        });
        driver.Start();
        EXPECT_EQ(IDCANCEL, dialog.DoModal()) << c.first;
        EXPECT_TRUE(driver.Finished()) << c.first << ": its caption never showed";
    }
}

}  // namespace
