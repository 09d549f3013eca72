// The "E-mail pictures" dialog driven as a user drives it: pictures added one
// by one and through the file dialog, the total, removals, the preview, the
// row colours, "Postpone", the resize options.
#include <lorvexops/lorvexops.h>
#include "mailtest.h"
#include "modaldriver.h"

#include <commctrl.h>
#include <dlgs.h>

#include "../../resources/mail_ids.h"

using lvtest::WString;
using mailtest::MakePicture;
using mailtest::Click;

namespace {

std::string Total(HWND dialog) { return lvtest::Utf8(lvtest::TextOf(GetDlgItem(dialog, IDE_MAIL_TOTAL_SIZE)).c_str()); }

void Select(HWND list, int row)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    if (row >= 0) {
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    lvtest::PumpMessages();
}

// The pixel at the middle of a control, as it is on the screen.
COLORREF Middle(HWND control)
{
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT area;
    GetClientRect(control, &area);
    HDC dc = GetDC(control);
    const COLORREF colour = GetPixel(dc, area.right / 2, area.bottom / 2);
    ReleaseDC(control, dc);
    return colour;
}

// A file of exactly size bytes (the list takes any file).
WString Sized(const lvtest::TempDir& dir, const WCHAR* name, size_t size)
{
    return dir.Write(name, std::string(size, 'x').data(), size);
}

}  // namespace

TEST(MailDialog, ListTotalRemovalPreviewAndPostpone)
{
    CDlgMail& mail = mailtest::SharedDialog();
    HWND dialog = mail.m_hWnd, list = GetDlgItem(dialog, IDL_MAIL_PICTURES);
    lvtest::TempDir dir;
    EXPECT_EQ("0", Total(dialog));

    const WString red = MakePicture(dir.File(L"фото.png"), 64, 48);
    mail.AddAttachement(Sized(dir, L"half.bin", 1536).c_str());
    EXPECT_EQ("1.50 KB", Total(dialog));
    const WString upper = dir.path() + L"\\HALF.BIN";
    mail.AddAttachement(upper.c_str());   // the same file in other letter case
    mail.AddAttachement(dir.File(L"missing.png").c_str());
    mail.AddAttachement(Sized(dir, L"big.bin", 3 << 20).c_str());
    EXPECT_EQ("3073.50 KB", Total(dialog)) << "still in kilobytes above a megabyte";
    mail.AddAttachement(red.c_str());
    ASSERT_EQ(3, ListView_GetItemCount(list));   // half.bin, big.bin, фото.png

    Select(list, -1);
    EXPECT_EQ(RGB(0, 0, 0), Middle(GetDlgItem(dialog, IDS_MAIL_PREVIEW))) << "no selection: black";
    RECT row1 = {LVIR_LABEL};
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row1));
    HDC dc = GetDC(list);
    EXPECT_EQ(RGB(239, 245, 255), GetPixel(dc, row1.left + 1, row1.top + 1)) << "odd rows pale blue";
    ReleaseDC(list, dc);
    Select(list, 2);
    EXPECT_EQ(RGB(255, 0, 0), Middle(GetDlgItem(dialog, IDS_MAIL_PREVIEW))) << "the red picture";
    lvtest::SaveScreenshot(dialog, L"mail_dialog.png");

    Click(GetDlgItem(dialog, IDB_MAIL_REMOVE_SELECTED));
    EXPECT_EQ("3073.50 KB", Total(dialog));
    Select(list, 1);   // big.bin, by the Delete key
    SendMessageW(list, WM_KEYDOWN, VK_DELETE, 1);
    SendMessageW(list, WM_KEYUP, VK_DELETE, 0xC0000001);
    EXPECT_EQ("1.50 KB", Total(dialog));

    Click(GetDlgItem(dialog, IDB_MAIL_POSTPONE));
    EXPECT_FALSE(IsWindowVisible(dialog));
    mail.AddAttachement(red.c_str());
    EXPECT_TRUE(IsWindowVisible(dialog)) << "shown again, with the earlier picture";
    EXPECT_EQ(2, ListView_GetItemCount(list));

    Click(GetDlgItem(dialog, IDB_MAIL_REMOVE_ALL));
    EXPECT_TRUE(mail.IsFileListEmpty());
    EXPECT_EQ("0", Total(dialog));
}

TEST(MailDialog, AddPicturesTakesASeveralFileChoice)
{
    CDlgMail& mail = mailtest::SharedDialog();
    lvtest::TempDir dir;
    MakePicture(dir.File(L"a.png"), 8, 8);
    MakePicture(dir.File(L"写真.jpg"), 8, 8);
    lvtest::ModalDriver driver;
    auto type = [](const WString& text) {
        HWND files = lvtest::ActiveDialog();
        if (!files || !GetDlgItem(files, cmb1))
            return false;
        HWND name = GetDlgItem(files, edt1) ? GetDlgItem(files, edt1) : GetDlgItem(files, cmb13);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        lvtest::PostClick(files, IDOK);
        return true;
    };
    driver.Then([&] { return type(dir.path()); })   // into the folder
        .Then([&] { return type(L"\"a.png\" \"写真.jpg\""); })
        .Start();
    Click(GetDlgItem(mail.m_hWnd, IDB_MAIL_ADD));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(2, mail.list.GetItemCount());
    Click(GetDlgItem(mail.m_hWnd, IDB_MAIL_REMOVE_ALL));
}

TEST(MailDialog, CancelledResizeOptionsLeaveResizingOff)
{
    CDlgMail& mail = mailtest::SharedDialog();
    lvtest::ModalDriver driver;
    bool shown = false;
    driver.Then([&] {
        HWND batch = lvtest::DialogWithCaption(L"Batch Resize");
        if (batch) {
            shown = true;
            lvtest::PostClick(batch, IDCANCEL);
        }
        return batch != nullptr;
    }).Start();
    Click(GetDlgItem(mail.m_hWnd, IDX_MAIL_RESIZE));
    EXPECT_TRUE(shown);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(mail.m_hWnd, IDX_MAIL_RESIZE));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(mail.m_hWnd, IDB_MAIL_RESIZE_OPTIONS)));
    EXPECT_EQ(nullptr, mail.pResizeOptions);
}
