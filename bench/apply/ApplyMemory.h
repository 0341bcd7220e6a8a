#pragma once

#include <functional>

namespace vexlo::bench {

// The most memory `work` held at once beyond what the process held before,
// in bytes, from the kernel's high-water mark of resident memory.
long PeakExtraBytes(const std::function<void()>& work);

}  // namespace vexlo::bench
