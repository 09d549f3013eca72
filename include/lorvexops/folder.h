// lorvexops public interface: folder.
#pragma once
#include <windows.h>
