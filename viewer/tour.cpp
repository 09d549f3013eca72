// The scripted tour: drives the viewer as a user would (menu commands, keys,
// mouse drags, typing into the library's dialogs), keeps a picture of the
// window at each step and checks each step's result. A thread timer runs the
// next step, so the steps also run inside the modal loops of the dialogs.
#include "viewer.h"

#include <shlwapi.h>

#include <cstdio>
#include <functional>
#include <vector>

namespace viewer {
namespace {

using MagickCore::Quantum;

// Control ids of the library's dialog templates that the tour types into.
const int kResizeWidth = 1752, kResizeHeight = 1755, kBatchShrink = 1763;
const int kGifEyedropper = 1806;
const DWORD kStepTimeoutMs = 30000;

struct Shot {
    WString file, caption;
};

// The enabled, visible dialog of this thread that a user would be typing
// into: the topmost one that no other disables.
BOOL CALLBACK KeepDialog(HWND hwnd, LPARAM out)
{
    WCHAR name[16] = {};
    GetClassNameW(hwnd, name, 16);
    if (!lstrcmpW(name, L"#32770") && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
        *reinterpret_cast<HWND*>(out) = hwnd;
    return *reinterpret_cast<HWND*>(out) == nullptr;   // the topmost one
}

HWND ActiveDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), KeepDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

WString TextOf(HWND window)
{
    WCHAR text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

HWND DialogCaptioned(const WCHAR* caption)
{
    HWND dialog = ActiveDialog();
    return dialog && TextOf(dialog) == caption ? dialog : nullptr;
}

// As the button reports a click to its dialog.
void Click(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

// The static text of a message box.
WString MessageText(HWND box)
{
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? TextOf(text) : WString();
}

// The common file dialog's name box (an edit, or the edit of its combo box).
HWND NameEdit(HWND dialog)
{
    HWND box = GetDlgItem(dialog, 1152);
    if (!box)
        box = GetDlgItem(dialog, 1148);
    HWND edit = box ? FindWindowExW(box, nullptr, L"Edit", nullptr) : nullptr;
    return edit ? edit : box;
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool CopyFolderFiles(const WString& from, const WString& to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(JoinPath(from.c_str(), L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            CopyFileW(JoinPath(from.c_str(), found.cFileName).c_str(), JoinPath(to.c_str(), found.cFileName).c_str(),
                      FALSE);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return true;
}

bool WriteText(const WString& path, const std::string& text)
{
    WString reason;
    return WriteFileSafely(path.c_str(), text.data(), text.size(), &reason);
}

std::string Html(const WString& text)
{
    std::string out;
    for (char c : Utf8(text.c_str()))
        out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
    return out;
}

class Tour {
public:
    Tour(Viewer& viewer, WString out, WString samples)
        : m_viewer(viewer), m_out(std::move(out)), m_samples(std::move(samples)),
          m_pictures(JoinPath(m_out.c_str(), L"pictures"))
    {
    }

    int Run();

private:
    using Action = std::function<bool()>;   // true when the step is done
    Tour& Then(const char* label, Action action)
    {
        m_steps.push_back({label, std::move(action)});
        return *this;
    }
    void Script();
    void Check(bool ok, const char* what)
    {
        if (!ok)
            m_failures.push_back(Wide(what));
    }
    void Snap(HWND window, const WCHAR* name, const WCHAR* caption)
    {
        const WString file = WString(name) + L".png";
        Check(SaveScreenshot(window, JoinPath(m_out.c_str(), file.c_str()).c_str()), "a screenshot was written");
        m_shots.push_back({file, caption});
    }
    // Posts a menu command as the menu sends it.
    Action Command(int id)
    {
        return [this, id] { return PostMessageW(m_viewer.Hwnd(), WM_COMMAND, id, 0), true; };
    }
    Action Key(WPARAM key)
    {
        return [this, key] { return PostMessageW(m_viewer.Hwnd(), WM_KEYDOWN, key, 0), true; };
    }
    // Waits for a dialog of that caption, then acts on it.
    Action OnDialog(const WCHAR* caption, std::function<void(HWND)> act)
    {
        return [caption, act] {
            HWND dialog = caption ? DialogCaptioned(caption) : ActiveDialog();
            if (dialog)
                act(dialog);
            return dialog != nullptr;
        };
    }
    Action Idle()
    {
        return [this] { return !ActiveDialog() && !m_viewer.Busy(); };
    }
    // The viewer's message box: its text holds expected; a picture, then OK.
    void ReadMessage(const WCHAR* expected, const char* what, const WCHAR* shot, const WCHAR* caption)
    {
        Then(what, OnDialog(L"Lorvex Viewer", [=](HWND box) {
                 Check(MessageText(box).find(expected) != WString::npos, what);
                 Snap(box, shot, caption);
                 PostMessageW(box, WM_COMMAND, IDOK, 0);
             }));
        Then("the message box closed", Idle());
    }
    void OpenThroughDialog(const WString& path, const WCHAR* shot, const WCHAR* caption);
    void WriteIndex();
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Step();

    Viewer& m_viewer;
    WString m_out, m_samples, m_pictures;
    struct Entry {
        const char* label;
        Action action;
    };
    std::vector<Entry> m_steps;
    size_t m_next = 0;
    DWORD m_stepStarted = 0;
    bool m_inStep = false;
    std::vector<Shot> m_shots;
    std::vector<WString> m_failures;
    static Tour* s_active;
};
Tour* Tour::s_active = nullptr;

void CALLBACK Tour::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    Guarded(0, [] {
        if (s_active && !s_active->m_inStep)
            s_active->Step();
        return 0;
    });
}

void Tour::Step()
{
    m_inStep = true;
    struct Leave { bool& flag; ~Leave() { flag = false; } } leave{m_inStep};
    if (m_next >= m_steps.size()) {
        // Everything done: close what is still open, then the window.
        if (HWND dialog = ActiveDialog())
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        else if (!m_viewer.Busy() && IsWindow(m_viewer.Hwnd()))
            DestroyWindow(m_viewer.Hwnd());
        return;
    }
    Entry& step = m_steps[m_next];
    bool done = false;
    try {
        done = step.action();
    } catch (const std::exception& error) {
        m_failures.push_back(Wide(step.label) + L": " + Wide(error.what()));
        done = true;
    }
    if (!done && GetTickCount() - m_stepStarted > kStepTimeoutMs) {
        m_failures.push_back(Wide(step.label) + L": timed out");
        m_next = m_steps.size();   // what follows depends on this step
        return;
    }
    if (done) {
        ++m_next;
        m_stepStarted = GetTickCount();
    }
}

void Tour::OpenThroughDialog(const WString& path, const WCHAR* shot, const WCHAR* caption)
{
    Then("File > Open", Command(ID_OPEN));
    Then("the open dialog", OnDialog(nullptr, [=](HWND dialog) {
             SetWindowTextW(NameEdit(dialog), path.c_str());
             if (shot)
                 Snap(dialog, shot, caption);
             Click(dialog, IDOK);
         }));
}

void Tour::Script()
{
    Viewer& v = m_viewer;
    const WString first = JoinPath(m_pictures.c_str(), L"img2.bmp");
    const WString broken = JoinPath(m_out.c_str(), L"broken\\truncated.bmp");
    auto size = std::make_shared<SIZE>();
    auto expected = std::make_shared<SIZE>();

    // Open, then browse with the keys.
    OpenThroughDialog(first, L"01-open-dialog", L"File > Open: the library's open dialog with its picture filters.");
    Then("img2.bmp shown", [=, &v] {
        if (v.Path() != first)
            return false;
        Check(v.Count() >= 5, "the folder's pictures are listed");
        Check(ListView_GetItemCount(v.List()) == v.Count(), "the list pane shows every picture of the folder");
        // The picture is drawn where expected: its centre pixel at the middle of the picture's place.
        const RECT place = v.PictureRect();
        RGBQUAD centre = {};
        DibGetPixelColor(v.Dib(), v.PictureWidth() / 2, v.PictureHeight() / 2, &centre);
        HDC dc = GetDC(v.View());
        const COLORREF drawn = GetPixel(dc, (place.left + place.right) / 2, (place.top + place.bottom) / 2);
        const COLORREF corner = GetPixel(dc, 1, 1);
        ReleaseDC(v.View(), dc);
        Check(Near(drawn, RGB(centre.rgbRed, centre.rgbGreen, centre.rgbBlue), 48),
              "the picture's centre is drawn at the centre of its place");
        Check(place.left > 1 || place.top > 1 ? corner == RGB(64, 64, 64) : true,
              "the view's background shows around the picture");
        size->cx = v.PictureWidth(), size->cy = v.PictureHeight();
        Snap(v.Hwnd(), L"02-opened",
             L"img2.bmp opened: drawn to fit beside the folder's pictures; name, size, position and zoom in the status bar.");
        return true;
    });
    auto start = std::make_shared<int>();
    Then("Space", [=, &v] { *start = v.Current(); return PostMessageW(v.Hwnd(), WM_KEYDOWN, VK_SPACE, 0), true; });
    Then("the next picture", [=, &v] { return v.Current() == *start + 1; });
    Then("End", Key(VK_END));
    Then("the last picture", [=, &v] {
        if (v.Current() != v.Count() - 1)
            return false;
        Snap(v.Hwnd(), L"03-last", L"End: the last picture of the folder, in the folder list's sort order.");
        return true;
    });
    Then("Home", Key(VK_HOME));
    Then("the first picture", [=, &v] { return v.Current() == 0; });

    // Sort by size, largest first.
    Then("Sort by size", Command(ID_SORT_SIZE));
    Then("Descending", Command(ID_SORT_DESCENDING));
    Then("sorted by size", [=, &v] {
        const auto& files = *v.Folder().GetFileList();
        bool ordered = true;
        for (size_t i = 1; i < files.size(); ++i)
            ordered = ordered && files[i - 1]->dwSize >= files[i]->dwSize;
        Check(ordered && gdwSortingMode == SORT_BY_SIZE && !bSortAscending, "the folder list is sorted by size, largest first");
        Snap(v.Hwnd(), L"04-sorted", L"Browse > Sort by Size, Descending: the folder list and its pane, largest first.");
        return true;
    });

    // A click on the pane's Size header sorts the rows by size, smallest first.
    Then("click the Size header", [=, &v] {
        HWND header = ListView_GetHeader(v.List());
        RECT item = {};
        Header_GetItemRect(header, 1, &item);
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(header, WM_LBUTTONUP, 0, at);
        return true;
    });
    Then("the pane sorted by size", [=, &v] {
        auto sizeOf = [&](int row) {
            LVITEMW item = {};
            item.mask = LVIF_PARAM;
            item.iItem = row;
            ListView_GetItem(v.List(), &item);
            auto* record = reinterpret_cast<CSortedListCtrl::ItemData*>(item.lParam);
            return record ? record->sizeValues[1] : -1;
        };
        bool ascending = true;
        for (int row = 1; row < ListView_GetItemCount(v.List()); ++row)
            ascending = ascending && sizeOf(row - 1) <= sizeOf(row);
        if (!ascending)
            return false;   // the click is handled a tick later
        Snap(v.Hwnd(), L"04b-header-sort", L"A click on the pane's Size header: the rows by size, smallest first.");
        return true;
    });

    // Resize the picture shown to 100 pixels wide, proportions kept.
    Then("Edit > Resize", Command(ID_RESIZE));
    Then("the Resize Image dialog", OnDialog(L"Resize Image", [=](HWND dialog) {
             SetDlgItemTextW(dialog, kResizeWidth, L"100");
         }));
    Then("the typed width", OnDialog(L"Resize Image", [=](HWND dialog) {
             expected->cx = 100;
             expected->cy = GetDlgItemInt(dialog, kResizeHeight, nullptr, FALSE);
             Snap(dialog, L"05-resize-dialog", L"Edit > Resize: 100 pixels wide, the height follows the proportions.");
             Click(dialog, IDOK);
         }));
    Then("resized", [=, &v] {
        if (ActiveDialog() || v.Busy())
            return false;
        Check(v.PictureWidth() == expected->cx && v.PictureHeight() == expected->cy && expected->cy > 0,
              "the picture has the size chosen in the Resize Image dialog");
        Snap(v.Hwnd(), L"06-resized", L"The picture resampled by the image service with the chosen filter.");
        return true;
    });

    // Flip, then crop to a rectangle dragged over the picture.
    Then("Edit > Flip", Command(ID_FLIP));
    Then("drag a rectangle", [=, &v] {
        const RECT place = v.PictureRect();
        const int w = place.right - place.left, h = place.bottom - place.top;
        const POINT from = {place.left + w / 4, place.top + h / 4}, to = {place.left + 3 * w / 4, place.top + 3 * h / 4};
        PostMessageW(v.View(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        PostMessageW(v.View(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        PostMessageW(v.View(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        const double zoom = double(w) / v.PictureWidth();
        expected->cx = LONG((to.x - place.left) / zoom) - LONG((from.x - place.left) / zoom);
        expected->cy = LONG((to.y - place.top) / zoom) - LONG((from.y - place.top) / zoom);
        return true;
    });
    Then("the selection", [=, &v] {
        Snap(v.Hwnd(), L"07-crop-selection", L"Edit > Flip, then a rectangle dragged over the picture.");
        return true;
    });
    Then("Edit > Crop", Command(ID_CROP));
    Then("cropped", [=, &v] {
        if (ActiveDialog() || v.Busy())
            return false;
        Check(v.PictureWidth() == expected->cx && v.PictureHeight() == expected->cy,
              "the picture is cropped to the dragged rectangle");
        Snap(v.Hwnd(), L"08-cropped", L"Edit > Crop to Selection: the bitmap core's crop of the dragged rectangle.");
        return true;
    });

    // Batch resize every picture of the folder into 48 x 48.
    Then("select all", [=, &v] {
        ListView_SetItemState(v.List(), -1, LVIS_SELECTED, LVIS_SELECTED);
        return PostMessageW(v.Hwnd(), WM_COMMAND, ID_BATCHRESIZE, 0), true;
    });
    Then("the Batch Resize dialog", OnDialog(L"Batch Resize", [=](HWND dialog) {
             SendDlgItemMessageW(dialog, kBatchShrink, BM_CLICK, 0, 0);
             SetDlgItemTextW(dialog, kResizeWidth, L"48");
             SetDlgItemTextW(dialog, kResizeHeight, L"48");
         }));
    Then("bounds typed", OnDialog(L"Batch Resize", [=](HWND dialog) {
             Snap(dialog, L"09-batch-dialog", L"Edit > Batch Resize of every picture: shrink large ones into 48 x 48.");
             Click(dialog, IDOK);
         }));
    Then("batch done", [=, &v] {
        if (ActiveDialog() || v.Busy())
            return false;
        int written = 0, fitting = 0;
        CDll2LorvexMessage service;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW(JoinPath(v.BatchFolder().c_str(), L"*.*").c_str(), &found);
        for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
            SIZE dim = {};
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            ++written;
            fitting += service.GetImageDim(JoinPath(v.BatchFolder().c_str(), found.cFileName).c_str(), &dim) &&
                       dim.cx <= 48 && dim.cy <= 48;
        }
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
        Check(written >= v.Count() - 1 && fitting == written, "every selected picture was written into 48 x 48");
        Snap(v.Hwnd(), L"10-batch-done", L"The batch written into the Resized folder (the status bar says how many).");
        return true;
    });

    // Save as GIF with a transparent colour picked in the preview.
    const WString gif = JoinPath(m_out.c_str(), L"tour.gif");
    Then("File > Save As", Command(ID_SAVEAS));
    Then("the save dialog", OnDialog(nullptr, [=](HWND dialog) {
             HWND types = GetDlgItem(dialog, 1136);
             const LRESULT index = SendMessageW(types, CB_FINDSTRING, WPARAM(-1), LPARAM(L"GIF"));
             SendMessageW(types, CB_SETCURSEL, index, 0);
             SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELCHANGE), LPARAM(types));
             SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELENDOK), LPARAM(types));
             SetWindowTextW(NameEdit(dialog), gif.c_str());
         }));
    Then("GIF chosen", OnDialog(nullptr, [=](HWND dialog) {
             Snap(dialog, L"11-save-dialog", L"File > Save As: GIF chosen; the Advanced options panel offers its compression.");
             Click(dialog, IDOK);
         }));
    Then("the GIF Export dialog", OnDialog(L"GIF Export", [=](HWND dialog) {
             SendDlgItemMessageW(dialog, kGifEyedropper, BM_CLICK, 0, 0);
             HWND frame = FindWindowExW(dialog, nullptr, L"DrawerFrame", nullptr);
             POINT screen = {5, 5};
             ClientToScreen(frame, &screen);
             SetCursorPos(screen.x, screen.y);
             PostMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
             PostMessageW(frame, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
         }));
    Then("colour picked", OnDialog(L"GIF Export", [=](HWND dialog) {
             Snap(dialog, L"12-gif-export", L"The GIF export dialog: the colour at the picture's top-left picked as transparent.");
             PostMessageW(dialog, WM_COMMAND, IDOK, 0);
         }));
    Then("saved", [=, &v] {
        if (ActiveDialog() || v.Busy())
            return false;
        Check(v.LastSaved() == gif, "the GIF was saved where the save dialog said");
        Magick::Image back;
        back.read(UnixPath(gif.c_str()));
        Check(back.magick() == "GIF" && back.matte() && back.getConstPixels(5, 5, 1, 1)->opacity == QuantumRange,
              "the GIF read back has the picked colour transparent");
        return true;
    });

    // The save-options sheet.
    Then("File > Save Options", Command(ID_SAVEOPTIONS));
    Then("the sheet", OnDialog(L"File Save Options", [=](HWND dialog) {
             Snap(dialog, L"13-save-options", L"File > Save Options: the library's property sheet with its JPG and PNG pages.");
             PostMessageW(dialog, WM_COMMAND, IDOK, 0);
         }));
    Then("sheet closed", Idle());

    // E-mail two pictures through the stand-in mail client, which records what it was handed.
    const WString record = JoinPath(m_out.c_str(), L"mail-record.txt");
    Then("select two pictures", [=, &v] {
        WCHAR folder[MAX_PATH];
        if (!GetEnvironmentVariableW(L"LORVEX_MAIL_STANDIN_DIR", folder, MAX_PATH)) {
            m_failures.push_back(L"no stand-in mail client named (LORVEX_MAIL_STANDIN_DIR)");
            return true;
        }
        SetDllDirectoryW(folder);
        SetEnvironmentVariableW(L"LORVEX_MAIL_RECORD", record.c_str());
        ListView_SetItemState(v.List(), -1, 0, LVIS_SELECTED);
        ListView_SetItemState(v.List(), 0, LVIS_SELECTED, LVIS_SELECTED);
        ListView_SetItemState(v.List(), 1, LVIS_SELECTED, LVIS_SELECTED);
        return PostMessageW(v.Hwnd(), WM_COMMAND, ID_MAIL, 0), true;
    });
    Then("the e-mail dialog", OnDialog(L"E-mail pictures", [=](HWND dialog) {
             Check(ListView_GetItemCount(GetDlgItem(dialog, 1136)) == 2, "the e-mail dialog lists the two pictures");
             Snap(dialog, L"14-mail", L"File > E-mail Selected Pictures: the two selected pictures listed, ready to send.");
             Click(dialog, IDOK);
         }));
    Then("mail handed over", [=, &v] {
        std::string text;
        WString reason;
        if (!ReadWholeFile(record.c_str(), &text, &reason) || text.empty())
            return false;
        // One message with both pictures, each readable where it was handed over.
        size_t readable = 0;
        for (size_t at = text.find("readable=1"); at != std::string::npos; at = text.find("readable=1", at + 1))
            ++readable;
        Check(text.find("files=2") != std::string::npos && readable == 2, "the mail client was handed both pictures");
        PostMessageW(v.MailDialog(), WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    Then("mail closed", [=, &v] {
        if (v.MailDialog())
            return false;
        SetDllDirectoryW(nullptr);
        return true;
    });

    // A scan through the stand-in scanner: the page is img2.bmp.
    Then("Acquire", [=, &v] {
        WCHAR folder[MAX_PATH];
        if (!GetEnvironmentVariableW(L"LORVEX_TWAIN_STANDIN_DIR", folder, MAX_PATH)) {
            m_failures.push_back(L"no stand-in scanner named (LORVEX_TWAIN_STANDIN_DIR)");
            return true;
        }
        const WString script = JoinPath(m_out.c_str(), L"scan-script.txt");
        WriteText(script, "image done " + Utf8(JoinPath(m_samples.c_str(), L"img2.bmp").c_str()) + "\ncloserequest\n");
        SetEnvironmentVariableW(L"TWAIN_STANDIN_SCRIPT", script.c_str());
        SetDllDirectoryW(folder);
        PostMessageW(v.Hwnd(), WM_COMMAND, ID_SCAN, 0);
        return true;
    });
    Then("scanned", [=, &v] {
        if (v.Scanning() || v.Busy() || ActiveDialog())
            return false;
        SetDllDirectoryW(nullptr);
        Check(v.PictureWidth() == size->cx && v.PictureHeight() == size->cy,
              "the scanned page arrived with its size");
        Snap(v.Hwnd(), L"15-scanned", L"File > Acquire from Scanner: the stand-in scanner's page in the window.");
        return true;
    });

    // Rename the first picture, then renumber the folder.
    Then("Home", Key(VK_HOME));
    Then("Edit > Rename", Command(ID_RENAME));
    Then("the Rename dialog", OnDialog(L"Rename", [=](HWND dialog) {
             SetDlgItemTextW(dialog, IDC_NAME, (L"renamed-" + TextOf(GetDlgItem(dialog, IDC_NAME))).c_str());
             Snap(dialog, L"16-rename", L"Edit > Rename of the picture shown.");
             Click(dialog, IDOK);
         }));
    Then("renamed", [=, &v] {
        if (ActiveDialog() || v.Busy())
            return false;
        Check(FileName(v.Path().c_str()).find(L"renamed-") == 0 && GetFileAttributesW(v.Path().c_str()) != INVALID_FILE_ATTRIBUTES,
              "the picture was renamed on the disk and in the list");
        return PostMessageW(v.Hwnd(), WM_COMMAND, ID_RENUMBER, 0), true;
    });
    Then("the Renumber dialog", OnDialog(L"Renumber", [=](HWND dialog) {
             SetDlgItemTextW(dialog, IDC_BASE, L"holiday");
             Click(dialog, IDOK);
         }));
    Then("renumbered", [=, &v] {
        if (ActiveDialog() || v.Busy())
            return false;
        bool all = v.Count() > 0;
        for (int i = 0; i < v.Count(); ++i)
            all = all && v.Folder().GetString(i) && FileName(v.Folder().GetString(i)->c_str()).find(L"holiday") == 0;
        Check(all, "every picture was renumbered");
        Snap(v.Hwnd(), L"17-renumbered", L"Edit > Renumber: holiday0001 and on, in the list's order.");
        return true;
    });

    // Bad input: a truncated picture is refused with the reason.
    OpenThroughDialog(broken, nullptr, nullptr);
    ReadMessage(L"Cannot open", "a truncated picture is refused with a message", L"18-truncated",
                L"A truncated picture: a message box with the reason, the viewer goes on.");

    // Bad input: a picture another program holds open without sharing.
    auto lock = std::make_shared<HANDLE>(INVALID_HANDLE_VALUE);
    const WString locked = JoinPath(m_out.c_str(), L"broken\\locked.bmp");
    Then("lock a picture", [=] {
        CopyFileW(JoinPath(m_samples.c_str(), L"img2.bmp").c_str(), locked.c_str(), FALSE);
        *lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        return true;
    });
    OpenThroughDialog(locked, nullptr, nullptr);
    ReadMessage(L"Cannot open", "a picture locked by another program is refused", L"19-locked",
                L"A picture another program holds: refused with the system's reason.");
    Then("unlock", [=] { return CloseHandle(*lock), true; });

    Then("File > Associations", Command(ID_ASSOCIATIONS));
    ReadMessage(L".jpg", "the association table is shown", L"20-associations",
                L"File > File Associations: the library's association table.");
}

void Tour::WriteIndex()
{
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Lorvex Viewer tour</title></head>\n"
                       "<body style=\"font-family:sans-serif\">\n<h1>Lorvex Viewer tour</h1>\n";
    html += m_failures.empty() ? "<p>Every step gave its expected result.</p>\n" : "<p>Steps that failed:</p>\n<ul>\n";
    for (const WString& failure : m_failures)
        html += "<li>" + Html(failure) + "</li>\n";
    if (!m_failures.empty())
        html += "</ul>\n";
    for (const Shot& shot : m_shots)
        html += "<figure><img src=\"" + Html(shot.file) + "\"><figcaption>" + Html(shot.caption) +
                "</figcaption></figure>\n";
    html += "</body></html>\n";
    WriteText(JoinPath(m_out.c_str(), L"index.html"), html);
}

int Tour::Run()
{
    CreateDirectoryW(m_out.c_str(), nullptr);
    const WString brokenFolder = JoinPath(m_out.c_str(), L"broken");
    CreateDirectoryW(brokenFolder.c_str(), nullptr);
    std::string bmp;
    WString reason;
    if (!CopyFolderFiles(m_samples, m_pictures) ||
        !ReadWholeFile(JoinPath(m_samples.c_str(), L"img2.bmp").c_str(), &bmp, &reason)) {
        std::printf("tour: cannot copy the sample pictures from %s\n", Utf8(m_samples.c_str()).c_str());
        return std::fflush(stdout), 1;
    }
    WriteText(JoinPath(brokenFolder.c_str(), L"truncated.bmp"), bmp.substr(0, bmp.size() / 3));
    Script();
    s_active = this;
    m_stepStarted = GetTickCount();
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, Tick);
    m_viewer.Run();
    KillTimer(nullptr, timer);
    s_active = nullptr;
    if (m_next < m_steps.size())
        m_failures.push_back(L"the tour ended early");
    WriteIndex();
    for (const WString& failure : m_failures)
        std::printf("tour: FAILED: %s\n", Utf8(failure.c_str()).c_str());
    std::printf("tour: %zu pictures, %zu failures; page: %s\n", m_shots.size(), m_failures.size(),
                Utf8(JoinPath(m_out.c_str(), L"index.html").c_str()).c_str());
    std::fflush(stdout);   // Wine ends the process without the C library's flush
    return m_failures.empty() ? 0 : 1;
}

}  // namespace

int RunTour(Viewer& viewer, const WCHAR* outDir, const WCHAR* samples)
{
    Tour tour(viewer, outDir, samples);
    return tour.Run();
}

}  // namespace viewer
