// Timing shared by the benchmarks: medians of repeated runs, and fresh memory
// for baselines that must pay for new pages as the library's results do.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

inline double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

// Median seconds of runs of work; setup (untimed) runs before each.
inline double Median(int runs, const std::function<void()>& work, const std::function<void()>& setup = nullptr)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        double start = Now();
        work();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Fresh memory for each baseline, as the operations get fresh sections.
struct Fresh {
    explicit Fresh(size_t size) : data(static_cast<BYTE*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
    ~Fresh() { VirtualFree(data, 0, MEM_RELEASE); }
    Fresh(const Fresh&) = delete;
    Fresh& operator=(const Fresh&) = delete;
    BYTE* data;
};

}  // namespace bench
