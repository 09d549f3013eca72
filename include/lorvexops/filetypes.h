// lorvexops public interface: filetypes.
#pragma once
#include <windows.h>
