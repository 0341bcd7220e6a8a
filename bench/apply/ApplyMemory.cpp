#include "ApplyMemory.h"

#include <malloc.h>

#include <fstream>
#include <string>

namespace vexlo::bench {

namespace {

long StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return 0;
}

}  // namespace

long PeakExtraBytes(const std::function<void()>& work) {
    malloc_trim(0);
    const long before = StatusKilobytes("VmRSS");
    // Writing 5 resets the high-water mark to the current resident size.
    std::ofstream("/proc/self/clear_refs") << "5";
    work();
    const long peak = StatusKilobytes("VmHWM");
    return (peak - before) * 1024;
}

}  // namespace vexlo::bench
