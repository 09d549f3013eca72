// The "File Save Options" sheet and the stand-alone JPEG dialog, driven from
// inside their modal loops with the messages real input produces.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"
#include "modal_driver.h"
#include "../../settings/saveoptions.h"
#include "../../resources/settings_ids.h"

#include <commctrl.h>
#include <prsht.h>
#include <cstring>

namespace {

// The sheet's entry points as a host finds them.
using SheetEntry = int(__cdecl*)(HWND);
using BoolSheetEntry = bool(__cdecl*)(HWND);

template <typename T>
T Entry(const char* name)
{
    static HMODULE module = LoadLibraryW(L"lorvexops.dll");
    return reinterpret_cast<T>(GetProcAddress(module, name));
}

// A window's text by value (lvtest::WString would measure it with the C
// library's 4-byte wcslen).
struct WindowText {
    WCHAR s[256];
};

WindowText Text(HWND window)
{
    WindowText text = {};
    GetWindowTextW(window, text.s, ARRAYSIZE(text.s));
    return text;
}

WindowText ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

int BarPos(HWND dialog, int id)
{
    return static_cast<int>(SendDlgItemMessageW(dialog, id, TBM_GETPOS, 0, 0));
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// Brings page index forward (creating it on first visit) and returns it.
HWND ShowPage(HWND sheet, int index)
{
    SendMessageW(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

const int kFilterButtons[] = {IDR_PNG_FILTER_NONE, IDR_PNG_FILTER_SUB, IDR_PNG_FILTER_UP,
                              IDR_PNG_FILTER_AVERAGE, IDR_PNG_FILTER_PAETH, IDR_PNG_FILTER_ADAPTIVE};

// The one checked filter button, or 0 (none) / -1 (several).
int CheckedFilter(HWND page)
{
    int found = 0;
    for (int id : kFilterButtons)
        if (Checked(page, id))
            found = found ? -1 : id;
    return found;
}

int CheckedInterlace(HWND page)
{
    bool none = Checked(page, IDR_PNG_INTERLACE_NONE), adam = Checked(page, IDR_PNG_INTERLACE_ADAM7);
    return none && adam ? -1 : none ? IDR_PNG_INTERLACE_NONE : adam ? IDR_PNG_INTERLACE_ADAM7 : 0;
}

void Press(HWND sheet, int button)
{
    SendMessageW(sheet, PSM_PRESSBUTTON, button, 0);
}

// Every test starts from the defaults and leaves gSO as it found it.
class SaveOptionsSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memcpy(m_saved, gSO, sizeof m_saved);
        ASSERT_NE(Entry<SheetEntry>("DlgDlgFileSaveOptions"), nullptr);
    }
    void TearDown() override { std::memcpy(gSO, m_saved, sizeof m_saved); }

    // Runs the sheet with script and returns what the entry returned.
    int RunSheet(ModalDriver::Script script)
    {
        ModalDriver driver(std::move(script));
        int result = Entry<SheetEntry>("DlgDlgFileSaveOptions")(nullptr);
        EXPECT_TRUE(driver.ScriptRan()) << "the sheet never came up";
        EXPECT_FALSE(driver.TimedOut()) << "the script left the sheet open";
        return result;
    }

    SAVEOPTIONS m_saved[LORVEX_SO_ROWS];
};

}  // namespace

TEST_F(SaveOptionsSheet, OpensWithTheDefaults)
{
    int result = RunSheet([](HWND sheet) {
        EXPECT_WEQ(L"File Save Options", Text(sheet).s);
        HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
        const WCHAR* titles[] = {L"JPG", L"PNG"};
        for (int i = 0; i < 2; ++i) {
            WCHAR title[32] = {};
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            item.pszText = title;
            item.cchTextMax = ARRAYSIZE(title);
            SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            EXPECT_WEQ(titles[i], title) << "tab " << i;
        }
        EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0) << "opens on the JPG page";

        HWND jpg = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        ASSERT_NE(jpg, nullptr);
        EXPECT_WEQ(L"75", ItemText(jpg, IDE_JPG_QUALITY).s);
        EXPECT_EQ(BarPos(jpg, IDT_JPG_QUALITY_BAR), 75);
        EXPECT_EQ(SendDlgItemMessageW(jpg, IDT_JPG_QUALITY_BAR, TBM_GETRANGEMIN, 0, 0), 1);
        EXPECT_EQ(SendDlgItemMessageW(jpg, IDT_JPG_QUALITY_BAR, TBM_GETRANGEMAX, 0, 0), 100);
        // Ticks at both ends plus the one set at 5.
        EXPECT_EQ(SendDlgItemMessageW(jpg, IDT_JPG_QUALITY_BAR, TBM_GETNUMTICS, 0, 0), 3);
        EXPECT_EQ(SendDlgItemMessageW(jpg, IDT_JPG_QUALITY_BAR, TBM_GETTIC, 0, 0), 5);
        EXPECT_TRUE(Checked(jpg, IDR_JPG_LOSSLESS));
        EXPECT_FALSE(Checked(jpg, IDR_JPG_LOSSY));
        EXPECT_TRUE(Enabled(jpg, IDX_JPG_CLIP));
        EXPECT_FALSE(Checked(jpg, IDX_JPG_CLIP));
        EXPECT_FALSE(Enabled(jpg, IDX_JPG_PROGRESSIVE));
        EXPECT_FALSE(Checked(jpg, IDX_JPG_PROGRESSIVE));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(jpg, IDOK))) << "\"Ok\" belongs to the stand-alone dialog";
        EXPECT_NE(SendDlgItemMessageW(jpg, IDI_SAVE_NOTE_ICON, STM_GETICON, 0, 0), 0);

        HWND png = ShowPage(sheet, 1);
        ASSERT_NE(png, nullptr);
        EXPECT_WEQ(L"3", ItemText(png, IDE_PNG_LEVEL).s);
        EXPECT_EQ(BarPos(png, IDT_PNG_LEVEL_BAR), 3);
        EXPECT_EQ(SendDlgItemMessageW(png, IDT_PNG_LEVEL_BAR, TBM_GETRANGEMIN, 0, 0), 0);
        EXPECT_EQ(SendDlgItemMessageW(png, IDT_PNG_LEVEL_BAR, TBM_GETRANGEMAX, 0, 0), 9);
        EXPECT_EQ(SendDlgItemMessageW(png, IDT_PNG_LEVEL_BAR, TBM_GETNUMTICS, 0, 0), 10) << "a tick at every step";
        EXPECT_EQ(CheckedInterlace(png), IDR_PNG_INTERLACE_NONE);
        EXPECT_EQ(CheckedFilter(png), IDR_PNG_FILTER_NONE);

        SaveScreenshotAs(sheet, L"settings-sheet-png.png");
        ShowPage(sheet, 0);
        SaveScreenshotAs(sheet, L"settings-sheet-jpg.png");
        Press(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(result, 0) << "Cancel";
    EXPECT_EQ(std::memcmp(gSO, m_saved, sizeof m_saved), 0);
}

TEST_F(SaveOptionsSheet, ShowsTheStoredRowsNotTheDefaults)
{
    gSO[SO_JPG_QUALITY].nValue = 40;
    gSO[SO_JPG_LOSSLESS].nValue = 0;
    gSO[SO_JPG_TRIM].nValue = 1;
    gSO[SO_JPG_PROGRESSIVE].nValue = 1;
    gSO[SO_PNG_QUALITY].nValue = 7;
    gSO[SO_PNG_INTERLACED].nValue = IDR_PNG_INTERLACE_ADAM7;
    gSO[SO_PNG_FILTER].nValue = IDR_PNG_FILTER_AVERAGE;
    RunSheet([](HWND sheet) {
        HWND jpg = ShowPage(sheet, 0);
        EXPECT_WEQ(L"40", ItemText(jpg, IDE_JPG_QUALITY).s);
        EXPECT_EQ(BarPos(jpg, IDT_JPG_QUALITY_BAR), 40);
        EXPECT_TRUE(Checked(jpg, IDR_JPG_LOSSY));
        EXPECT_FALSE(Checked(jpg, IDR_JPG_LOSSLESS));
        EXPECT_FALSE(Enabled(jpg, IDX_JPG_CLIP)) << "clipping only applies to lossless";
        EXPECT_TRUE(Checked(jpg, IDX_JPG_CLIP));
        EXPECT_TRUE(Enabled(jpg, IDX_JPG_PROGRESSIVE));
        EXPECT_TRUE(Checked(jpg, IDX_JPG_PROGRESSIVE));
        HWND png = ShowPage(sheet, 1);
        EXPECT_WEQ(L"7", ItemText(png, IDE_PNG_LEVEL).s);
        EXPECT_EQ(BarPos(png, IDT_PNG_LEVEL_BAR), 7);
        EXPECT_EQ(CheckedInterlace(png), IDR_PNG_INTERLACE_ADAM7);
        EXPECT_EQ(CheckedFilter(png), IDR_PNG_FILTER_AVERAGE);
        Press(sheet, PSBTN_CANCEL);
    });
}

TEST_F(SaveOptionsSheet, TypedNumbersArePulledIntoRange)
{
    struct Case { int page; const WCHAR* typed; const WCHAR* shown; int bar; };
    static const Case cases[] = {
        {0, L"150", L"100", 100},
        {0, L"42", L"42", 42},
        {0, L"-7", L"0", 1},            // the trackbar cannot show 0
        {0, L"100", L"100", 100},
        {0, L"0", L"0", 1},
        {0, L"99999999999", L"100", 100},
        {0, L"", L"", 1},               // empty reads as 0 and stays empty
        {0, L"abc", L"abc", 1},         // not a number: reads as 0
        {1, L"12", L"9", 9},
        {1, L"-1", L"0", 0},
        {1, L"5", L"5", 5},
        {1, L"", L"", 0},
        {1, L"9", L"9", 9},
    };
    RunSheet([](HWND sheet) {
        for (size_t i = 0; i < ARRAYSIZE(cases); ++i) {
            const Case& c = cases[i];
            HWND page = ShowPage(sheet, c.page);
            int edit = c.page == 0 ? IDE_JPG_QUALITY : IDE_PNG_LEVEL;
            int bar = c.page == 0 ? IDT_JPG_QUALITY_BAR : IDT_PNG_LEVEL_BAR;
            TypeInto(GetDlgItem(page, edit), c.typed);
            EXPECT_WEQ(c.shown, ItemText(page, edit).s) << "case " << i << " typed " << lvtest::Utf8(c.typed);
            EXPECT_EQ(BarPos(page, bar), c.bar) << "case " << i << " typed " << lvtest::Utf8(c.typed);
        }
        // What Apply stores is the number in each edit box now.
        TypeInto(GetDlgItem(ShowPage(sheet, 0), IDE_JPG_QUALITY), L"0");
        Press(sheet, PSBTN_OK);
    });
    EXPECT_EQ(gSO[SO_JPG_QUALITY].nValue, 0) << "a typed 0 is stored although the trackbar cannot show it";
    EXPECT_EQ(gSO[SO_PNG_QUALITY].nValue, 9);
}

TEST_F(SaveOptionsSheet, TrackbarMovesWriteTheEdits)
{
    struct Case { int page; UINT key; const WCHAR* shown; };
    static const Case cases[] = {
        {0, VK_END, L"100"}, {0, VK_HOME, L"1"}, {0, VK_RIGHT, L"2"}, {0, VK_NEXT, L"21"},
        {1, VK_END, L"9"}, {1, VK_HOME, L"0"}, {1, VK_RIGHT, L"1"}, {1, VK_RIGHT, L"2"},
    };
    RunSheet([](HWND sheet) {
        for (size_t i = 0; i < ARRAYSIZE(cases); ++i) {
            const Case& c = cases[i];
            HWND page = ShowPage(sheet, c.page);
            int edit = c.page == 0 ? IDE_JPG_QUALITY : IDE_PNG_LEVEL;
            int bar = c.page == 0 ? IDT_JPG_QUALITY_BAR : IDT_PNG_LEVEL_BAR;
            PressKey(GetDlgItem(page, bar), c.key);
            EXPECT_WEQ(c.shown, ItemText(page, edit).s) << "case " << i;
        }
        // A position set by a host-style TBM_SETPOS plus the scroll notice.
        HWND jpg = ShowPage(sheet, 0);
        HWND bar = GetDlgItem(jpg, IDT_JPG_QUALITY_BAR);
        SendMessageW(bar, TBM_SETPOS, TRUE, 63);
        SendMessageW(jpg, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 63), reinterpret_cast<LPARAM>(bar));
        EXPECT_WEQ(L"63", ItemText(jpg, IDE_JPG_QUALITY).s);
        Press(sheet, PSBTN_OK);
    });
    EXPECT_EQ(gSO[SO_JPG_QUALITY].nValue, 63);
    EXPECT_EQ(gSO[SO_PNG_QUALITY].nValue, 2);
}

TEST_F(SaveOptionsSheet, LossyAndLosslessSwitchWhichBoxesApply)
{
    RunSheet([](HWND sheet) {
        HWND jpg = ShowPage(sheet, 0);
        Click(GetDlgItem(jpg, IDR_JPG_LOSSY));
        EXPECT_TRUE(Checked(jpg, IDR_JPG_LOSSY));
        EXPECT_FALSE(Checked(jpg, IDR_JPG_LOSSLESS));
        EXPECT_FALSE(Enabled(jpg, IDX_JPG_CLIP));
        EXPECT_TRUE(Enabled(jpg, IDX_JPG_PROGRESSIVE));
        Click(GetDlgItem(jpg, IDX_JPG_PROGRESSIVE));
        EXPECT_TRUE(Checked(jpg, IDX_JPG_PROGRESSIVE));
        Click(GetDlgItem(jpg, IDR_JPG_LOSSLESS));
        EXPECT_TRUE(Enabled(jpg, IDX_JPG_CLIP));
        EXPECT_FALSE(Enabled(jpg, IDX_JPG_PROGRESSIVE));
        EXPECT_TRUE(Checked(jpg, IDX_JPG_PROGRESSIVE)) << "disabling keeps the box's state";
        Click(GetDlgItem(jpg, IDX_JPG_CLIP));
        EXPECT_TRUE(Checked(jpg, IDX_JPG_CLIP));
        Press(sheet, PSBTN_OK);
    });
    EXPECT_EQ(gSO[SO_JPG_LOSSLESS].nValue, 1);
    EXPECT_EQ(gSO[SO_JPG_TRIM].nValue, 1);
    EXPECT_EQ(gSO[SO_JPG_PROGRESSIVE].nValue, 1);
    EXPECT_EQ(gSO[SO_JPG_QUALITY].nValue, 75);
}

TEST_F(SaveOptionsSheet, PngRadioGroupsStoreTheButtonIds)
{
    struct Case { int button; int filter; int interlace; };
    static const Case cases[] = {
        {IDR_PNG_FILTER_SUB, IDR_PNG_FILTER_SUB, IDR_PNG_INTERLACE_NONE},
        {IDR_PNG_FILTER_ADAPTIVE, IDR_PNG_FILTER_ADAPTIVE, IDR_PNG_INTERLACE_NONE},
        {IDR_PNG_INTERLACE_ADAM7, IDR_PNG_FILTER_ADAPTIVE, IDR_PNG_INTERLACE_ADAM7},
        {IDR_PNG_FILTER_UP, IDR_PNG_FILTER_UP, IDR_PNG_INTERLACE_ADAM7},
        {IDR_PNG_FILTER_AVERAGE, IDR_PNG_FILTER_AVERAGE, IDR_PNG_INTERLACE_ADAM7},
        {IDR_PNG_FILTER_PAETH, IDR_PNG_FILTER_PAETH, IDR_PNG_INTERLACE_ADAM7},
    };
    RunSheet([](HWND sheet) {
        HWND png = ShowPage(sheet, 1);
        for (size_t i = 0; i < ARRAYSIZE(cases); ++i) {
            Click(GetDlgItem(png, cases[i].button));
            EXPECT_EQ(CheckedFilter(png), cases[i].filter) << "case " << i;
            EXPECT_EQ(CheckedInterlace(png), cases[i].interlace) << "case " << i;
        }
        Press(sheet, PSBTN_OK);
    });
    EXPECT_EQ(gSO[SO_PNG_FILTER].nValue, IDR_PNG_FILTER_PAETH);
    EXPECT_EQ(gSO[SO_PNG_INTERLACED].nValue, IDR_PNG_INTERLACE_ADAM7);
    EXPECT_EQ(gSO[SO_PNG_QUALITY].nValue, 3);
    // Rows the sheet does not edit stay as they were.
    for (int row : {SO_SAVE_AFTER_RORM, SO_SAVE_ARM_APPEND, SO_KEEP_ORIG_DATETIME})
        EXPECT_EQ(std::memcmp(&gSO[row], &m_saved[row], sizeof(SAVEOPTIONS)), 0) << "row " << row;
}

TEST_F(SaveOptionsSheet, RestoreDefaultsResetsBothPages)
{
    gSO[SO_JPG_QUALITY].nValue = 12;
    gSO[SO_JPG_LOSSLESS].nValue = 0;
    gSO[SO_JPG_TRIM].nValue = 1;
    gSO[SO_JPG_PROGRESSIVE].nValue = 1;
    gSO[SO_PNG_QUALITY].nValue = 8;
    gSO[SO_PNG_INTERLACED].nValue = IDR_PNG_INTERLACE_ADAM7;
    gSO[SO_PNG_FILTER].nValue = IDR_PNG_FILTER_UP;
    RunSheet([](HWND sheet) {
        HWND jpg = ShowPage(sheet, 0);
        Click(GetDlgItem(jpg, IDB_RESTORE_DEFAULTS));
        EXPECT_WEQ(L"75", ItemText(jpg, IDE_JPG_QUALITY).s);
        EXPECT_EQ(BarPos(jpg, IDT_JPG_QUALITY_BAR), 75);
        EXPECT_TRUE(Checked(jpg, IDR_JPG_LOSSLESS));
        EXPECT_FALSE(Checked(jpg, IDR_JPG_LOSSY));
        EXPECT_TRUE(Enabled(jpg, IDX_JPG_CLIP));
        EXPECT_FALSE(Checked(jpg, IDX_JPG_CLIP));
        EXPECT_FALSE(Enabled(jpg, IDX_JPG_PROGRESSIVE));
        EXPECT_FALSE(Checked(jpg, IDX_JPG_PROGRESSIVE));
        HWND png = ShowPage(sheet, 1);
        Click(GetDlgItem(png, IDB_RESTORE_DEFAULTS));
        EXPECT_WEQ(L"3", ItemText(png, IDE_PNG_LEVEL).s);
        EXPECT_EQ(BarPos(png, IDT_PNG_LEVEL_BAR), 3);
        EXPECT_EQ(CheckedInterlace(png), IDR_PNG_INTERLACE_NONE);
        EXPECT_EQ(CheckedFilter(png), IDR_PNG_FILTER_NONE);
        Press(sheet, PSBTN_OK);
    });
    const int expected[][2] = {
        {SO_JPG_QUALITY, 75}, {SO_JPG_LOSSLESS, 1}, {SO_JPG_TRIM, 0}, {SO_JPG_PROGRESSIVE, 0},
        {SO_PNG_QUALITY, 3}, {SO_PNG_INTERLACED, 1171}, {SO_PNG_FILTER, 1099},
    };
    for (const auto& e : expected)
        EXPECT_EQ(gSO[e[0]].nValue, e[1]) << "row " << e[0];
}

TEST_F(SaveOptionsSheet, CancelAfterChangesLeavesTheRowsUntouched)
{
    int result = RunSheet([](HWND sheet) {
        HWND jpg = ShowPage(sheet, 0);
        TypeInto(GetDlgItem(jpg, IDE_JPG_QUALITY), L"20");
        Click(GetDlgItem(jpg, IDR_JPG_LOSSY));
        Click(GetDlgItem(jpg, IDX_JPG_PROGRESSIVE));
        HWND png = ShowPage(sheet, 1);
        PressKey(GetDlgItem(png, IDT_PNG_LEVEL_BAR), VK_END);
        Click(GetDlgItem(png, IDR_PNG_FILTER_PAETH));
        Click(GetDlgItem(png, IDR_PNG_INTERLACE_ADAM7));
        Press(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(std::memcmp(gSO, m_saved, sizeof m_saved), 0);
}

TEST_F(SaveOptionsSheet, OkStoresOnlyPagesThatWereOpened)
{
    // The PNG page is never shown, so its rows keep whatever the host put there.
    gSO[SO_PNG_QUALITY].nValue = 42;
    gSO[SO_PNG_FILTER].nValue = 5;
    int result = RunSheet([](HWND sheet) {
        TypeInto(GetDlgItem(ShowPage(sheet, 0), IDE_JPG_QUALITY), L"90");
        Press(sheet, PSBTN_OK);
    });
    EXPECT_GT(result, 0);
    EXPECT_EQ(gSO[SO_JPG_QUALITY].nValue, 90);
    EXPECT_EQ(gSO[SO_PNG_QUALITY].nValue, 42);
    EXPECT_EQ(gSO[SO_PNG_FILTER].nValue, 5);
}

TEST_F(SaveOptionsSheet, ApplyNowStoresAndKeepsTheSheetOpen)
{
    RunSheet([](HWND sheet) {
        HWND jpg = ShowPage(sheet, 0);
        HWND applyNow = GetDlgItem(sheet, 0x3021);   // the sheet's "Apply" button
        EXPECT_FALSE(IsWindowEnabled(applyNow)) << "nothing changed yet";
        TypeInto(GetDlgItem(jpg, IDE_JPG_QUALITY), L"55");
        EXPECT_TRUE(IsWindowEnabled(applyNow)) << "a change enables Apply";
        Press(sheet, PSBTN_APPLYNOW);
        EXPECT_EQ(gSO[SO_JPG_QUALITY].nValue, 55);
        EXPECT_TRUE(IsWindow(sheet));
        TypeInto(GetDlgItem(jpg, IDE_JPG_QUALITY), L"10");
        Press(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(gSO[SO_JPG_QUALITY].nValue, 55) << "Cancel does not undo what Apply stored";
}

TEST_F(SaveOptionsSheet, BoolEntryAlwaysReportsTrue)
{
    BoolSheetEntry entry = Entry<BoolSheetEntry>("DlgFileSaveOptions");
    ASSERT_NE(entry, nullptr);
    for (int button : {PSBTN_CANCEL, PSBTN_OK}) {
        ModalDriver driver([button](HWND sheet) { Press(sheet, button); });
        EXPECT_TRUE(entry(nullptr)) << "button " << button;
        EXPECT_TRUE(driver.ScriptRan());
    }
}

TEST_F(SaveOptionsSheet, StandAloneJpegOkStoresAllFourRows)
{
    ModalDriver driver([](HWND dialog) {
        EXPECT_WEQ(L"JPEG Save Options", Text(dialog).s);
        HWND ok = GetDlgItem(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(ok)) << "\"Ok\" is shown when the page runs alone";
        EXPECT_WEQ(L"Ok", Text(ok).s);
        SaveScreenshotAs(dialog, L"settings-jpeg-standalone.png");
        TypeInto(GetDlgItem(dialog, IDE_JPG_QUALITY), L"33");
        Click(GetDlgItem(dialog, IDX_JPG_CLIP));
        Click(GetDlgItem(dialog, IDR_JPG_LOSSY));
        Click(GetDlgItem(dialog, IDX_JPG_PROGRESSIVE));
        Click(ok);
    });
    EXPECT_EQ(lorvex::RunJpegSaveOptions(nullptr), 1);
    EXPECT_TRUE(driver.ScriptRan());
    EXPECT_EQ(gSO[SO_JPG_QUALITY].nValue, 33);
    EXPECT_EQ(gSO[SO_JPG_LOSSLESS].nValue, 0);
    EXPECT_EQ(gSO[SO_JPG_TRIM].nValue, 1);
    EXPECT_EQ(gSO[SO_JPG_PROGRESSIVE].nValue, 1);
}

TEST_F(SaveOptionsSheet, StandAloneJpegCancelStoresNothing)
{
    struct Case { const char* how; void (*cancel)(HWND dialog); };
    static const Case cases[] = {
        {"Esc key", [](HWND dialog) {
             // Through the dialog's own loop, as a key press arrives.
             HWND edit = GetDlgItem(dialog, IDE_JPG_QUALITY);
             PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
             PostMessageW(edit, WM_KEYUP, VK_ESCAPE, 0xC0000001);
         }},
        {"close box", [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }},
    };
    for (const Case& c : cases) {
        ModalDriver driver([&c](HWND dialog) {
            TypeInto(GetDlgItem(dialog, IDE_JPG_QUALITY), L"5");
            Click(GetDlgItem(dialog, IDR_JPG_LOSSY));
            Click(GetDlgItem(dialog, IDX_JPG_PROGRESSIVE));
            c.cancel(dialog);
        });
        EXPECT_EQ(lorvex::RunJpegSaveOptions(nullptr), 2) << c.how;
        EXPECT_FALSE(driver.TimedOut()) << c.how;
        EXPECT_EQ(std::memcmp(gSO, m_saved, sizeof m_saved), 0) << c.how;
    }
}
