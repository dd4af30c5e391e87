#include "bench/harness.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace taliveer::bench {

double MedianMs(int runs, const std::function<void()>& body, const std::function<void()>& setup) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup) setup();
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        body();
        ::QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times.empty() ? 0.0 : times[times.size() / 2];
}

std::pair<double, double> MedianMsPaired(int runs, const std::function<void()>& a, const std::function<void()>& b) {
    std::vector<double> ta, tb;
    for (int i = 0; i < runs; ++i) {
        ta.push_back(MedianMs(1, a));
        tb.push_back(MedianMs(1, b));
    }
    std::sort(ta.begin(), ta.end());
    std::sort(tb.begin(), tb.end());
    return {ta[ta.size() / 2], tb[tb.size() / 2]};
}

void Print(const std::string& name, double value, const std::string& unit) {
    std::printf("%-58s %10.3f %s\n", name.c_str(), value, unit.c_str());
    std::fflush(stdout);
}

void PrintRatio(const std::string& name, double measured, double floor) {
    std::printf("%-58s %10.2f x floor\n", name.c_str(), floor > 0 ? measured / floor : 0.0);
    std::fflush(stdout);
}

}  // namespace taliveer::bench
