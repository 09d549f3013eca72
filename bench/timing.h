// The clock the benchmarks share.
#pragma once
#include <windows.h>

// Seconds since an arbitrary start, from the performance counter.
inline double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}
