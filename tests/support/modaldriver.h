// Drives modal dialogs from inside their own message loop: a thread timer runs
// the next step each time it fires. When the time is over every dialog of the
// thread is cancelled, so a broken dialog fails the test instead of hanging it.
#pragma once
#include <windows.h>
#include <functional>
#include "testsupport.h"
#include <string>
#include <vector>

namespace lvtest {

class ModalDriver {
public:
    // True when done; false to be called again at the next tick.
    using Step = std::function<bool()>;

    explicit ModalDriver(DWORD timeoutMs = 15000);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    ModalDriver& Then(Step step);
    // Starts the timer; the caller then enters the modal call.
    void Start();
    bool Finished() const { return m_next >= m_steps.size(); }
    bool TimedOut() const { return m_timedOut; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunStep();

    std::vector<Step> m_steps;
    size_t m_next = 0;
    DWORD m_timeoutMs;
    DWORD m_started = 0;
    UINT_PTR m_timer = 0;
    bool m_running = false;
    bool m_timedOut = false;
};

// The visible, enabled dialog of this thread that owns no enabled dialog: the
// one a user would be typing into (null if none).
HWND ActiveDialog();
HWND DialogWithCaption(const WCHAR* caption);   // visible, of this thread
WString TextOf(HWND window);
// The first child (any depth) with this text and class (null: any class).
HWND ChildWithText(HWND parent, const WCHAR* text, const WCHAR* className = nullptr);
void PostClick(HWND dialog, int id);   // as the button sends it
// Key down, character, key up for each character, handled before returning.
void SendTyping(HWND edit, const WCHAR* text);
// Dialogs (#32770) this thread created between the two calls.
void StartCountingDialogs();
int StopCountingDialogs();

}  // namespace lvtest
