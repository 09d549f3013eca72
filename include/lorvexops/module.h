// The library module itself.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif
// The module instance of lorvexops.dll, under which its dialog templates and
// version resource are found (the same handle LoadLibraryW returns).
HINSTANCE WINAPI LorvexGetModuleInstance(void);
#ifdef __cplusplus
}
#endif

// Every program that includes the library's headers imports this one C
// export, so that the loader loads and initialises lorvexops.dll before the
// program runs, also for hosts that use only the C++ classes (those are
// reached through the link alone and would find the library uninitialised).
#if !defined(LORVEXOPS_BUILDING) && defined(__GNUC__)
__attribute__((used)) static HINSTANCE(WINAPI* const lorvexops_import_anchor)(void) = &LorvexGetModuleInstance;
#endif
