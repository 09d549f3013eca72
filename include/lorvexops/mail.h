// lorvexops public interface: mail.
#pragma once
#include <windows.h>
