// Every save-options template, created through the module handle a host gets
// from the library: caption, the texts it must carry, "Restore Defaults" and
// the hidden "Ok"; each is saved as a screenshot for a person to look over.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"
#include "modal_driver.h"
#include "../../settings/saveoptions.h"
#include "../../resources/settings_ids.h"

#include <commctrl.h>
#include <vector>

namespace {

struct TemplateCase {
    int id;
    const WCHAR* caption;
    std::vector<const WCHAR*> texts;
    bool hasOk;
    DLGPROC procedure;   // null: a plain procedure, as a host might give
};

INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

struct ChildText {
    int id;
    WCHAR text[160];
    bool visible;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param)
{
    auto* children = reinterpret_cast<std::vector<ChildText>*>(param);
    ChildText entry = {};
    entry.id = GetDlgCtrlID(child);
    GetWindowTextW(child, entry.text, ARRAYSIZE(entry.text));
    entry.visible = (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0;
    children->push_back(entry);
    return TRUE;
}

const ChildText* FindText(const std::vector<ChildText>& children, const WCHAR* text)
{
    for (const ChildText& child : children)
        if (lstrcmpW(child.text, text) == 0)
            return &child;
    return nullptr;
}

}  // namespace

TEST(SaveOptionTemplates, EachCarriesItsControlsAndTexts)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const TemplateCase cases[] = {
        {IDD_JPEG_SAVE_OPTIONS, L"JPEG Save Options",
         {L"Quality", L"Low", L"High", L"0", L"100", L"Miscellaneous",
          L"LOSSY rotate/mirror with quality setting of at least 80.  File size changes.",
          L"LOSSLESS rotate/mirror.  Almost no change in file size.",
          L"Clip unmovable edges when LOSSLESS rotate/flip.", L"Save as progressive JPG",
          L"JPG is a lossy image format and higher image quality means bigger file sizes."},
         true, lorvex::JpegSaveOptionsProc},
        {IDD_PNG_SAVE_OPTIONS, L"PNG Save Options",
         {L"Compression", L"Low", L"High", L"0", L"9", L"Interlace", L"None", L"Adam-7", L"Filter",
          L"Sub", L"Up", L"Average", L"Paeth", L"Adaptive",
          L"PNG is a lossless image format and compression does not affect image quality."},
         false, lorvex::PngSaveOptionsProc},
        {IDD_PNM_SAVE_OPTIONS, L"PGM, PNM, PPM Save Options",
         {L"Encoding", L"ASCII", L"Binary",
          L"In ASCII mode the PGM, PNM, and PPM format writes the data values as ASCII"},
         true, nullptr},
        {IDD_BMP_SAVE_OPTIONS, L"BMP Save Options",
         {L"File Format", L"Windows", L"OS2", L"Depth", L"1 bit", L"4 bit", L"8 bit", L"24 bit",
          L"Compress (RLE)"},
         true, nullptr},
        {IDD_TIF_SAVE_OPTIONS, L"TIF Save Options",
         {L"Compression Type", L"None", L"LZW", L"Packbits", L"JPG", L"ZIP",
          L"Compression Type for Black and White Images", L"Huffman RLE", L"CCITT Fax 3",
          L"CCITT Fax 4", L"Byte Order", L"IBM PC", L"Macintosh"},
         true, nullptr},
        {IDD_HDF_SAVE_OPTIONS, L"HDF Save Options",
         {L"Depth", L"8 bit with colormap", L"24 bit", L"Compression type", L"None", L"RLE", L"JPG"},
         true, nullptr},
        {IDD_JP2_SAVE_OPTIONS, L"JPG 2000 Save Options",
         {L"Compression type", L"Lossless", L"Quality", L"Max size:", L"bytes", L"0", L"100"},
         true, nullptr},
        {IDD_GIF_SAVE_OPTIONS, L"GIF Save options",
         {L"Use LZW Compression", L"Save interlaced", L"Save default transparent color:", L"R", L"G", L"B"},
         true, nullptr},
    };
    HINSTANCE module = LorvexGetModuleInstance();
    ASSERT_EQ(module, GetModuleHandleW(L"lorvexops.dll"));
    for (const TemplateCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "template " << c.id);
        HWND dialog = CreateDialogParamW(module, MAKEINTRESOURCEW(c.id), nullptr,
                                         c.procedure ? c.procedure : PlainProc, 0);
        ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
        WCHAR caption[80] = {};
        GetWindowTextW(dialog, caption, ARRAYSIZE(caption));
        EXPECT_WEQ(c.caption, caption);

        std::vector<ChildText> children;
        EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
        for (const WCHAR* text : c.texts)
            EXPECT_NE(FindText(children, text), nullptr) << "missing \"" << lvtest::Utf8(text) << "\"";
        const ChildText* restore = FindText(children, L"Restore Defaults");
        ASSERT_NE(restore, nullptr);
        EXPECT_EQ(restore->id, IDB_RESTORE_DEFAULTS);
        EXPECT_TRUE(restore->visible);
        const ChildText* ok = FindText(children, L"Ok");
        if (c.hasOk) {
            ASSERT_NE(ok, nullptr);
            EXPECT_EQ(ok->id, IDOK);
            EXPECT_FALSE(ok->visible) << "\"Ok\" is created hidden";
        } else {
            EXPECT_EQ(ok, nullptr);
        }
        // Every control must lie inside the dialog, or text would be cut off.
        RECT client;
        GetClientRect(dialog, &client);
        for (const ChildText& child : children) {
            RECT r;
            GetWindowRect(GetDlgItem(dialog, child.id), &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            if (child.id != -1 && child.id != 0xFFFF)
                EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
                    << "control " << child.id << " \"" << lvtest::Utf8(child.text) << "\" sticks out";
        }

        SetWindowPos(dialog, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        lvtest::PumpMessages(50);
        WCHAR name[64];
        wsprintfW(name, L"settings-template-%d.png", c.id);
        EXPECT_TRUE(SaveScreenshotAs(dialog, name));
        DestroyWindow(dialog);
    }
}

TEST(SaveOptionTemplates, TextsFitTheirControls)
{
    // Measured with the dialog's own font: a label wider than its control is
    // clipped on screen.
    for (int id = IDD_JPEG_SAVE_OPTIONS; id <= IDD_GIF_SAVE_OPTIONS; ++id) {
        HWND dialog = CreateDialogParamW(LorvexGetModuleInstance(), MAKEINTRESOURCEW(id), nullptr, PlainProc, 0);
        ASSERT_NE(dialog, nullptr) << "template " << id;
        HDC dc = GetDC(dialog);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
        HWND child = GetWindow(dialog, GW_CHILD);
        for (; child; child = GetWindow(child, GW_HWNDNEXT)) {
            WCHAR text[160] = {}, cls[32] = {};
            GetWindowTextW(child, text, ARRAYSIZE(text));
            GetClassNameW(child, cls, ARRAYSIZE(cls));
            LONG style = GetWindowLongW(child, GWL_STYLE);
            if (!*text || lstrcmpiW(cls, L"Edit") == 0)
                continue;
            bool box = lstrcmpiW(cls, L"Button") == 0 && (style & 0x0F) != BS_GROUPBOX &&
                       (style & 0x0F) != BS_PUSHBUTTON && (style & 0x0F) != BS_DEFPUSHBUTTON;
            RECT r;
            GetClientRect(child, &r);
            RECT need = {0, 0, r.right - (box ? 16 : 0), 0};
            bool wraps = lstrcmpiW(cls, L"Static") == 0 && (style & 0x0F) == SS_LEFT;
            DrawTextW(dc, text, -1, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
            EXPECT_LE(need.right, r.right - (box ? 16 : 0)) << "template " << id << " \"" << lvtest::Utf8(text) << "\" too wide";
            if (wraps)
                EXPECT_LE(need.bottom, r.bottom) << "template " << id << " \"" << lvtest::Utf8(text) << "\" too tall";
        }
        SelectObject(dc, old);
        ReleaseDC(dialog, dc);
        DestroyWindow(dialog);
    }
}
