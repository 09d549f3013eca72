// Timing shared by the benchmarks: a monotonic clock in seconds, medians of
// repeated runs, and fresh memory for baselines that must pay for new pages
// as the library's results do.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

inline double Now()
{
    static const LARGE_INTEGER frequency = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median seconds of runs of work; setup (untimed) runs before each.
inline double Median(int runs, const std::function<void()>& work, const std::function<void()>& setup = nullptr)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        const double start = Now();
        work();
        times.push_back(Now() - start);
    }
    return Median(times);
}

// Fresh memory for each baseline, as the operations get fresh sections.
struct Fresh {
    explicit Fresh(size_t size)
        : data(static_cast<BYTE*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
    ~Fresh() { VirtualFree(data, 0, MEM_RELEASE); }
    Fresh(const Fresh&) = delete;
    Fresh& operator=(const Fresh&) = delete;
    BYTE* data;
};
