#include "modaldriver.h"

namespace lvtest {

namespace {

ModalDriver* gDriver = nullptr;

bool IsDialogClass(HWND window)
{
    WCHAR name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM data)
{
    if (IsWindowVisible(window) && IsDialogClass(window))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadDialogs()
{
    std::vector<HWND> list;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&list));
    return list;
}

struct ChildSearch {
    const WCHAR* text;
    const WCHAR* className;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<ChildSearch*>(data);
    WCHAR name[64] = {};
    GetClassNameW(window, name, 64);
    if ((search->className && lstrcmpiW(name, search->className) != 0) || TextOf(window) != search->text)
        return TRUE;
    search->found = window;
    return FALSE;
}

HHOOK gCountHook = nullptr;
int gDialogCount = 0;

LRESULT CALLBACK CountCreations(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && IsDialogClass(reinterpret_cast<HWND>(wParam)))
        ++gDialogCount;
    return CallNextHookEx(gCountHook, code, wParam, lParam);
}

}  // namespace

ModalDriver::ModalDriver(DWORD timeoutMs) : m_timeoutMs(timeoutMs) {}

ModalDriver::~ModalDriver()
{
    KillTimer(nullptr, m_timer);
    if (gDriver == this)
        gDriver = nullptr;
}

ModalDriver& ModalDriver::Then(Step step)
{
    m_steps.push_back(std::move(step));
    return *this;
}

void ModalDriver::Start()
{
    gDriver = this;
    m_started = GetTickCount();
    m_timer = SetTimer(nullptr, 0, 40, Tick);
}

void CALLBACK ModalDriver::Tick(HWND, UINT, UINT_PTR, DWORD) { if (gDriver) gDriver->RunStep(); }

void ModalDriver::RunStep()
{
    // A step's nested message loop (a message box) must not re-enter it. The
    // timer outlives the last step, so a dialog left open is cancelled too.
    if (m_running)
        return;
    m_running = true;
    if (!m_timedOut && GetTickCount() - m_started > m_timeoutMs) {
        m_timedOut = true;
        m_next = m_steps.size();
        for (HWND dialog : ThreadDialogs())
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else if (m_next < m_steps.size() && m_steps[m_next]()) {
        ++m_next;
    }
    m_running = false;
}

HWND ActiveDialog()
{
    std::vector<HWND> dialogs = ThreadDialogs();
    for (HWND dialog : dialogs) {
        bool ownsEnabled = !IsWindowEnabled(dialog);
        for (HWND other : dialogs)
            ownsEnabled |= other != dialog && GetWindow(other, GW_OWNER) == dialog && IsWindowEnabled(other);
        if (!ownsEnabled)
            return dialog;
    }
    return nullptr;
}

HWND DialogWithCaption(const WCHAR* caption)
{
    for (HWND dialog : ThreadDialogs())
        if (TextOf(dialog) == caption)
            return dialog;
    return nullptr;
}

WString TextOf(HWND window)
{
    WCHAR text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

HWND ChildWithText(HWND parent, const WCHAR* text, const WCHAR* className)
{
    ChildSearch search = {text, className, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PostClick(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SendTyping(HWND edit, const WCHAR* text)
{
    for (; *text; ++text) {
        SHORT scan = VkKeyScanW(*text);
        WPARAM key = scan == -1 ? 0 : LOBYTE(scan);
        SendMessageW(edit, WM_KEYDOWN, key, 1);
        SendMessageW(edit, WM_CHAR, *text, 1);
        SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
    }
}

void StartCountingDialogs()
{
    gDialogCount = 0;
    if (!gCountHook)
        gCountHook = SetWindowsHookExW(WH_CBT, CountCreations, nullptr, GetCurrentThreadId());
}

int StopCountingDialogs()
{
    if (gCountHook) {
        UnhookWindowsHookEx(gCountHook);
        gCountHook = nullptr;
    }
    return gDialogCount;
}

}  // namespace lvtest
