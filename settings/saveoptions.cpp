// The "File Save Options" sheet: a "JPG" and a "PNG" page over the JPEG and
// PNG rows of gSO. The pages edit module-wide working values (one sheet or
// stand-alone JPEG dialog at a time) and write gSO only on Apply/OK, or on
// "Ok" of the stand-alone JPEG dialog.
#include "settings/saveoptions.h"

#include "win/guard.h"
#include "win/text.h"

#include "lorvexops/settings.h"
#include "module.h"
#include "settings_ids.h"

#include <commctrl.h>
#include <prsht.h>
#include <climits>

// The public ids hosts open templates by are the resources' own.
static_assert(LORVEX_IDD_PNM_SAVE_OPTIONS == IDD_PNM_SAVE_OPTIONS && LORVEX_IDD_GIF_SAVE_OPTIONS == IDD_GIF_SAVE_OPTIONS &&
                  LORVEX_IDD_COMPRESSION == IDD_COMPRESSION && LORVEX_IDD_IMAGE_PROPERTIES == IDD_IMAGE_PROPERTIES &&
                  LORVEX_IDC_COMPRESSION_CHOICE == IDC_COMPRESSION_CHOICE &&
                  LORVEX_IDT_PROP_FILE_NAME == IDT_PROP_FILE_NAME && LORVEX_IDT_PROP_MODIFIED == IDT_PROP_MODIFIED,
              "template ids of the header and the resources");

namespace {

struct JpegWorking {
    int quality = 75;
    bool lossless = true;
    bool trim = false;
    bool progressive = false;
};

struct PngWorking {
    int level = 3;
    int interlace = IDR_PNG_INTERLACE_NONE;
    int filter = IDR_PNG_FILTER_NONE;
};

JpegWorking g_jpeg;
PngWorking g_png;

// Per-window flags kept in DWLP_USER.
constexpr LONG_PTR kStandAlone = 1;   // the JPEG page as its own modal dialog
constexpr LONG_PTR kLoaded = 2;       // creation done: changes now come from the user

constexpr int kJpegDefaultQuality = 75;
constexpr int kPngDefaultLevel = 3;

// A number edit box with its trackbar and the range the edit accepts.
struct NumberPair {
    int edit;
    int bar;
    int low;
    int high;
};
constexpr NumberPair kJpegQuality = {IDE_JPG_QUALITY, IDT_JPG_QUALITY_BAR, 0, 100};
constexpr NumberPair kPngLevel = {IDE_PNG_LEVEL, IDT_PNG_LEVEL_BAR, 0, 9};

bool HasFlag(HWND dialog, LONG_PTR flag)
{
    return (GetWindowLongPtrW(dialog, DWLP_USER) & flag) != 0;
}

void AddFlag(HWND dialog, LONG_PTR flag)
{
    SetWindowLongPtrW(dialog, DWLP_USER, GetWindowLongPtrW(dialog, DWLP_USER) | flag);
}

// Enables the sheet's "Apply" once the user has changed something.
void MarkChanged(HWND page)
{
    if (HasFlag(page, kLoaded) && !HasFlag(page, kStandAlone))
        SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

int ReadNumber(HWND dialog, int id)
{
    return lorvex::ParseEditNumber(lorvex::WindowText(GetDlgItem(dialog, id)).c_str());
}

// The edit's number, pulled to the nearest bound (and shown so at once),
// with the trackbar moved to it.
int TakeEditNumber(HWND dialog, const NumberPair& pair)
{
    const int typed = ReadNumber(dialog, pair.edit);
    const int value = lorvex::ClampNumber(typed, pair.low, pair.high);
    if (value != typed)
        SetDlgItemInt(dialog, pair.edit, static_cast<UINT>(value), TRUE);
    SendDlgItemMessageW(dialog, pair.bar, TBM_SETPOS, TRUE, value);
    return value;
}

// Writes value into the edit (whose change notification moves the trackbar)
// and the trackbar.
void ShowNumber(HWND dialog, const NumberPair& pair, int value)
{
    SetDlgItemInt(dialog, pair.edit, static_cast<UINT>(value), TRUE);
    SendDlgItemMessageW(dialog, pair.bar, TBM_SETPOS, TRUE, value);
}

void ShowNoteIcon(HWND dialog)
{
    // A shared system icon: not destroyed.
    HICON icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_EXCLAMATION));
    SendDlgItemMessageW(dialog, IDI_SAVE_NOTE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void Answer(HWND dialog, LONG_PTR result)
{
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
}

// What differs between the two pages in the messages they answer alike.
struct PageTraits {
    NumberPair number;
    int* value;                // working value the trackbar edits
    int storedRow;             // gSO row that Cancel goes back to
    void (*store)(HWND);       // writes the page into gSO
};

// The trackbar's echo into the edit and the sheet's notifications, answered
// alike on both pages. Returns whether the message was answered.
BOOL CommonPageMessage(HWND dialog, UINT message, LPARAM lParam, const PageTraits& page)
{
    if (message == WM_HSCROLL) {
        HWND bar = reinterpret_cast<HWND>(lParam);
        if (bar != GetDlgItem(dialog, page.number.bar))
            return FALSE;
        *page.value = static_cast<int>(SendMessageW(bar, TBM_GETPOS, 0, 0));
        SetDlgItemInt(dialog, page.number.edit, static_cast<UINT>(*page.value), TRUE);
        return TRUE;
    }
    if (message != WM_NOTIFY)
        return FALSE;
    switch (reinterpret_cast<NMHDR*>(lParam)->code) {
    case PSN_APPLY:
        page.store(dialog);
        Answer(dialog, PSNRET_NOERROR);
        return TRUE;
    case PSN_RESET:
        *page.value = gSO[page.storedRow].nValue;
        return TRUE;
    case PSN_KILLACTIVE:
        Answer(dialog, FALSE);
        return TRUE;
    default:
        return FALSE;
    }
}

// ---- "JPG" page ------------------------------------------------------------

void JpegChooseLossy(HWND dialog)
{
    g_jpeg.lossless = false;
    CheckRadioButton(dialog, IDR_JPG_LOSSY, IDR_JPG_LOSSLESS, IDR_JPG_LOSSY);
    EnableWindow(GetDlgItem(dialog, IDX_JPG_CLIP), FALSE);
    EnableWindow(GetDlgItem(dialog, IDX_JPG_PROGRESSIVE), TRUE);
}

void JpegChooseLossless(HWND dialog)
{
    g_jpeg.lossless = true;
    CheckRadioButton(dialog, IDR_JPG_LOSSY, IDR_JPG_LOSSLESS, IDR_JPG_LOSSLESS);
    EnableWindow(GetDlgItem(dialog, IDX_JPG_CLIP), TRUE);
    EnableWindow(GetDlgItem(dialog, IDX_JPG_PROGRESSIVE), FALSE);
}

void JpegStore(HWND dialog)
{
    gSO[SO_JPG_QUALITY].nValue = ReadNumber(dialog, IDE_JPG_QUALITY);
    gSO[SO_JPG_LOSSLESS].nValue = g_jpeg.lossless ? 1 : 0;
    gSO[SO_JPG_TRIM].nValue = g_jpeg.trim ? 1 : 0;
    gSO[SO_JPG_PROGRESSIVE].nValue = g_jpeg.progressive ? 1 : 0;
}

void JpegInit(HWND dialog, LPARAM parameter)
{
    SetWindowLongPtrW(dialog, DWLP_USER, parameter == lorvex::kJpegPageStandAlone ? kStandAlone : 0);
    g_jpeg.quality = gSO[SO_JPG_QUALITY].nValue;
    g_jpeg.lossless = gSO[SO_JPG_LOSSLESS].nValue != 0;
    g_jpeg.trim = gSO[SO_JPG_TRIM].nValue != 0;
    g_jpeg.progressive = gSO[SO_JPG_PROGRESSIVE].nValue != 0;

    HWND bar = GetDlgItem(dialog, IDT_JPG_QUALITY_BAR);
    SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(1, 100));
    SendMessageW(bar, TBM_SETPOS, TRUE, g_jpeg.quality);
    SendMessageW(bar, TBM_SETTIC, 0, 5);

    if (g_jpeg.lossless)
        JpegChooseLossless(dialog);
    else
        JpegChooseLossy(dialog);
    CheckDlgButton(dialog, IDX_JPG_CLIP, g_jpeg.trim ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDX_JPG_PROGRESSIVE, g_jpeg.progressive ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(dialog, IDE_JPG_QUALITY, static_cast<UINT>(g_jpeg.quality), TRUE);
    ShowNoteIcon(dialog);
    if (HasFlag(dialog, kStandAlone))
        ShowWindow(GetDlgItem(dialog, IDOK), SW_SHOW);
    AddFlag(dialog, kLoaded);
}

void JpegRestoreDefaults(HWND dialog)
{
    g_jpeg.quality = kJpegDefaultQuality;
    ShowNumber(dialog, kJpegQuality, kJpegDefaultQuality);
    g_jpeg.trim = false;
    g_jpeg.progressive = false;
    JpegChooseLossless(dialog);
    CheckDlgButton(dialog, IDX_JPG_CLIP, BST_UNCHECKED);
    CheckDlgButton(dialog, IDX_JPG_PROGRESSIVE, BST_UNCHECKED);
}

void JpegCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case IDR_JPG_LOSSY:
    case IDR_JPG_LOSSLESS:
    case IDX_JPG_CLIP:
    case IDX_JPG_PROGRESSIVE:
    case IDB_RESTORE_DEFAULTS:
        if (code != BN_CLICKED)
            return;
        break;
    default:
        break;
    }
    switch (id) {
    case IDR_JPG_LOSSY:
        JpegChooseLossy(dialog);
        MarkChanged(dialog);
        break;
    case IDR_JPG_LOSSLESS:
        JpegChooseLossless(dialog);
        MarkChanged(dialog);
        break;
    case IDX_JPG_CLIP:
        g_jpeg.trim = IsDlgButtonChecked(dialog, IDX_JPG_CLIP) == BST_CHECKED;
        MarkChanged(dialog);
        break;
    case IDX_JPG_PROGRESSIVE:
        g_jpeg.progressive = IsDlgButtonChecked(dialog, IDX_JPG_PROGRESSIVE) == BST_CHECKED;
        MarkChanged(dialog);
        break;
    case IDE_JPG_QUALITY:
        // EN_UPDATE comes while the edit is still changing its own text;
        // EN_CHANGE follows with the final text.
        if (code == EN_UPDATE)
            return;
        g_jpeg.quality = TakeEditNumber(dialog, kJpegQuality);
        if (code == EN_CHANGE)
            MarkChanged(dialog);
        break;
    case IDB_RESTORE_DEFAULTS:
        JpegRestoreDefaults(dialog);
        MarkChanged(dialog);
        break;
    case IDOK:
        if (HasFlag(dialog, kStandAlone)) {
            JpegStore(dialog);
            EndDialog(dialog, 1);
        }
        break;
    case IDCANCEL:
        if (HasFlag(dialog, kStandAlone))
            EndDialog(dialog, 2);
        break;
    default:
        break;
    }
}

const PageTraits kJpegPage = {kJpegQuality, &g_jpeg.quality, SO_JPG_QUALITY, JpegStore};

INT_PTR JpegPage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        JpegInit(dialog, lParam);
        return TRUE;
    case WM_COMMAND:
        JpegCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return CommonPageMessage(dialog, message, lParam, kJpegPage);
    }
}

// ---- "PNG" page ------------------------------------------------------------

bool IsPngFilterButton(int id)
{
    switch (id) {
    case IDR_PNG_FILTER_NONE:
    case IDR_PNG_FILTER_SUB:
    case IDR_PNG_FILTER_UP:
    case IDR_PNG_FILTER_AVERAGE:
    case IDR_PNG_FILTER_PAETH:
    case IDR_PNG_FILTER_ADAPTIVE:
        return true;
    default:
        return false;
    }
}

bool IsPngInterlaceButton(int id)
{
    return id == IDR_PNG_INTERLACE_NONE || id == IDR_PNG_INTERLACE_ADAM7;
}

// The group bounds come from the rows' first and second control ids.
void PngChooseFilter(HWND dialog, int id)
{
    g_png.filter = id;
    CheckRadioButton(dialog, gSO[SO_PNG_FILTER].nFirstID, gSO[SO_PNG_FILTER].nSecondID, id);
}

void PngChooseInterlace(HWND dialog, int id)
{
    g_png.interlace = id;
    CheckRadioButton(dialog, gSO[SO_PNG_INTERLACED].nFirstID, gSO[SO_PNG_INTERLACED].nSecondID, id);
}

void PngStore(HWND dialog)
{
    gSO[SO_PNG_QUALITY].nValue = ReadNumber(dialog, IDE_PNG_LEVEL);
    gSO[SO_PNG_INTERLACED].nValue = g_png.interlace;
    gSO[SO_PNG_FILTER].nValue = g_png.filter;
}

void PngInit(HWND dialog)
{
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    g_png.level = gSO[SO_PNG_QUALITY].nValue;
    HWND bar = GetDlgItem(dialog, IDT_PNG_LEVEL_BAR);
    SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 9));
    SendMessageW(bar, TBM_SETPOS, TRUE, g_png.level);
    SendMessageW(bar, TBM_SETTICFREQ, 1, 0);
    SetDlgItemInt(dialog, IDE_PNG_LEVEL, static_cast<UINT>(g_png.level), TRUE);
    PngChooseInterlace(dialog, gSO[SO_PNG_INTERLACED].nValue);
    PngChooseFilter(dialog, gSO[SO_PNG_FILTER].nValue);
    ShowNoteIcon(dialog);
    AddFlag(dialog, kLoaded);
}

void PngCommand(HWND dialog, int id, int code)
{
    if (id == IDE_PNG_LEVEL) {
        if (code == EN_UPDATE)
            return;
        g_png.level = TakeEditNumber(dialog, kPngLevel);
        if (code == EN_CHANGE)
            MarkChanged(dialog);
        return;
    }
    if (code != BN_CLICKED)
        return;
    if (IsPngFilterButton(id)) {
        PngChooseFilter(dialog, id);
    } else if (IsPngInterlaceButton(id)) {
        PngChooseInterlace(dialog, id);
    } else if (id == IDB_RESTORE_DEFAULTS) {
        g_png.level = kPngDefaultLevel;
        ShowNumber(dialog, kPngLevel, kPngDefaultLevel);
        PngChooseInterlace(dialog, IDR_PNG_INTERLACE_NONE);
        PngChooseFilter(dialog, IDR_PNG_FILTER_NONE);
    } else {
        return;
    }
    MarkChanged(dialog);
}

const PageTraits kPngPage = {kPngLevel, &g_png.level, SO_PNG_QUALITY, PngStore};

INT_PTR PngPage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        PngInit(dialog);
        return TRUE;
    case WM_COMMAND:
        PngCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return CommonPageMessage(dialog, message, lParam, kPngPage);
    }
}

void RegisterTrackbarClass()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
}

}  // namespace

namespace lorvex {

int ParseEditNumber(const WCHAR* text)
{
    if (!text)
        return 0;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (text[i] == L' ' || text[i] == L'\t')
            ++i;
    };
    skipBlanks();
    bool negative = false;
    if (text[i] == L'-' || text[i] == L'+')
        negative = text[i++] == L'-';
    const size_t firstDigit = i;
    long long value = 0;
    for (; text[i] >= L'0' && text[i] <= L'9'; ++i) {
        if (value <= INT_MAX)
            value = value * 10 + (text[i] - L'0');
    }
    if (i == firstDigit)
        return 0;
    skipBlanks();
    if (text[i])
        return 0;
    if (negative)
        value = -value;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

int ClampNumber(int value, int low, int high)
{
    return value > high ? high : value < low ? low : value;
}

INT_PTR CALLBACK JpegSaveOptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return lorvex::Guarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        return JpegPage(dialog, message, wParam, lParam);
    });
}

INT_PTR CALLBACK PngSaveOptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return lorvex::Guarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        return PngPage(dialog, message, wParam, lParam);
    });
}

INT_PTR RunJpegSaveOptions(HWND parent)
{
    return Guarded<INT_PTR>(-1, [&]() -> INT_PTR {
        RegisterTrackbarClass();
        return DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_JPEG_SAVE_OPTIONS), parent,
                               JpegSaveOptionsProc, kJpegPageStandAlone);
    });
}

}  // namespace lorvex

extern "C" int __cdecl DlgDlgFileSaveOptions(HWND owner)
{
    return lorvex::Guarded<int>(-1, [&]() -> int {
        RegisterTrackbarClass();
        // The sheet steps through the records by their dwSize, so the array
        // holds records of exactly that size.
        PROPSHEETPAGEW_V2 pages[2] = {};
        const struct {
            WORD templateId;
            DLGPROC procedure;
            const WCHAR* title;
        } kPages[2] = {
            {IDD_JPEG_SAVE_OPTIONS, lorvex::JpegSaveOptionsProc, L"JPG"},
            {IDD_PNG_SAVE_OPTIONS, lorvex::PngSaveOptionsProc, L"PNG"},
        };
        for (int i = 0; i < 2; ++i) {
            pages[i].dwSize = sizeof(PROPSHEETPAGEW_V2);
            pages[i].dwFlags = PSP_USETITLE;
            pages[i].hInstance = lorvex::ModuleInstance();
            pages[i].pszTemplate = MAKEINTRESOURCEW(kPages[i].templateId);
            pages[i].pfnDlgProc = kPages[i].procedure;
            pages[i].pszTitle = kPages[i].title;
            pages[i].lParam = 0;
        }
        PROPSHEETHEADERW sheet = {};
        sheet.dwSize = sizeof sheet;
        sheet.dwFlags = PSH_PROPSHEETPAGE;
        sheet.hwndParent = owner;
        sheet.hInstance = lorvex::ModuleInstance();
        sheet.pszCaption = L"File Save Options";
        sheet.nPages = 2;
        sheet.nStartPage = 0;
        sheet.ppsp = reinterpret_cast<LPCPROPSHEETPAGEW>(pages);
        return static_cast<int>(PropertySheetW(&sheet));
    });
}

extern "C" bool __cdecl DlgFileSaveOptions(HWND owner)
{
    DlgDlgFileSaveOptions(owner);
    return true;
}
