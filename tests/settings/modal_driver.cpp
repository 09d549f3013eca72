#include "modal_driver.h"

#include "testsupport.h"

namespace {
ModalDriver* g_active = nullptr;
}

ModalDriver::ModalDriver(Script script) : m_script(std::move(script))
{
    g_active = this;
    m_hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
}

ModalDriver::~ModalDriver()
{
    if (m_hook)
        UnhookWindowsHookEx(m_hook);
    if (m_scriptTimer)
        KillTimer(nullptr, m_scriptTimer);
    if (m_watchdog)
        KillTimer(nullptr, m_watchdog);
    g_active = nullptr;
}

LRESULT CALLBACK ModalDriver::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    ModalDriver* self = g_active;
    if (self && code == HCBT_ACTIVATE && !self->m_dialog) {
        WCHAR className[32] = {};
        GetClassNameW(reinterpret_cast<HWND>(wParam), className, ARRAYSIZE(className));
        if (lstrcmpW(className, L"#32770") == 0) {
            self->m_dialog = reinterpret_cast<HWND>(wParam);
            self->m_scriptTimer = SetTimer(nullptr, 0, 50, OnScriptTimer);
            self->m_watchdog = SetTimer(nullptr, 0, 20000, OnWatchdog);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ModalDriver::OnScriptTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    ModalDriver* self = g_active;
    if (!self || self->m_ran || id != self->m_scriptTimer)
        return;
    self->m_scriptTimer = 0;
    self->m_ran = true;
    try {
        self->m_script(self->m_dialog);
    } catch (...) {
        ADD_FAILURE() << "the dialog script threw";
    }
}

void CALLBACK ModalDriver::OnWatchdog(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    ModalDriver* self = g_active;
    if (!self || id != self->m_watchdog)
        return;
    self->m_watchdog = 0;
    if (IsWindow(self->m_dialog)) {
        self->m_timedOut = true;
        PostMessageW(self->m_dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

void TypeInto(HWND edit, const WCHAR* text)
{
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    if (!*text) {
        SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
        SendMessageW(edit, WM_KEYUP, VK_DELETE, 0);
        return;
    }
    for (const WCHAR* c = text; *c; ++c)
        SendMessageW(edit, WM_CHAR, *c, 1);
}

void PressKey(HWND control, UINT virtualKey)
{
    SendMessageW(control, WM_KEYDOWN, virtualKey, 1);
    SendMessageW(control, WM_KEYUP, virtualKey, 0xC0000001);
}

void Click(HWND button)
{
    SendMessageW(button, BM_CLICK, 0, 0);
}

bool SaveScreenshotAs(HWND window, const WCHAR* name)
{
    // Built with Win32 string calls: lvtest::ScreenshotDir's string type
    // measures wide text with the C library's 4-byte functions.
    WCHAR path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"LORVEX_BUILD_DIR", path, MAX_PATH))
        GetTempPathW(MAX_PATH, path);
    if (lstrlenW(path) + lstrlenW(name) + 16 >= MAX_PATH)
        return false;
    lstrcatW(path, L"\\screenshots");
    CreateDirectoryW(path, nullptr);
    lstrcatW(path, L"\\");
    lstrcatW(path, name);
    return lvtest::SaveScreenshot(window, path);
}
