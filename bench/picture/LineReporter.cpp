#include "LineReporter.h"

#include <cstdio>

namespace vexlo::bench {

void LineReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred) {
            std::printf("%s failed: %s\n", run.benchmark_name().c_str(), run.error_message.c_str());
            continue;
        }
        // Names are "picture_xxx/iterations:N/..." : keep the first part.
        std::string name = run.benchmark_name();
        name = name.substr(0, name.find('/'));
        const double ms = run.GetAdjustedRealTime() *
                          benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                          benchmark::GetTimeUnitMultiplier(run.time_unit);
        times_[name] = ms;
        std::printf("%s %.2f ms\n", name.c_str(), ms);
        std::fflush(stdout);
    }
}

}  // namespace vexlo::bench
