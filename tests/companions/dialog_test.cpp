// CDialog driven as a real dialog under the X server: clicks, keys, closing,
// notifications, painting, and exceptions that must not escape.
#include <lorvexops/lorvexops.h>
#include "testsupport.h"
#include "test_ids.h"

#include <commctrl.h>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct HandlerFault {};

// Notes handler calls (ordered in events, unordered in seen), answers from a
// script, throws from the handler named in throwIn.
class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_TEST_DIALOG) { m_hInstance = GetModuleHandleW(nullptr); }   // the test's template

    std::string events;
    std::set<std::string> seen;
    int refuseOk = 0;                              // OnOK's first answers are 0
    int cancelResult = 1;
    int vetoItemChanges = 0;
    std::string throwIn;
    // Posted once the dialog is up: a button id, or -message (WM_KEYDOWN: Escape).
    std::vector<int> script;

    int OnInitDialog() override
    {
        Event("init");
        HWND list = GetDlgItem(m_hWnd, IDC_TEST_LIST);
        LVCOLUMNW column = {LVCF_TEXT | LVCF_WIDTH, 0, 120, const_cast<WCHAR*>(L"Name")};
        SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        LVITEMW item = {LVIF_TEXT};
        item.pszText = const_cast<WCHAR*>(L"фото.jpg");
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int step : script)
            if (step > 0)
                PostMessageW(GetDlgItem(m_hWnd, step), BM_CLICK, 0, 0);
            else
                PostMessageW(m_hWnd, static_cast<UINT>(-step), -step == WM_KEYDOWN ? VK_ESCAPE : 0, 0);
        MaybeThrow("init");
        return CDialog::OnInitDialog();
    }
    void OnDestroy() override { Event("destroy"); }
    int OnPaint(HDC hdc) override
    {
        seen.insert(hdc ? "paint" : "paint without dc");
        return MaybeThrow("paint"), 1;
    }
    int OnCommand(int id, int code) override
    {
        if (id == IDOK || id == IDCANCEL || id == IDC_TEST_APPLY)
            Event("command " + std::to_string(id) + " " + std::to_string(code));
        MaybeThrow("command");
        return CDialog::OnCommand(id, code);
    }
    int OnOK() override { return Event("ok"), refuseOk-- > 0 ? 0 : 1; }
    int OnCancel() override { return Event("cancel"), cancelResult; }
    int OnDlgButtonMessage(int id) override
    {
        Event("button " + std::to_string(id));
        return MaybeThrow("button"), 1;
    }
    int OnNotify(int id, NMHDR* header) override
    {
        if (header->code != static_cast<UINT>(LVN_ITEMCHANGING))
            return CDialog::OnNotify(id, header);
        seen.insert("notify itemchanging " + std::to_string(id));
        return vetoItemChanges;
    }
    int OnCustomDraw(NMHDR* header, LRESULT* result) override
    {
        DWORD stage = reinterpret_cast<NMCUSTOMDRAW*>(header)->dwDrawStage;
        if (header->idFrom != IDC_TEST_LIST || (stage != CDDS_PREPAINT && stage != CDDS_ITEMPREPAINT))
            return 0;
        seen.insert(stage == CDDS_PREPAINT ? "customdraw prepaint" : "customdraw item");
        *result = CDRF_NOTIFYITEMDRAW;   // asks for the item stage: only seen if answered
        return stage == CDDS_PREPAINT;
    }
    int OnDrawItem(int id, DRAWITEMSTRUCT* item) override
    {
        seen.insert("drawitem " + std::to_string(id) + (item && item->hDC ? "" : " without dc"));
        return 1;
    }

private:
    void Event(const std::string& event) { events += (events.empty() ? "" : ", ") + event; }
    void MaybeThrow(const char* where) { if (throwIn == where) throw HandlerFault(); }
};

// Ends with 99 a dialog that a broken test would leave waiting forever.
TestDialog* g_watched = nullptr;
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_watched && IsWindow(g_watched->m_hWnd))
        EndDialog(g_watched->m_hWnd, 99);
}

INT_PTR RunModal(TestDialog& dialog, UINT timeout = 10000)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    g_watched = &dialog;
    UINT_PTR timer = SetTimer(nullptr, 0, timeout, Watchdog);
    INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    g_watched = nullptr;
    return result;
}

// A virtual member pointer holds 1 + its byte offset in the vtable.
template <typename M>
long SlotOf(M member)
{
    uintptr_t raw[2];
    memcpy(raw, &member, sizeof raw);
    return (raw[0] & 1) ? static_cast<long>((raw[0] - 1) / sizeof(void*)) : -1;
}

}  // namespace

// Hosts reach CDialog through its binary layout: data and virtual slots
// must stay where they are.
TEST(CDialogLayout, DataAndVirtualSlotsInTheirDocumentedOrder)
{
    CDialog dialog(434, nullptr);
    const char* base = reinterpret_cast<const char*>(&dialog);
    const void* fields[] = {&dialog.m_hWnd, &dialog.m_dwReserved1, &dialog.m_hWndParent,
                            &dialog.m_nTemplateId, &dialog.m_hInstance, &dialog.m_dwReserved2};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(8 * (i + 1), static_cast<size_t>(static_cast<const char*>(fields[i]) - base)) << "field " << i;
    EXPECT_EQ(LorvexGetModuleInstance(), dialog.m_hInstance);   // the library's own templates
    const long slots[] = {SlotOf(&CDialog::DoModal), SlotOf(&CDialog::DoModeless), SlotOf(&CDialog::OnInitDialog),
        SlotOf(&CDialog::OnDestroy), SlotOf(&CDialog::OnPaint), SlotOf(&CDialog::OnCommand), SlotOf(&CDialog::OnOK),
        SlotOf(&CDialog::OnCancel), SlotOf(&CDialog::OnDlgButtonMessage), SlotOf(&CDialog::OnNotify),
        SlotOf(&CDialog::OnCustomDraw), SlotOf(&CDialog::OnDrawItem)};
    for (long i = 0; i < 12; ++i)
        EXPECT_EQ(i, slots[i]) << "virtual " << i;
}

TEST(CDialogModal, RefusedOkAndCancelKeepItOpenAndCancelEndsWithTwoHoweverAsked)
{
    struct Case { int refuseOk, cancelResult; std::vector<int> script; INT_PTR result; const char* events; };
    const Case cases[] = {
        {1, 0, {IDC_TEST_APPLY, IDCANCEL, IDOK, IDOK}, IDOK,   // the refused ones must not end it
         "init, button 1001, command 1001 0, command 2 0, cancel, command 1 0, ok, command 1 0, ok, destroy"},
        {0, 1, {-WM_CLOSE}, IDCANCEL, "init, command 2 0, cancel, destroy"},
        {0, 1, {-WM_KEYDOWN}, IDCANCEL, "init, command 2 0, cancel, destroy"},   // Escape: the dialog manager's IDCANCEL
    };
    for (const Case& c : cases) {
        TestDialog dialog;
        dialog.refuseOk = c.refuseOk;
        dialog.cancelResult = c.cancelResult;
        dialog.script = c.script;
        EXPECT_EQ(c.result, RunModal(dialog)) << c.events;
        EXPECT_EQ(c.events, dialog.events);
        EXPECT_EQ(nullptr, dialog.m_hWnd);
    }
}

TEST(CDialogModal, ExceptionsInHandlersDoNotEscape)
{
    for (const char* where : {"init", "button", "command", "paint"}) {
        TestDialog dialog;
        dialog.throwIn = where;
        bool command = dialog.throwIn == "command";
        // OK reaches the base OnCommand only when OnCommand does not throw;
        // then nothing closes the dialog but the watchdog.
        dialog.script = {IDC_TEST_APPLY, IDOK};
        if (command)
            dialog.script.push_back(-WM_CLOSE);
        EXPECT_EQ(command ? 99 : IDOK, RunModal(dialog, command ? 1500 : 10000)) << where;
        EXPECT_NE(std::string::npos, dialog.events.find("button 1001")) << where;
    }
}

TEST(CDialogModal, MissingTemplateGivesMinusOneAndNull)
{
    TestDialog dialog;
    dialog.m_nTemplateId = IDD_TEST_MISSING;
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_EQ(nullptr, dialog.DoModeless());
    EXPECT_EQ("", dialog.events);
}

TEST(CDialogModeless, ClosesOnlyWhenOkAgreesOrWithItsObject)
{
    TestDialog dialog;
    dialog.refuseOk = 1;
    HWND hwnd = dialog.DoModeless();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(hwnd, dialog.m_hWnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    lvtest::PumpMessages(100);
    SendMessageW(GetDlgItem(hwnd, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindow(hwnd)) << "OnOK returned 0";
    SendMessageW(GetDlgItem(hwnd, IDOK), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd)) << "OnOK returned 1";
    EXPECT_EQ("init, command 1 0, ok, command 1 0, ok, destroy", dialog.events);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    {
        TestDialog dropped;   // the object goes first: its window goes with it
        hwnd = dropped.DoModeless();
    }
    EXPECT_FALSE(IsWindow(hwnd));
    lvtest::PumpMessages(20);     // nothing may reach the destroyed object
}

TEST(CDialogModeless, PaintingAndNotificationsReachTheirHandlers)
{
    TestDialog dialog;
    HWND hwnd = dialog.DoModeless();
    ASSERT_NE(nullptr, hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    lvtest::PumpMessages(100);
    for (const char* entry : {"paint", "drawitem 1002", "customdraw prepaint", "customdraw item"})
        EXPECT_EQ(1u, dialog.seen.count(entry)) << entry;

    // LVN_ITEMCHANGING's answer decides whether the selection may change.
    HWND list = GetDlgItem(hwnd, IDC_TEST_LIST);
    LVITEMW state = {};
    state.stateMask = state.state = LVIS_SELECTED;
    for (int veto : {1, 0}) {
        dialog.vetoItemChanges = veto;
        SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
        LRESULT selected = SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_SELECTED);
        EXPECT_EQ(veto ? 0 : static_cast<LRESULT>(LVIS_SELECTED), selected) << "veto " << veto;
    }
    EXPECT_EQ(1u, dialog.seen.count("notify itemchanging 1003"));
    EXPECT_TRUE(lvtest::SaveScreenshot(hwnd, L"companions-dialog.png"));
    DestroyWindow(hwnd);
    EXPECT_EQ("init, destroy", dialog.events);
}
