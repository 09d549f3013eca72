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
