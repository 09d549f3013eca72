#include "module.h"

namespace {
HINSTANCE g_module = nullptr;
}

namespace lorvex {
HINSTANCE ModuleInstance() { return g_module; }
}

// Stores the instance on every notification (so it is right whatever the
// loader calls first) and never fails the load.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    g_module = instance;
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}

// Lets a host reach the templates and version resource of this module.
extern "C" HINSTANCE WINAPI LorvexGetModuleInstance(void) { return g_module; }
