// Runs a script inside a modal dialog or property sheet: a CBT hook notes the
// first dialog window activated, and a thread timer (dispatched by the
// dialog's own message loop) runs the script on it. If the script leaves the
// dialog open, a second timer cancels it so the test cannot hang.
#pragma once
#include <windows.h>
#include <functional>

class ModalDriver {
public:
    using Script = std::function<void(HWND dialog)>;
    explicit ModalDriver(Script script);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    bool ScriptRan() const { return m_ran; }
    bool TimedOut() const { return m_timedOut; }
    HWND Dialog() const { return m_dialog; }

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnScriptTimer(HWND, UINT, UINT_PTR id, DWORD);
    static void CALLBACK OnWatchdog(HWND, UINT, UINT_PTR id, DWORD);

    Script m_script;
    HHOOK m_hook = nullptr;
    HWND m_dialog = nullptr;
    UINT_PTR m_scriptTimer = 0;
    UINT_PTR m_watchdog = 0;
    bool m_ran = false;
    bool m_timedOut = false;
};

// Input as the user gives it, sent to the control itself.
void TypeInto(HWND edit, const WCHAR* text);     // replaces the whole text
void PressKey(HWND control, UINT virtualKey);    // key down and up
void Click(HWND button);                          // BM_CLICK: press and release

// Saves what window shows as <build>/screenshots/name (a PNG); true on success.
bool SaveScreenshotAs(HWND window, const WCHAR* name);
