#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace vexlo::bench {

// Prints each benchmark as one "NAME VALUE ms" line and keeps the times, so
// that ratios can be printed after the run.
class LineReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override;

    const std::map<std::string, double>& Milliseconds() const { return times_; }

private:
    std::map<std::string, double> times_;
};

}  // namespace vexlo::bench
