// The follow-up dialog after a save: only a compressed JPEG picture gets one.
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
    struct Case {
        const char* format;
        Magick::CompressionType compression;
    };
    // GIF has no follow-up dialog of its own yet.
    const Case cases[] = {
        {"PNG", Magick::ZipCompression},
        {"JPEG", Magick::NoCompression},
        {"JPG", Magick::NoCompression},
        {"GIF", Magick::LZWCompression},
        {"TIFF", Magick::JPEGCompression},
    };
    for (const Case& c : cases) {
        Magick::Image image = Picture(c.format, c.compression);
        lvtest::StartCountingDialogs();
        int result = CImageFormatOptions().ShowFilterDialog(&image, nullptr);
        int dialogs = lvtest::StopCountingDialogs();
        EXPECT_EQ(1, result) << c.format;
        EXPECT_EQ(0, dialogs) << c.format;
    }
    EXPECT_EQ(1, CImageFormatOptions().ShowFilterDialog(nullptr, nullptr));
}

// Runs ShowFilterDialog on a compressed JPEG picture and ends the dialog that
// opens: with its "Ok" button, or with Escape's IDCANCEL.
int RunJpegDialog(const char* format, bool pressOk, bool* sawOk)
{
    Magick::Image image = Picture(format, Magick::JPEGCompression);
    lvtest::ModalDriver driver;
    driver.Then([&] {
        HWND dialog = lvtest::DialogWithCaption(L"JPEG Save Options");
        if (!dialog)
            return false;
        HWND ok = lvtest::ChildWithText(dialog, L"Ok", L"Button");
        *sawOk = ok && IsWindowVisible(ok);
        if (pressOk && ok)
            lvtest::PostClick(dialog, GetDlgCtrlID(ok));
        else
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    driver.Start();
    int result = CImageFormatOptions().ShowFilterDialog(&image, nullptr);
    EXPECT_TRUE(driver.Finished());
    EXPECT_FALSE(driver.TimedOut());
    return result;
}

TEST(ShowFilterDialog, CompressedJpegOpensTheStandAloneJpegPage)
{
    for (const char* format : {"JPEG", "JPG"}) {
        bool sawOk = false;
        EXPECT_EQ(1, RunJpegDialog(format, true, &sawOk)) << format << ": \"Ok\" ends with 1";
        EXPECT_TRUE(sawOk) << format << ": the stand-alone page shows its \"Ok\" button";
    }
    bool sawOk = false;
    EXPECT_EQ(2, RunJpegDialog("JPEG", false, &sawOk)) << "Cancel ends with 2";
}

// Any save-options template of the library runs through the generic class.
TEST(ShowFilterDialog, GenericExportDialogRunsTheLibrarysTemplates)
{
    struct Case {
        WORD templateId;
        const WCHAR* caption;
    };
    const Case cases[] = {{1143, L"BMP Save Options"}, {1147, L"GIF Save options"}};
    for (const Case& c : cases) {
        Magick::Image image = Picture("BMP", Magick::NoCompression);
        CDlgGenericExport dialog(c.templateId, nullptr);
        dialog.SetWorkingImage(&image);
        EXPECT_EQ(LorvexGetModuleInstance(), dialog.m_hInstance);
        bool seen = false;
        lvtest::ModalDriver driver;
        driver.Then([&] {
            HWND shown = lvtest::DialogWithCaption(c.caption);
            if (!shown)
                return false;
            seen = true;
            lvtest::PostClick(shown, IDCANCEL);
            return true;
        });
        driver.Start();
        EXPECT_EQ(IDCANCEL, dialog.DoModal()) << c.templateId;
        EXPECT_TRUE(seen) << c.templateId;
        EXPECT_EQ(&image, dialog.m_pWorkingImage) << c.templateId;
    }
}

}  // namespace
