// Every save-options template, created through the module handle a host gets
// from the library: its caption, "Restore Defaults", the hidden "Ok", and
// every text whole inside its control and every control inside the dialog.
#include <lorvexops/lorvexops.h>
#include "dialog_driver.h"
#include "settings/saveoptions.h"
#include "resources/settings_ids.h"

namespace {
INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }
}  // namespace

TEST(SaveOptionTemplates, EachCarriesItsTextsWhole)
{
    struct Case { int id; const WCHAR* caption; bool hasOk; DLGPROC proc; };
    const Case cases[] = {
        {IDD_JPEG_SAVE_OPTIONS, L"JPEG Save Options", true, lorvex::JpegSaveOptionsProc},
        {IDD_PNG_SAVE_OPTIONS, L"PNG Save Options", false, lorvex::PngSaveOptionsProc},
        {IDD_PNM_SAVE_OPTIONS, L"PGM, PNM, PPM Save Options", true, PlainProc},
        {IDD_BMP_SAVE_OPTIONS, L"BMP Save Options", true, PlainProc},
        {IDD_TIF_SAVE_OPTIONS, L"TIF Save Options", true, PlainProc},
        {IDD_HDF_SAVE_OPTIONS, L"HDF Save Options", true, PlainProc},
        {IDD_JP2_SAVE_OPTIONS, L"JPG 2000 Save Options", true, PlainProc},
        {IDD_GIF_SAVE_OPTIONS, L"GIF Save options", true, PlainProc},
    };
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "template " << c.id);
        HWND dialog = CreateDialogParamW(LorvexGetModuleInstance(), MAKEINTRESOURCEW(c.id), nullptr, c.proc, 0);
        ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
        EXPECT_WEQ(c.caption, Text(dialog).c_str());
        RECT client;
        GetClientRect(dialog, &client);
        HDC dc = GetDC(dialog);
        HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            // Cut off on screen: a control outside the dialog, or a text wider than its control (less a
            // check box's box; left-aligned statics wrap; edits scroll).
            lvtest::WString text = Text(child);
            RECT r, need;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            std::string what = "\"" + lvtest::Utf8(text.c_str()) + "\"";
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom) << what;
            WCHAR cls[32] = {};
            GetClassNameW(child, cls, ARRAYSIZE(cls));
            LONG type = GetWindowLongW(child, GWL_STYLE) & 0x0F;
            int box = !lstrcmpiW(cls, L"Button") && type != BS_GROUPBOX && type > BS_DEFPUSHBUTTON ? 16 : 0;
            bool wraps = !lstrcmpiW(cls, L"Static") && type == SS_LEFT;
            GetClientRect(child, &r);
            need = {0, 0, r.right - box, 0};
            if (!text.empty() && lstrcmpiW(cls, L"Edit"))
                DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
            EXPECT_TRUE(need.right <= r.right - box && (!wraps || need.bottom <= r.bottom)) << what << " does not fit";
        }
        SelectObject(dc, oldFont);
        ReleaseDC(dialog, dc);
        HWND restore = GetDlgItem(dialog, IDB_RESTORE_DEFAULTS), ok = GetDlgItem(dialog, IDOK);
        EXPECT_WEQ(L"Restore Defaults", Text(restore).c_str());
        EXPECT_TRUE(GetWindowLongW(restore, GWL_STYLE) & WS_VISIBLE);
        EXPECT_EQ(ok != nullptr, c.hasOk);
        if (ok) {
            EXPECT_WEQ(L"Ok", Text(ok).c_str());
            EXPECT_FALSE(GetWindowLongW(ok, GWL_STYLE) & WS_VISIBLE) << "\"Ok\" is created hidden";
        }
        SetWindowPos(dialog, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        WCHAR name[64];
        wsprintfW(name, L"settings-template-%d.png", c.id);
        lvtest::SaveScreenshot(dialog, name);
        DestroyWindow(dialog);
    }
}
