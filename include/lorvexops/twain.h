// lorvexops public interface: twain.
#pragma once
#include <windows.h>
