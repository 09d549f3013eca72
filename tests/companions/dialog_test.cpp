// CDialog driven as a real dialog under the X server: clicks, keys, closing,
// notifications, painting, and exceptions that must not escape.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"
#include "test_ids.h"

#include <commctrl.h>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

struct HandlerFault {};

// Records every handler call; scripted results for OnOK/OnCancel/OnNotify.
class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_TEST_DIALOG)
    {
        m_hInstance = GetModuleHandleW(nullptr);   // the template is in the test program
    }

    std::vector<std::string> log;
    std::deque<int> okResults;                    // empty: 1
    int cancelResult = 1;
    int vetoItemChanges = 0;
    std::string throwIn;                          // the handler that throws
    void PostClick(int id) { m_script.push_back(id); }
    void PostMessageToDialog(UINT message) { m_script.push_back(-static_cast<int>(message)); }

    int OnInitDialog() override
    {
        log.push_back("init");
        HWND list = GetDlgItem(m_hWnd, IDC_TEST_LIST);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 120;
        column.pszText = const_cast<WCHAR*>(L"Name");
        SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<WCHAR*>(L"фото.jpg");
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int step : m_script) {
            if (step > 0)
                PostMessageW(GetDlgItem(m_hWnd, step), BM_CLICK, 0, 0);
            else
                PostMessageW(m_hWnd, static_cast<UINT>(-step), 0, 0);
        }
        MaybeThrow("init");
        return CDialog::OnInitDialog();
    }
    void OnDestroy() override { log.push_back("destroy"); }
    int OnPaint(HDC hdc) override
    {
        log.push_back(hdc ? "paint" : "paint without dc");
        MaybeThrow("paint");
        return 1;
    }
    int OnCommand(int id, int code) override
    {
        if (id == IDOK || id == IDCANCEL || id == IDC_TEST_APPLY)
            log.push_back("command " + std::to_string(id) + " " + std::to_string(code));
        MaybeThrow("command");
        return CDialog::OnCommand(id, code);
    }
    int OnOK() override
    {
        log.push_back("ok");
        int result = 1;
        if (!okResults.empty()) {
            result = okResults.front();
            okResults.pop_front();
        }
        return result;
    }
    int OnCancel() override
    {
        log.push_back("cancel");
        return cancelResult;
    }
    int OnDlgButtonMessage(int id) override
    {
        log.push_back("button " + std::to_string(id));
        MaybeThrow("button");
        return 1;
    }
    int OnNotify(int id, NMHDR* header) override
    {
        if (header->code == static_cast<UINT>(LVN_ITEMCHANGING)) {
            log.push_back("notify itemchanging " + std::to_string(id));
            return vetoItemChanges;
        }
        return CDialog::OnNotify(id, header);
    }
    int OnCustomDraw(NMHDR* header, LRESULT* result) override
    {
        auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(header);
        if (header->idFrom != IDC_TEST_LIST)
            return 0;
        if (draw->dwDrawStage == CDDS_PREPAINT) {
            log.push_back("customdraw prepaint");
            *result = CDRF_NOTIFYITEMDRAW;   // asks for the item stage: only seen if answered
            return 1;
        }
        if (draw->dwDrawStage == CDDS_ITEMPREPAINT)
            log.push_back("customdraw item");
        return 0;
    }
    int OnDrawItem(int id, DRAWITEMSTRUCT* item) override
    {
        log.push_back("drawitem " + std::to_string(id) + (item && item->hDC ? "" : " without dc"));
        return 1;
    }

    bool Logged(const std::string& entry) const
    {
        for (const std::string& e : log)
            if (e == entry)
                return true;
        return false;
    }
    // The entries that start with one of the prefixes, in order.
    std::string Trace(std::initializer_list<const char*> prefixes) const
    {
        std::string trace;
        for (const std::string& e : log)
            for (const char* prefix : prefixes)
                if (e.compare(0, strlen(prefix), prefix) == 0) {
                    trace += (trace.empty() ? "" : ", ") + e;
                    break;
                }
        return trace;
    }

private:
    void MaybeThrow(const char* where)
    {
        if (throwIn == where)
            throw HandlerFault();
    }
    std::vector<int> m_script;
};

// Ends a dialog that a broken test would leave waiting for input forever.
HWND g_watched = nullptr;
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_watched && IsWindow(g_watched))
        EndDialog(g_watched, 99);
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
    }
    // Runs the dialog modally; a watchdog ends it with 99 after timeout ms.
    INT_PTR RunModal(TestDialog& dialog, UINT timeout = 10000)
    {
        g_watched = nullptr;
        UINT_PTR timer = SetTimer(nullptr, 0, timeout, Watchdog);
        HHOOK hook = SetWindowsHookExW(WH_CBT, CbtWatch, nullptr, GetCurrentThreadId());
        INT_PTR result = dialog.DoModal();
        UnhookWindowsHookEx(hook);
        KillTimer(nullptr, timer);
        g_watched = nullptr;
        return result;
    }
    static LRESULT CALLBACK CbtWatch(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && !g_watched)
            g_watched = reinterpret_cast<HWND>(wParam);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

struct MemberPointer {
    uintptr_t ptr;
    ptrdiff_t adjust;
};

template <typename M>
long SlotOf(M member)
{
    static_assert(sizeof(M) == sizeof(MemberPointer), "Itanium member pointer");
    MemberPointer raw;
    memcpy(&raw, &member, sizeof raw);
    // A virtual member is stored as 1 + its byte offset in the vtable.
    return (raw.ptr & 1) ? static_cast<long>((raw.ptr - 1) / sizeof(void*)) : -1;
}

}  // namespace

TEST(CDialogLayout, DataAndVirtualSlotsInTheirDocumentedOrder)
{
    HWND parent = reinterpret_cast<HWND>(0x1234);
    CDialog dialog(434, parent);
    const char* base = reinterpret_cast<const char*>(&dialog);
    struct Field { const char* name; const void* address; size_t offset; };
    const Field fields[] = {
        {"m_hWnd", &dialog.m_hWnd, 8},
        {"m_dwReserved1", &dialog.m_dwReserved1, 16},
        {"m_hWndParent", &dialog.m_hWndParent, 24},
        {"m_nTemplateId", &dialog.m_nTemplateId, 32},
        {"m_hInstance", &dialog.m_hInstance, 40},
        {"m_dwReserved2", &dialog.m_dwReserved2, 48},
    };
    for (const Field& f : fields)
        EXPECT_EQ(f.offset, static_cast<size_t>(static_cast<const char*>(f.address) - base)) << f.name;
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(0u, dialog.m_dwReserved1);
    EXPECT_EQ(parent, dialog.m_hWndParent);
    EXPECT_EQ(434, dialog.m_nTemplateId);
    EXPECT_EQ(LorvexGetModuleInstance(), dialog.m_hInstance);   // the library's own templates
    EXPECT_EQ(0u, dialog.m_dwReserved2);

    struct Slot { const char* name; long actual; long expected; };
    const Slot slots[] = {
        {"DoModal", SlotOf(&CDialog::DoModal), 0},
        {"DoModeless", SlotOf(&CDialog::DoModeless), 1},
        {"OnInitDialog", SlotOf(&CDialog::OnInitDialog), 2},
        {"OnDestroy", SlotOf(&CDialog::OnDestroy), 3},
        {"OnPaint", SlotOf(&CDialog::OnPaint), 4},
        {"OnCommand", SlotOf(&CDialog::OnCommand), 5},
        {"OnOK", SlotOf(&CDialog::OnOK), 6},
        {"OnCancel", SlotOf(&CDialog::OnCancel), 7},
        {"OnDlgButtonMessage", SlotOf(&CDialog::OnDlgButtonMessage), 8},
        {"OnNotify", SlotOf(&CDialog::OnNotify), 9},
        {"OnCustomDraw", SlotOf(&CDialog::OnCustomDraw), 10},
        {"OnDrawItem", SlotOf(&CDialog::OnDrawItem), 11},
    };
    for (const Slot& s : slots)
        EXPECT_EQ(s.expected, s.actual) << s.name;
}

TEST_F(DialogTest, ModalOkThatRefusesKeepsTheDialogOpenThenClosesWithIdok)
{
    TestDialog dialog;
    dialog.okResults = {0, 1};
    dialog.PostClick(IDC_TEST_APPLY);
    dialog.PostClick(IDOK);       // refused: the dialog must still take the next click
    dialog.PostClick(IDOK);
    INT_PTR result = RunModal(dialog);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("init, button 1001, command 1001 0, command 1 0, ok, command 1 0, ok, destroy",
              dialog.Trace({"init", "button", "command", "ok", "cancel", "destroy"}));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST_F(DialogTest, ModalCancelEndsWithTwoHoweverItIsAsked)
{
    struct Case { const char* label; int click; UINT message; };
    const Case cases[] = {
        {"Cancel button", IDCANCEL, 0},
        {"window closed", 0, WM_CLOSE},
    };
    for (const Case& c : cases) {
        TestDialog dialog;
        if (c.click)
            dialog.PostClick(c.click);
        else
            dialog.PostMessageToDialog(c.message);
        EXPECT_EQ(IDCANCEL, RunModal(dialog)) << c.label;
        EXPECT_EQ("cancel", dialog.Trace({"cancel", "ok"})) << c.label;
    }
}

TEST_F(DialogTest, ModalEscapeKeyCancels)
{
    // Escape is translated by the dialog manager into IDCANCEL.
    struct EscapeDialog : TestDialog {
        int OnInitDialog() override
        {
            int result = TestDialog::OnInitDialog();
            PostMessageW(m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
            return result;
        }
    } escape;
    EXPECT_EQ(IDCANCEL, RunModal(escape));
    EXPECT_TRUE(escape.Logged("cancel"));
}

TEST_F(DialogTest, CancelRefusedKeepsTheDialogOpen)
{
    TestDialog dialog;
    dialog.cancelResult = 0;
    dialog.PostClick(IDCANCEL);
    dialog.PostClick(IDOK);
    EXPECT_EQ(IDOK, RunModal(dialog));
    EXPECT_EQ("cancel, ok", dialog.Trace({"cancel", "ok"}));
}

TEST_F(DialogTest, ExceptionsInHandlersDoNotEscape)
{
    for (const char* where : {"init", "button", "command", "paint"}) {
        TestDialog dialog;
        dialog.throwIn = where;
        dialog.PostClick(IDC_TEST_APPLY);
        // OK reaches the base OnCommand only when OnCommand does not throw.
        dialog.PostClick(IDOK);
        if (dialog.throwIn == "command")
            dialog.PostMessageToDialog(WM_CLOSE);
        INT_PTR result = RunModal(dialog, dialog.throwIn == "command" ? 1500 : 10000);
        if (dialog.throwIn == "command")
            EXPECT_EQ(99, result) << where;   // nothing closes it but the watchdog
        else
            EXPECT_EQ(IDOK, result) << where;
        EXPECT_TRUE(dialog.Logged("button 1001")) << where;
    }
}

TEST_F(DialogTest, MissingTemplateGivesMinusOne)
{
    TestDialog dialog;
    dialog.m_nTemplateId = IDD_TEST_MISSING;
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_EQ(nullptr, dialog.DoModeless());
    EXPECT_TRUE(dialog.log.empty());
}

TEST_F(DialogTest, ModelessRunsWithoutALoopAndClosesOnlyWhenOkAgrees)
{
    TestDialog dialog;
    dialog.okResults = {0, 1};
    HWND hwnd = dialog.DoModeless();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(hwnd, dialog.m_hWnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    lvtest::PumpMessages(100);

    SendMessageW(GetDlgItem(hwnd, IDC_TEST_APPLY), BM_CLICK, 0, 0);
    EXPECT_EQ("init, button 1001, command 1001 0", dialog.Trace({"init", "button", "command"}));

    SendMessageW(GetDlgItem(hwnd, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindow(hwnd)) << "OnOK returned 0";
    EXPECT_FALSE(dialog.Logged("destroy"));
    SendMessageW(GetDlgItem(hwnd, IDOK), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd)) << "OnOK returned 1";
    EXPECT_TRUE(dialog.Logged("destroy"));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST_F(DialogTest, ModelessCancelDestroysTheWindow)
{
    TestDialog dialog;
    HWND hwnd = dialog.DoModeless();
    ASSERT_NE(nullptr, hwnd);
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    lvtest::PumpMessages(50);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ("cancel, destroy", dialog.Trace({"cancel", "destroy", "ok"}));
}

TEST_F(DialogTest, PaintingAndNotificationsReachTheirHandlers)
{
    TestDialog dialog;
    HWND hwnd = dialog.DoModeless();
    ASSERT_NE(nullptr, hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    lvtest::PumpMessages(100);
    EXPECT_TRUE(dialog.Logged("paint"));
    EXPECT_TRUE(dialog.Logged("drawitem 1002"));
    EXPECT_TRUE(dialog.Logged("customdraw prepaint"));
    EXPECT_TRUE(dialog.Logged("customdraw item")) << "the custom-draw answer was not passed back";

    // LVN_ITEMCHANGING's answer decides whether the selection may change.
    HWND list = GetDlgItem(hwnd, IDC_TEST_LIST);
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    dialog.vetoItemChanges = 1;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    EXPECT_TRUE(dialog.Logged("notify itemchanging 1003"));
    EXPECT_EQ(0u, SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_SELECTED)) << "veto ignored";
    dialog.vetoItemChanges = 0;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(static_cast<LRESULT>(LVIS_SELECTED), SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_SELECTED));

    lvtest::SaveScreenshot(hwnd, (lvtest::ScreenshotDir() + L"\\companions-dialog.png").c_str());
    DestroyWindow(hwnd);
    EXPECT_TRUE(dialog.Logged("destroy"));
}

TEST_F(DialogTest, DestroyingTheObjectFirstDetachesItsWindow)
{
    HWND hwnd;
    {
        TestDialog dialog;
        hwnd = dialog.DoModeless();
        ASSERT_NE(nullptr, hwnd);
    }
    EXPECT_FALSE(IsWindow(hwnd));
    lvtest::PumpMessages(20);     // nothing may reach the destroyed object
}
