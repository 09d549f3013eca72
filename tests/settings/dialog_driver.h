// Shared by the settings tests: input sent as the user gives it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "modaldriver.h"

#include <functional>

// Runs script on the next modal dialog or sheet to come up.
inline void DriveNext(lvtest::ModalDriver& driver, std::function<void(HWND)> script)
{
    driver.Then([script] {
        HWND dialog = lvtest::ActiveDialog();
        if (dialog)
            script(dialog);
        return dialog != nullptr;
    }).Start();
}

// Replaces the whole text of an edit as typing does (empty: the Delete key).
inline void TypeInto(HWND edit, const WCHAR* text)
{
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    if (!*text)
        SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
    lvtest::SendTyping(edit, text);
}

inline void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
inline lvtest::WString Text(HWND window) { return lvtest::TextOf(window); }
