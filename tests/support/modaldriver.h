// Drives modal dialogs from inside their own message loop, as a user would:
// a thread timer runs the next step each time it fires, and a step says when
// it is done. If the dialogs are still up when the time is over (steps
// unfinished, or a dialog left open) every dialog of the thread is cancelled,
// so a broken dialog fails the test instead of hanging it.
#pragma once
#include <windows.h>
#include <functional>
#include "testsupport.h"
#include <string>
#include <vector>

namespace lvtest {

class ModalDriver {
public:
    // A step returns true when it is done; false to be called again at the
    // next tick (for example while waiting for a window to appear).
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

// The enabled, visible dialog window (class #32770) of this thread that is
// not owned by another enabled dialog: the one a user would be typing into.
// Null when there is none.
HWND ActiveDialog();
// A visible dialog of this thread whose caption is caption (null if none).
HWND DialogWithCaption(const WCHAR* caption);
// The text of a window.
WString TextOf(HWND window);
// The first child (any depth) of parent whose text is text and class is
// className (null: any class).
HWND ChildWithText(HWND parent, const WCHAR* text, const WCHAR* className = nullptr);
// A button click as the button sends it to its dialog.
void PostClick(HWND dialog, int id);
// Types text into an edit control key by key (key down, character, key up),
// each key handled before the call returns.
void SendTyping(HWND edit, const WCHAR* text);
// Number of dialog windows (#32770) created by this thread since the last
// call of StartCountingDialogs.
void StartCountingDialogs();
int StopCountingDialogs();

}  // namespace lvtest
