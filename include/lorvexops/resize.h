// lorvexops public interface: resize.
#pragma once
#include <windows.h>
