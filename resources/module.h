// The library's own module instance, under which every dialog template of the
// library is found.
#pragma once
#include <windows.h>

namespace lorvex {
HINSTANCE ModuleInstance();
}
