// A small benchmark harness: timed repetitions, medians, printed figures.
#pragma once

#include <functional>
#include <utility>
#include <string>
#include <vector>

namespace taliveer::bench {

// Median wall time of `runs` calls of `body`, in milliseconds. `setup` runs before each call
// outside the timing.
double MedianMs(int runs, const std::function<void()>& body, const std::function<void()>& setup = {});

// Medians of two bodies measured in alternation (a, b, a, b, ...), so that drifts of the
// machine touch both alike.
std::pair<double, double> MedianMsPaired(int runs, const std::function<void()>& a, const std::function<void()>& b);

void Print(const std::string& name, double value, const std::string& unit);
void PrintRatio(const std::string& name, double measured, double floor);

struct Benchmark {
    const char* name;
    void (*run)();
};
// Every benchmark of the program, in the order they run.
const std::vector<Benchmark>& AllBenchmarks();

}  // namespace taliveer::bench
