// The "Resize Image" and "Batch Resize" dialogs driven through their modal
// loops with the input a user produces: typing, radio and box clicks, list
// keys, OK and Cancel.
#include <lorvexops/lorvexops.h>
#include "../settings/dialog_driver.h"
#include "../../resources/resize_ids.h"

#include <Magick++.h>

namespace {

using Script = std::function<void(HWND)>;

std::string Shown(HWND dialog, int id) { return lvtest::Utf8(Text(GetDlgItem(dialog, id)).c_str()); }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
Script Type(int id, const WCHAR* text) { return [=](HWND d) { TypeInto(GetDlgItem(d, id), text); }; }
Script Press(int id) { return [=](HWND d) { Click(GetDlgItem(d, id)); }; }
std::string Filter(HWND dialog)   // the selected entry
{
    HWND combo = GetDlgItem(dialog, IDC_RESIZE_FILTER);
    return lvtest::ComboEntries(combo, int(SendMessageW(combo, CB_GETCURSEL, 0, 0)));
}
// A key in the drop-down list selects the next entry with that initial.
void PickFilter(HWND dialog, const WCHAR* initial)
{
    HWND combo = GetDlgItem(dialog, IDC_RESIZE_FILTER);
    SetFocus(combo);
    lvtest::SendTyping(combo, initial);
}

// Runs the steps, one per timer tick, on whatever dialog is in front; returns
// the end code of the modal run.
INT_PTR Drive(CDialog& dialog, std::vector<Script> steps)
{
    lvtest::ModalDriver driver;
    for (Script& step : steps)
        driver.Then([step] {
            HWND front = lvtest::ActiveDialog();
            if (front)
                step(front);
            return front != nullptr;
        });
    driver.Start();
    INT_PTR result = dialog.DoModal();
    EXPECT_TRUE(driver.Finished() && !driver.TimedOut());
    return result;
}

TEST(ResizeDialog, PictureTypedInPixelsAndPercent)
{
    CDlgResize dialog(nullptr, {800, 600, Magick::MitchellFilter});
    EXPECT_EQ(LorvexGetModuleInstance(), dialog.m_hInstance);

    struct Row { const char* what; Script act; const char *width, *height, *estimate; };
    const Row rows[] = {
        {"as opened", [](HWND) {}, "800", "600", "1.37 MB"},
        {"width 400", Type(IDE_RESIZE_WIDTH, L"400"), "400", "300", "351.56 Kb"},
        {"width 40000", Type(IDE_RESIZE_WIDTH, L"40000"), "32768", "24576", "2304.00 MB"},
        {"width cleared", Type(IDE_RESIZE_WIDTH, L""), "1", "1", "3.00 bytes"},
        {"height 300", Type(IDE_RESIZE_HEIGHT, L"300"), "400", "300", "351.56 Kb"},
        {"width to percent", Press(IDR_RESIZE_WIDTH_PERCENT), "50", "300", "351.56 Kb"},
        {"20000 %", Type(IDE_RESIZE_WIDTH, L"20000"), "4096", "24576", "2304.00 MB"},
        {"25 %", Type(IDE_RESIZE_WIDTH, L"25"), "25", "150", "87.89 Kb"},
        {"width to pixels", Press(IDR_RESIZE_WIDTH_PIXELS), "200", "150", "87.89 Kb"},
        {"height to percent", Press(IDR_RESIZE_HEIGHT_PERCENT), "200", "25", "87.89 Kb"},
        {"proportions off, width 100",
         [](HWND d) {
             EnableWindow(GetDlgItem(d, IDX_RESIZE_CONSTRAIN), TRUE);
             Click(GetDlgItem(d, IDX_RESIZE_CONSTRAIN));
             TypeInto(GetDlgItem(d, IDE_RESIZE_WIDTH), L"100");
         },
         "100", "25", "43.95 Kb"},
    };
    std::vector<Script> steps;
    steps.push_back([](HWND d) {
        // The entries carry the filters by name ("Bessel" is Magick++'s Jinc).
        EXPECT_EQ(15, SendDlgItemMessageW(d, IDC_RESIZE_FILTER, CB_GETCOUNT, 0, 0));
        EXPECT_EQ("Mitchell", Filter(d));
        EXPECT_EQ(Magick::JincFilter, SendDlgItemMessageW(d, IDC_RESIZE_FILTER, CB_GETITEMDATA, 13, 0));
        EXPECT_TRUE(Checked(d, IDR_RESIZE_WIDTH_PIXELS) && Checked(d, IDR_RESIZE_HEIGHT_PIXELS));
        EXPECT_TRUE(Checked(d, IDX_RESIZE_CONSTRAIN) && !Enabled(d, IDX_RESIZE_CONSTRAIN));
        EXPECT_NE(0, SendDlgItemMessageW(d, IDI_RESIZE_ICON, STM_GETICON, 0, 0));
    });
    for (const Row& row : rows)
        steps.push_back([&row, first = &row == &rows[1]](HWND d) {
            row.act(d);
            EXPECT_EQ(row.width, Shown(d, IDE_RESIZE_WIDTH)) << row.what;
            EXPECT_EQ(row.height, Shown(d, IDE_RESIZE_HEIGHT)) << row.what;
            EXPECT_EQ(row.estimate, Shown(d, IDT_RESIZE_MEMORY)) << row.what;
            if (first)
                EXPECT_TRUE(lvtest::SaveScreenshot(d, L"resize-image.png"));
        });
    // OK without a filter: refused with a message, the dialog stays.
    steps.push_back([](HWND d) {
        SendDlgItemMessageW(d, IDC_RESIZE_FILTER, CB_SETCURSEL, WPARAM(-1), 0);
        lvtest::PostClick(d, IDOK);
    });
    steps.push_back([](HWND box) {
        EXPECT_EQ(lvtest::WString(L"Resize image :"), Text(box));
        EXPECT_NE(HWND(nullptr), lvtest::ChildWithText(box, L"Please select a filter type !"));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    steps.push_back([](HWND d) {
        EXPECT_EQ(lvtest::WString(L"Resize Image"), Text(d));
        PickFilter(d, L"T");
        lvtest::PostClick(d, IDOK);
    });
    EXPECT_EQ(IDOK, Drive(dialog, steps));
    CDlgResize::IMAGEPROP chosen = dialog.GetImageProp();
    EXPECT_EQ(100u, chosen.width);
    EXPECT_EQ(150u, chosen.height);   // 25 % of 600, in pixels after OK
    EXPECT_EQ(Magick::TriangleFilter, chosen.filter);
}

TEST(ResizeDialog, WithoutPictureEditsStayEmptyAndCancelKeepsTheSource)
{
    CDlgResize dialog(IDD_RESIZE_IMAGE, nullptr);
    EXPECT_EQ(IDCANCEL, Drive(dialog, {[](HWND d) {
        EXPECT_EQ("", Shown(d, IDE_RESIZE_WIDTH));
        EXPECT_EQ("", Shown(d, IDE_RESIZE_HEIGHT));
        EXPECT_EQ(0, SendDlgItemMessageW(d, IDI_RESIZE_ICON, STM_GETICON, 0, 0));
        EXPECT_EQ("Lanczos", Filter(d));
        TypeInto(GetDlgItem(d, IDE_RESIZE_WIDTH), L"70");
        Click(GetDlgItem(d, IDR_RESIZE_WIDTH_PERCENT));   // no source side: the value stays
        EXPECT_EQ("70", Shown(d, IDE_RESIZE_WIDTH));
        lvtest::PostClick(d, IDCANCEL);
    }}));
    CDlgResize::IMAGEPROP kept = dialog.GetImageProp();
    EXPECT_EQ(0u, kept.width);
    EXPECT_EQ(0u, kept.height);
    EXPECT_EQ(Magick::LanczosFilter, kept.filter);
}

// What the options give on a 1600 x 1600 and a 400 x 200 picture.
std::pair<SIZE, SIZE> Fitted(CDlgBatchResize& options)
{
    SIZE large = {1600, 1600}, little = {400, 200};
    options.BatchResizing(&large);
    options.BatchResizing(&little);
    return {large, little};
}

TEST(BatchResizeDialog, OkRuleFilterAndReopening)
{
    CDlgBatchResize options(nullptr);
    EXPECT_EQ(IDOK, Drive(options, {[](HWND d) {
        EXPECT_EQ(lvtest::WString(L"Batch Resize"), Text(d));
        EXPECT_EQ("", Shown(d, IDE_RESIZE_WIDTH));
        EXPECT_EQ("Lanczos", Filter(d));
        EXPECT_TRUE(Checked(d, IDX_RESIZE_CONSTRAIN) && !Enabled(d, IDX_RESIZE_CONSTRAIN));
        // OK needs a direction and both bounds.
        const std::pair<Script, bool> rule[] = {
            {[](HWND) {}, false},
            {Press(IDX_BATCH_SHRINK), false},
            {Type(IDE_RESIZE_WIDTH, L"1234567"), false},
            {Type(IDE_RESIZE_HEIGHT, L"600"), true},
            {Press(IDX_BATCH_SHRINK), false},
            {Press(IDX_BATCH_SHRINK), true},
            {Type(IDE_RESIZE_HEIGHT, L""), false},
            {Type(IDE_RESIZE_HEIGHT, L"600"), true},
        };
        int step = 0;
        for (const auto& r : rule) {
            r.first(d);
            EXPECT_EQ(r.second, Enabled(d, IDOK)) << "step " << step++;
        }
        EXPECT_EQ("12345", Shown(d, IDE_RESIZE_WIDTH));   // five digits at most
        TypeInto(GetDlgItem(d, IDE_RESIZE_WIDTH), L"800");
        PickFilter(d, L"M");
        EXPECT_TRUE(lvtest::SaveScreenshot(d, L"batch-resize.png"));
        lvtest::PostClick(d, IDOK);
    }}));
    auto fitted = Fitted(options);
    EXPECT_EQ(600, fitted.first.cx);
    EXPECT_EQ(600, fitted.first.cy);
    EXPECT_EQ(400, fitted.second.cx);   // not enlarged
    EXPECT_EQ(Magick::MitchellFilter, options.GetImageProp().filter);

    // Shown again as stored, OK disabled until a change; Cancel undoes only
    // the bounds, the box and the filter stay as clicked.
    EXPECT_EQ(IDCANCEL, Drive(options, {[](HWND d) {
        EXPECT_EQ("800", Shown(d, IDE_RESIZE_WIDTH));
        EXPECT_EQ("600", Shown(d, IDE_RESIZE_HEIGHT));
        EXPECT_TRUE(Checked(d, IDX_BATCH_SHRINK) && !Checked(d, IDX_BATCH_ENLARGE));
        EXPECT_EQ("Mitchell", Filter(d));
        EXPECT_FALSE(Enabled(d, IDOK));
        TypeInto(GetDlgItem(d, IDE_RESIZE_WIDTH), L"100");
        Click(GetDlgItem(d, IDX_BATCH_ENLARGE));
        PickFilter(d, L"G");
        lvtest::PostClick(d, IDCANCEL);
    }}));
    fitted = Fitted(options);
    EXPECT_EQ(600, fitted.first.cx);
    EXPECT_EQ(800, fitted.second.cx);   // now enlarged into 800 x 600
    EXPECT_EQ(400, fitted.second.cy);
    EXPECT_EQ(Magick::GaussianFilter, options.GetImageProp().filter);
}

}  // namespace
