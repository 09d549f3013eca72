// The "File Save Options" sheet and the stand-alone JPEG dialog, driven from
// inside their modal loops with the messages real input produces.
#include <lorvexops/lorvexops.h>
#include "dialog_driver.h"
#include "settings/saveoptions.h"
#include "resources/settings_ids.h"

#include <prsht.h>
#include <climits>
#include <cstring>

namespace {

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
bool Enabled(HWND page, int id) { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }
std::string Shown(HWND page, int id) { return lvtest::Utf8(Text(GetDlgItem(page, id)).c_str()); }
void Press(HWND sheet, int button) { SendMessageW(sheet, PSM_PRESSBUTTON, button, 0); }
void PressKey(HWND control, UINT key)
{
    SendMessageW(control, WM_KEYDOWN, key, 1);
    SendMessageW(control, WM_KEYUP, key, 0xC0000001);
}

HWND ShowPage(HWND sheet, int index)
{
    SendMessageW(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// The one checked button of a radio group, or 0 (none) / -1 (several).
int CheckedIn(HWND page, std::initializer_list<int> group)
{
    int found = 0;
    for (int id : group)
        if (Checked(page, id))
            found = found ? -1 : id;
    return found;
}

struct Options { int jpgQuality, lossless, clip, progressive, pngLevel, interlace, filter; };
constexpr Options kDefaults = {75, 1, 0, 0, 3, IDR_PNG_INTERLACE_NONE, IDR_PNG_FILTER_NONE};
const std::pair<int Options::*, int> kRowOf[] = {
    {&Options::jpgQuality, SO_JPG_QUALITY}, {&Options::lossless, SO_JPG_LOSSLESS}, {&Options::clip, SO_JPG_TRIM},
    {&Options::progressive, SO_JPG_PROGRESSIVE}, {&Options::pngLevel, SO_PNG_QUALITY},
    {&Options::interlace, SO_PNG_INTERLACED}, {&Options::filter, SO_PNG_FILTER}};

void ExpectStored(const Options& o)
{
    for (const auto& field : kRowOf)
        EXPECT_EQ(gSO[field.second].nValue, o.*field.first) << "gSO row " << field.second;
}

void ExpectShown(HWND sheet, const Options& o, const char* when)
{
    SCOPED_TRACE(when);
    HWND jpg = ShowPage(sheet, 0);
    EXPECT_EQ(Shown(jpg, IDE_JPG_QUALITY), std::to_string(o.jpgQuality));
    EXPECT_EQ(SendDlgItemMessageW(jpg, IDT_JPG_QUALITY_BAR, TBM_GETPOS, 0, 0), o.jpgQuality);
    EXPECT_EQ(CheckedIn(jpg, {IDR_JPG_LOSSY, IDR_JPG_LOSSLESS}), o.lossless ? IDR_JPG_LOSSLESS : IDR_JPG_LOSSY);
    EXPECT_EQ(Enabled(jpg, IDX_JPG_CLIP), o.lossless == 1) << "clipping only applies to lossless";
    EXPECT_EQ(Checked(jpg, IDX_JPG_CLIP), o.clip == 1);
    EXPECT_EQ(Enabled(jpg, IDX_JPG_PROGRESSIVE), o.lossless == 0) << "progressive only applies to lossy";
    EXPECT_EQ(Checked(jpg, IDX_JPG_PROGRESSIVE), o.progressive == 1) << "disabling keeps the box's state";
    HWND png = ShowPage(sheet, 1);
    EXPECT_EQ(Shown(png, IDE_PNG_LEVEL), std::to_string(o.pngLevel));
    EXPECT_EQ(SendDlgItemMessageW(png, IDT_PNG_LEVEL_BAR, TBM_GETPOS, 0, 0), o.pngLevel);
    EXPECT_EQ(CheckedIn(png, {IDR_PNG_INTERLACE_NONE, IDR_PNG_INTERLACE_ADAM7}), o.interlace);
    EXPECT_EQ(CheckedIn(png, {IDR_PNG_FILTER_NONE, IDR_PNG_FILTER_SUB, IDR_PNG_FILTER_UP, IDR_PNG_FILTER_AVERAGE,
                              IDR_PNG_FILTER_PAETH, IDR_PNG_FILTER_ADAPTIVE}), o.filter);
}

class SaveOptionsSheet : public ::testing::Test {
protected:
    void SetUp() override { std::memcpy(m_saved, gSO, sizeof m_saved); }
    void TearDown() override { std::memcpy(gSO, m_saved, sizeof m_saved); }
    bool Untouched() const { return std::memcmp(gSO, m_saved, sizeof m_saved) == 0; }

    template <typename Result = int>
    Result RunSheet(std::function<void(HWND)> script, const char* name = "DlgDlgFileSaveOptions")
    {
        auto entry = lvtest::Export<Result(__cdecl*)(HWND)>(name);
        EXPECT_NE(entry, nullptr) << name;
        lvtest::ModalDriver driver;
        DriveNext(driver, std::move(script));
        Result result = entry ? entry(nullptr) : Result(-1);
        EXPECT_TRUE(driver.Finished() && !driver.TimedOut()) << "the sheet never came up or was left open";
        return result;
    }

    SAVEOPTIONS m_saved[LORVEX_SO_ROWS];
};

}  // namespace

TEST_F(SaveOptionsSheet, OpensWithTheDefaultsAndCancelDropsEveryChange)
{
    int result = RunSheet([](HWND sheet) {
        EXPECT_WEQ(L"File Save Options", Text(sheet).c_str());
        HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);   // which page is which: ExpectShown
        EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0) << "opens on the JPG page";
        ExpectShown(sheet, kDefaults, "on opening");
        HWND jpg = ShowPage(sheet, 0);
        lvtest::SaveScreenshot(sheet, L"settings-sheet-jpg.png");
        TypeInto(GetDlgItem(jpg, IDE_JPG_QUALITY), L"20");
        Click(GetDlgItem(jpg, IDR_JPG_LOSSY));
        HWND png = ShowPage(sheet, 1);
        PressKey(GetDlgItem(png, IDT_PNG_LEVEL_BAR), VK_END);
        Click(GetDlgItem(png, IDR_PNG_FILTER_PAETH));
        Click(GetDlgItem(png, IDR_PNG_INTERLACE_ADAM7));
        Press(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(result, 0) << "Cancel";
    EXPECT_TRUE(Untouched());
}

TEST_F(SaveOptionsSheet, ShowsTheStoredRowsAndStoresClicksKeysAndTypingOnOk)
{
    const int none = IDR_PNG_INTERLACE_NONE, adam7 = IDR_PNG_INTERLACE_ADAM7;
    const Options stored = {40, 0, 1, 1, 7, adam7, IDR_PNG_FILTER_AVERAGE};
    for (const auto& field : kRowOf)
        gSO[field.second].nValue = stored.*field.first;
    struct Step { int page, button; Options after; };
    static const Step steps[] = {
        {0, IDB_RESTORE_DEFAULTS, {75, 1, 0, 0, 7, adam7, IDR_PNG_FILTER_AVERAGE}},
        {1, IDB_RESTORE_DEFAULTS, kDefaults},
        {0, IDR_JPG_LOSSY, {75, 0, 0, 0, 3, none, IDR_PNG_FILTER_NONE}},
        {0, IDX_JPG_PROGRESSIVE, {75, 0, 0, 1, 3, none, IDR_PNG_FILTER_NONE}},
        {0, IDR_JPG_LOSSLESS, {75, 1, 0, 1, 3, none, IDR_PNG_FILTER_NONE}},
        {0, IDX_JPG_CLIP, {75, 1, 1, 1, 3, none, IDR_PNG_FILTER_NONE}},
        {1, IDR_PNG_INTERLACE_ADAM7, {75, 1, 1, 1, 3, adam7, IDR_PNG_FILTER_NONE}},
        {1, IDR_PNG_FILTER_PAETH, {75, 1, 1, 1, 3, adam7, IDR_PNG_FILTER_PAETH}},
    };
    // Then text typed into a page's edit, or a key pressed on its trackbar:
    // a number beyond the range is pulled in at once (the rules are the
    // parsing table's), other text stays as typed.
    struct Input { int page; const WCHAR* typed; UINT key; const WCHAR* shown; int bar; };
    static const Input inputs[] = {
        {0, L"150", 0, L"100", 100}, {0, L"abc", 0, L"abc", 1}, {0, nullptr, VK_RIGHT, L"2", 2},
        {0, L"0", 0, L"0", 1},   // the trackbar cannot show 0
        {1, L"12", 0, L"9", 9}, {1, L"", 0, L"", 0}, {1, nullptr, VK_END, L"9", 9},
    };
    int result = RunSheet([&](HWND sheet) {
        ExpectShown(sheet, stored, "the stored rows");
        for (const Step& s : steps) {
            Click(GetDlgItem(ShowPage(sheet, s.page), s.button));
            ExpectShown(sheet, s.after, (std::string("after clicking ") + std::to_string(s.button)).c_str());
        }
        for (size_t i = 0; i < ARRAYSIZE(inputs); ++i) {
            const Input& c = inputs[i];
            HWND page = ShowPage(sheet, c.page);
            HWND edit = GetDlgItem(page, c.page == 0 ? IDE_JPG_QUALITY : IDE_PNG_LEVEL);
            HWND bar = GetDlgItem(page, c.page == 0 ? IDT_JPG_QUALITY_BAR : IDT_PNG_LEVEL_BAR);
            c.typed ? TypeInto(edit, c.typed) : PressKey(bar, c.key);
            EXPECT_WEQ(c.shown, Text(edit).c_str()) << "input " << i;
            EXPECT_EQ(SendMessageW(bar, TBM_GETPOS, 0, 0), c.bar) << "input " << i;
        }
        Press(sheet, PSBTN_OK);
    });
    EXPECT_GT(result, 0) << "OK";
    // A typed 0 is stored although the trackbar cannot show it.
    ExpectStored({0, 1, 1, 1, 9, adam7, IDR_PNG_FILTER_PAETH});
    // Rows the sheet does not edit stay as they were.
    for (int row : {SO_SAVE_AFTER_RORM, SO_SAVE_ARM_APPEND, SO_KEEP_ORIG_DATETIME})
        EXPECT_EQ(std::memcmp(&gSO[row], &m_saved[row], sizeof(SAVEOPTIONS)), 0) << "row " << row;
}

TEST_F(SaveOptionsSheet, ApplyStoresTheOpenedPagesAndKeepsTheSheetOpen)
{
    // The PNG page is never shown, so its rows keep whatever the host put there.
    gSO[SO_PNG_QUALITY].nValue = 42;
    gSO[SO_PNG_FILTER].nValue = 5;
    // Through the other entry, which reports true whatever the user pressed.
    bool result = RunSheet<bool>([](HWND sheet) {
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
    }, "DlgFileSaveOptions");
    EXPECT_TRUE(result);
    EXPECT_EQ(gSO[SO_JPG_QUALITY].nValue, 55) << "Cancel does not undo what Apply stored";
    EXPECT_EQ(gSO[SO_PNG_QUALITY].nValue, 42);
    EXPECT_EQ(gSO[SO_PNG_FILTER].nValue, 5);
}

TEST_F(SaveOptionsSheet, StandAloneJpegOkStoresItsRowsEscNothing)
{
    for (INT_PTR expected : {1, 2}) {
        std::memcpy(gSO, m_saved, sizeof m_saved);
        lvtest::ModalDriver driver;
        DriveNext(driver, [expected](HWND dialog) {
            EXPECT_WEQ(L"JPEG Save Options", Text(dialog).c_str());
            HWND ok = GetDlgItem(dialog, IDOK), edit = GetDlgItem(dialog, IDE_JPG_QUALITY);
            EXPECT_TRUE(IsWindowVisible(ok)) << "\"Ok\" is shown when the page runs alone";
            EXPECT_WEQ(L"Ok", Text(ok).c_str());
            TypeInto(edit, L"33");
            Click(GetDlgItem(dialog, IDX_JPG_CLIP));
            Click(GetDlgItem(dialog, IDR_JPG_LOSSY));
            Click(GetDlgItem(dialog, IDX_JPG_PROGRESSIVE));
            if (expected == 1)
                Click(ok);
            else   // through the dialog's own loop, as a key press arrives
                PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
        });
        EXPECT_EQ(lorvex::RunJpegSaveOptions(nullptr), expected);
        EXPECT_TRUE(driver.Finished() && !driver.TimedOut());
        if (expected == 1)
            ExpectStored({33, 0, 1, 1, 3, IDR_PNG_INTERLACE_NONE, IDR_PNG_FILTER_NONE});
        else
            EXPECT_TRUE(Untouched()) << "Esc";
    }
}

TEST(SaveOptionNumbers, EditTextsParseAndClamp)
{
    // Blanks and a sign around digits; anything else is 0; long runs saturate.
    const std::pair<const WCHAR*, int> texts[] = {
        {L"150", 150}, {L" -7\t", -7}, {L"+12 ", 12}, {L"0", 0}, {L"", 0}, {L"abc", 0}, {L"12a", 0}, {L"1 2", 0},
        {L"-", 0}, {L"0x10", 0}, {L"\xFF11\xFF12", 0}, {L"2147483647", INT_MAX}, {L"99999999999", INT_MAX},
        {L"-99999999999999999999", INT_MIN}, {nullptr, 0}};
    for (const auto& t : texts)
        EXPECT_EQ(t.second, lorvex::ParseEditNumber(t.first)) << lvtest::Utf8(t.first);
    const int clamps[][4] = {{150, 0, 100, 100}, {-7, 0, 100, 0}, {50, 0, 100, 50}, {INT_MIN, 1, 9, 1}, {9, 1, 9, 9}};
    for (const auto& c : clamps)
        EXPECT_EQ(c[3], lorvex::ClampNumber(c[0], c[1], c[2])) << c[0] << " in " << c[1] << ".." << c[2];
}
