// lorvexops public interface: listview.
#pragma once
#include <windows.h>
