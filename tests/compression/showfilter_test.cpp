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

// Waits for the dialog with caption and clicks button in it.
lvtest::ModalDriver::Step Press(const WCHAR* caption, int button)
{
    return [=] {
        HWND dialog = lvtest::DialogWithCaption(caption);
        if (dialog)
            lvtest::PostClick(dialog, button);
        return dialog != nullptr;
    };
}

}  // namespace

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

// What the page stores is the settings suite's; here only that both names
// of the format reach it and its answer comes back ("Ok" 1, Cancel 2).
TEST(ShowFilterDialog, CompressedJpegOpensTheStandAloneJpegPage)
{
    const struct { const char* format; int button, result; } cases[] = {{"JPEG", IDOK, 1}, {"JPG", IDCANCEL, 2}};
    for (const auto& c : cases) {
        Magick::Image image = Picture(c.format, Magick::JPEGCompression);
        lvtest::ModalDriver driver;
        driver.Then(Press(L"JPEG Save Options", c.button)).Start();
        EXPECT_EQ(c.result, CImageFormatOptions().ShowFilterDialog(&image, nullptr)) << c.format;
        EXPECT_TRUE(driver.Finished() && !driver.TimedOut()) << c.format;
    }
}

// Any save-options template of the library runs through the generic class.
TEST(ShowFilterDialog, GenericExportDialogRunsTheLibrarysTemplates)
{
    Magick::Image image = Picture("BMP", Magick::NoCompression);
    CDlgGenericExport dialog(1143, nullptr);
    dialog.SetWorkingImage(&image);
    EXPECT_EQ(LorvexGetModuleInstance(), dialog.m_hInstance);   // the library's own templates
    lvtest::ModalDriver driver;
    driver.Then(Press(L"BMP Save Options", IDCANCEL)).Start();
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(driver.Finished()) << "its caption never showed";
}
