// lorvexops public interface: dib.
#pragma once
#include <windows.h>
