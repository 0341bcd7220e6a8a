#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "EngineHost.h"

namespace vexlo::bench {

// A host that does nothing: benchmarks measure the engine, not the GUI.
class BenchHost : public EngineHost {
public:
    void BeginBusy() override {}
    void EndBusy() override {}
    void ShowMessage(const std::string&) override {}
    void StartOneShotTimer(int, std::function<void()>) override {}
};

// Prints one figure as "NAME VALUE UNIT" so runs can be compared line by line.
inline void Report(const std::string& name, double value, const std::string& unit) {
    std::printf("%s %.3f %s\n", name.c_str(), value, unit.c_str());
    std::fflush(stdout);
}

// Seconds per iteration of the fastest of `repeats` runs of `work`.
template <typename Work>
double BestSeconds(int repeats, Work&& work) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

}  // namespace vexlo::bench
