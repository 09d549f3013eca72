// Small window helpers of the utility library.
#include "win/guard.h"
#include <lorvexops/companions.h>

#include <shlwapi.h>

void FlushWindowsMessages(HWND window)
{
    lorvex::Guarded([&] {
        HWND dialog = window ? GetAncestor(window, GA_ROOT) : nullptr;
        // Bounded, so a window that keeps posting cannot hold the caller here.
        for (int count = 0; count < 10000; ++count) {
            MSG msg;
            if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                break;
            if (msg.message == WM_QUIT) {
                // Belongs to the caller's own loop.
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (dialog && IsWindow(dialog) && IsDialogMessageW(dialog, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    });
}

int HaveCommonControls6(DWORD* version)
{
    if (version)
        *version = 0;
    // Through the loader, so the process's active manifest decides which
    // version answers.
    HMODULE module = LoadLibraryW(L"comctl32.dll");
    if (!module)
        return 0;
    DWORD major = 0;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetVersion")));
    if (getVersion) {
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof info;
        if (SUCCEEDED(getVersion(&info)))
            major = info.dwMajorVersion;
    }
    FreeLibrary(module);
    if (version)
        *version = major;
    return major >= 6;
}
