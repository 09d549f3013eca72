// lorvexops public interface: settings.
#pragma once
#include <windows.h>
