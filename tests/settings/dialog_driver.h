// Shared by the settings tests: the library's exports as a host finds them,
// input sent as the user gives it, and a driver that runs a script inside a
// modal dialog or property sheet.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "testsupport.h"

#include <functional>

// Loads the library the way a host does (a reference that only touches data
// would not make the loader load it) and looks a symbol up by name.
template <typename T = const BYTE*>
T Export(const char* name)
{
    static HMODULE module = LoadLibraryW(L"lorvexops.dll");
    return module ? reinterpret_cast<T>(GetProcAddress(module, name)) : nullptr;
}

// Runs a script on the modal dialog or property sheet the test then opens: a
// thread timer, dispatched by the dialog's own message loop, runs it once the
// dialog is the active window and shown (a modal loop may dispatch the timer
// before it shows the dialog). If the script leaves the dialog open, the same
// timer cancels it after 20 seconds so no test can hang.
class ModalDriver {
public:
    using Script = std::function<void(HWND dialog)>;
    explicit ModalDriver(Script script) : m_script(std::move(script))
    {
        Active() = this;
        m_timer = SetTimer(nullptr, 0, 50, OnTick);
    }
    ~ModalDriver()
    {
        KillTimer(nullptr, m_timer);
        Active() = nullptr;
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    bool ScriptRan() const { return m_ran; }
    bool TimedOut() const { return m_timedOut; }

private:
    static ModalDriver*& Active() { static ModalDriver* active = nullptr; return active; }
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalDriver* self = Active();
        HWND dialog = GetActiveWindow();
        WCHAR cls[32] = {};
        if (!self || !IsWindowVisible(dialog) || !GetClassNameW(dialog, cls, ARRAYSIZE(cls)) || lstrcmpW(cls, L"#32770"))
            return;
        if (!self->m_ran) {
            self->m_ran = true;   // first: the script may pump messages
            try {
                self->m_script(dialog);
            } catch (...) {
                ADD_FAILURE() << "the dialog script threw";
            }
        } else if (++self->m_ticks == 400) {
            self->m_timedOut = true;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }

    Script m_script;
    UINT_PTR m_timer = 0;
    int m_ticks = 0;
    bool m_ran = false, m_timedOut = false;
};

// Replaces the whole text of an edit as typing does (empty: the Delete key).
inline void TypeInto(HWND edit, const WCHAR* text)
{
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    if (!*text)
        SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
    for (const WCHAR* c = text; *c; ++c)
        SendMessageW(edit, WM_CHAR, *c, 1);
}

inline void PressKey(HWND control, UINT virtualKey)
{
    SendMessageW(control, WM_KEYDOWN, virtualKey, 1);
    SendMessageW(control, WM_KEYUP, virtualKey, 0xC0000001);
}

inline void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

inline lvtest::WString Text(HWND window)
{
    WCHAR text[256] = {};
    GetWindowTextW(window, text, ARRAYSIZE(text));
    return text;
}

// Saves what window shows as <build>/screenshots/name (a PNG).
inline bool SaveScreenshotAs(HWND window, const WCHAR* name)
{
    return lvtest::SaveScreenshot(window, (lvtest::ScreenshotDir() + L"\\" + name).c_str());
}
