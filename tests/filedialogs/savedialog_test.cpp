// The open and save dialogs, driven as a user drives them, once per path from
// a user's action to the library: the proposed name and type, the compression
// panel, typed names, type changes and refusals. (The rules themselves are
// tested from tables in the file-type and compression suites.)
#include <lorvexops/lorvexops.h>
#include "modaldriver.h"
#include "testsupport.h"

#include <commctrl.h>
#include <dlgs.h>
#include <Magick++.h>
#include <string>

#include "resources/compression_ids.h"

namespace lorvex {
OPENFILENAMEW& FileDialogRecord();
}

namespace {

using lvtest::WString;

// The save dialog as the test sees it (the open dialog has no panel).
struct SaveDialog {
    HWND dialog = nullptr;
    HWND panel = nullptr;

    static SaveDialog Find()
    {
        SaveDialog found;
        HWND dialog = lvtest::ActiveDialog();
        if (!dialog || !GetDlgItem(dialog, cmb1))
            return found;
        for (HWND child = FindWindowExW(dialog, nullptr, L"#32770", nullptr); child;
             child = FindWindowExW(dialog, child, L"#32770", nullptr))
            if (GetDlgItem(child, IDC_COMPRESSION_TYPE))
                found.panel = child;
        found.dialog = dialog;
        return found;
    }
    explicit operator bool() const { return dialog != nullptr; }

    HWND NameControl() const
    {
        HWND edit = GetDlgItem(dialog, edt1);
        return edit ? edit : GetDlgItem(dialog, cmb13);
    }
    // Where the keys of the name go: the edit inside the name box.
    HWND NameEdit() const
    {
        HWND control = NameControl();
        HWND edit = reinterpret_cast<HWND>(SendMessageW(control, CBEM_GETEDITCONTROL, 0, 0));
        return edit ? edit : control;
    }
    WString Name() const { return lvtest::TextOf(NameControl()); }
    void SetName(const WCHAR* name) const { SendMessageW(NameControl(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name)); }
    // Clears the name and types it key by key.
    void TypeName(const WCHAR* name) const
    {
        SetName(L"");
        lvtest::SendTyping(NameEdit(), name);
    }
    int TypeIndex() const { return static_cast<int>(SendDlgItemMessageW(dialog, cmb1, CB_GETCURSEL, 0, 0)); }
    // Picks a file type the way the combo box reports a user's choice.
    void ChooseType(int index) const
    {
        HWND types = GetDlgItem(dialog, cmb1);
        SendMessageW(types, CB_SETCURSEL, index, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    }
    HWND List() const { return GetDlgItem(panel, IDC_COMPRESSION_TYPE); }
    // The compression list's last entry, which tells the lists in use apart.
    std::string Last() const
    {
        return lvtest::ComboEntries(List(), static_cast<int>(SendMessageW(List(), CB_GETCOUNT, 0, 0)) - 1);
    }
    void ChooseCompression(const WCHAR* text) const
    {
        LRESULT index = SendMessageW(List(), CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text));
        SendMessageW(List(), CB_SETCURSEL, index, 0);
        SendMessageW(panel, WM_COMMAND, MAKEWPARAM(IDC_COMPRESSION_TYPE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(List()));
    }
    void Cancel() const { lvtest::PostClick(dialog, IDCANCEL); }
    void Save() const { lvtest::PostClick(dialog, IDOK); }
};

// A document window of the host whose user data is its picture record.
class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_document = CreateWindowExW(0, L"STATIC", L"document", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                     nullptr, nullptr, nullptr);
        ASSERT_NE(m_document, nullptr);
        m_picture.picture = Magick::Image(Magick::Geometry(16, 16), Magick::Color("blue"));
        SetWindowLongPtrW(m_document, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_picture));
        m_context.document = m_document;
        DibFileInitialize(m_document, m_temp.path().c_str());
    }
    void TearDown() override { DestroyWindow(m_document); }

    // The picture the dialog will propose: its name in the test folder and its format.
    void Picture(const WCHAR* name, const char* format)
    {
        lstrcpynW(m_picture.currentFileName, m_temp.File(name).c_str(), MAX_PATH);
        m_picture.picture.magick(format);
    }

    // Runs the save dialog while driver works it; the dialog's result.
    int RunSave(lvtest::ModalDriver& driver)
    {
        driver.Start();
        int result = DibFileSaveDlg(m_document, m_file, m_title, &m_context);
        EXPECT_TRUE(driver.Finished() && !driver.TimedOut()) << "ended before every step ran, or too late";
        return result;
    }

    lvtest::TempDir m_temp;
    HWND m_document = nullptr;
    HostPictureRecord m_picture;
    HostSaveContext m_context = {};
    WCHAR m_file[MAX_PATH] = {};
    WCHAR m_title[MAX_PATH] = {};
};

// Waits for the save dialog and runs check on it once.
lvtest::ModalDriver::Step OnSaveDialog(std::function<void(const SaveDialog&)> check)
{
    return [check] {
        SaveDialog found = SaveDialog::Find();
        if (!found)
            return false;
        check(found);
        return true;
    };
}

TEST_F(FileDialogTest, ProposesTheNameFilterAndDefaultExtensionOfThePicture)
{
    struct Case {   // shown: in the file-name box; last: of the list for the picture's own format
        const WCHAR* name; const char* format; const WCHAR* shown; int filterIndex; const WCHAR* defaultExtension;
        const char* last;
    };
    const Case cases[] = {
        {L"фото 写真 🎞.gif", "GIF", L"фото 写真 🎞.gif", 10, L"GIF", "LZW Compression"},
        // No save type in the name: the panel falls back on the picture's format.
        {L"photo.averylongext", "PNG", L"photo", 4, L"PNG", "ZIP Compression"},
    };
    for (const Case& c : cases) {
        const std::string label = lvtest::Utf8(c.name);
        Picture(c.name, c.format);
        lvtest::ModalDriver driver;
        driver.Then(OnSaveDialog([&](const SaveDialog& dialog) {
            EXPECT_WEQ(c.shown, dialog.Name().c_str()) << label;
            EXPECT_EQ(c.filterIndex - 1, dialog.TypeIndex()) << label;
            EXPECT_EQ(c.last, dialog.Last()) << label;
            dialog.Cancel();
        }));
        EXPECT_EQ(0, RunSave(driver)) << label;
        const OPENFILENAMEW& record = lorvex::FileDialogRecord();
        EXPECT_EQ(static_cast<DWORD>(c.filterIndex), record.nFilterIndex) << label;
        EXPECT_WEQ(c.defaultExtension, record.lpstrDefExt) << label;
        EXPECT_EQ(static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_EXPLORER),
                  record.Flags)
            << label;
    }
}

TEST_F(FileDialogTest, ThePanelLinesUpAndSetsTheChosenCompressionOnThePicture)
{
    Picture(L"photo.png", "PNG");
    m_picture.picture.compressType(Magick::NoCompression);
    lvtest::ModalDriver driver;
    driver.Then([] { return SaveDialog::Find().panel != nullptr; })
        .Then([] { return lvtest::PumpMessages(100), true; })
        .Then(OnSaveDialog([&](const SaveDialog& dialog) {
            RECT cancel, panel, group;
            GetWindowRect(GetDlgItem(dialog.dialog, IDCANCEL), &cancel);
            GetWindowRect(dialog.panel, &panel);
            GetWindowRect(GetDlgItem(dialog.panel, IDG_ADVANCED_OPTIONS), &group);
            // The panel covers the dialog; its group lies below the dialog's
            // own controls.
            EXPECT_EQ(cancel.right, panel.right);
            EXPECT_EQ(cancel.right, group.right);
            EXPECT_TRUE(IsWindowVisible(dialog.panel));
            EXPECT_GE(group.top, cancel.bottom);
            lvtest::SaveScreenshot(dialog.dialog, L"save-dialog-options.png");
            EXPECT_EQ("Uncompressed", lvtest::ComboEntries(dialog.List(), static_cast<int>(
                                          SendMessageW(dialog.List(), CB_GETCURSEL, 0, 0))));
            EXPECT_TRUE(IsWindowEnabled(dialog.List()));
            // Showing the list does not change the picture.
            EXPECT_EQ(Magick::NoCompression, m_picture.picture.compressType());
            dialog.ChooseCompression(L"ZIP Compression");
            EXPECT_EQ(Magick::ZipCompression, m_picture.picture.compressType());
            dialog.SetName(L"saved.png");
            dialog.Save();
        }));
    EXPECT_NE(0, RunSave(driver));
    EXPECT_WEQ(m_temp.File(L"saved.png").c_str(), m_file);
    EXPECT_WEQ(L"saved.png", m_title);
    EXPECT_EQ(Magick::ZipCompression, m_picture.picture.compressType());
}

// A typed name switches the type list and the compression list at the key
// release; a chosen type rewrites the name.
TEST_F(FileDialogTest, TypedNamesAndChosenTypesFollowEachOther)
{
    Picture(L"photo.jpg", "JPEG");
    lvtest::ModalDriver driver;
    driver.Then(OnSaveDialog([&](const SaveDialog& dialog) {
        for (const WCHAR* name : {L"name.gif", L"name.psd"}) {   // not a save type: nothing changes
            dialog.TypeName(name);
            EXPECT_WEQ(name, dialog.Name().c_str());
            EXPECT_EQ(9, dialog.TypeIndex()) << lvtest::Utf8(name);
            EXPECT_EQ("LZW Compression", dialog.Last()) << lvtest::Utf8(name);
            EXPECT_EQ("GIF", m_picture.picture.magick()) << lvtest::Utf8(name);
        }
        dialog.SetName(L"my.holiday.bmp");
        dialog.ChooseType(7);
        EXPECT_WEQ(L"my.holiday.TIF", dialog.Name().c_str());
        EXPECT_EQ("ZIP Compression", dialog.Last());
        EXPECT_EQ("TIF", m_picture.picture.magick());
        EXPECT_WEQ(L"TIF", lorvex::FileDialogRecord().lpstrDefExt);
        dialog.Cancel();
    }));
    EXPECT_EQ(0, RunSave(driver));
}

TEST_F(FileDialogTest, ConfirmingAnUnknownExtensionIsRefusedAndTheDialogStaysOpen)
{
    Picture(L"photo.jpg", "JPEG");
    HWND saveDialog = nullptr;
    HWND messageBox = nullptr;
    lvtest::ModalDriver driver;
    driver.Then(OnSaveDialog([&](const SaveDialog& dialog) {
              saveDialog = dialog.dialog;
              dialog.SetName(L"photo.xyz");
              dialog.Save();
          }))
        .Then([&] {
            messageBox = lvtest::DialogWithCaption(L"File type error");
            if (!messageBox)
                return false;
            EXPECT_NE(nullptr, lvtest::ChildWithText(messageBox, L"Please select a valid file type !", L"Static"));
            EXPECT_EQ(saveDialog, GetWindow(messageBox, GW_OWNER));
            lvtest::PostClick(messageBox, IDOK);
            return true;
        })
        .Then([&] { return !IsWindow(messageBox); })
        .Then(OnSaveDialog([&](const SaveDialog& dialog) {
            EXPECT_EQ(saveDialog, dialog.dialog) << "the save dialog stays open";
            EXPECT_FALSE(lvtest::FileExists(m_temp.File(L"photo.xyz").c_str()));
            // Lower case is accepted: the check upper-cases the extension.
            dialog.SetName(L"photo.jpg");
            dialog.Save();
        }));
    EXPECT_NE(0, RunSave(driver));
    EXPECT_WEQ(m_temp.File(L"photo.jpg").c_str(), m_file);
}

TEST_F(FileDialogTest, OpenDialogReturnsTheChosenFile)
{
    const WCHAR* name = L"фото 写真 🎞.png";
    WString path = m_temp.Write(name, "BM", 2);
    lvtest::ModalDriver driver;
    driver.Then(OnSaveDialog([&](const SaveDialog& dialog) {   // it has the same name box
        dialog.SetName(name);
        dialog.Save();
    }));
    driver.Start();
    EXPECT_NE(0, DibFileOpenDlg(m_document, m_file, m_title));
    EXPECT_TRUE(driver.Finished());
    EXPECT_WEQ(path.c_str(), m_file);
    EXPECT_WEQ(name, m_title);
    const DWORD flags = lorvex::FileDialogRecord().Flags;
    EXPECT_TRUE(flags & OFN_FILEMUSTEXIST);
    EXPECT_FALSE(flags & (OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_OVERWRITEPROMPT));
}

}  // namespace
