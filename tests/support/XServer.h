#pragma once

#include <memory>
#include <string>

#include "ChildProcess.h"
#include "TempDir.h"

namespace vexlo::test {

// A private Xvfb of the given size on a display number it picks itself
// (-displayfd), so that tests may run side by side. Kept after its last client
// leaves (-noreset), so that a background a finished process left behind can
// still be seen. Throws std::runtime_error when the server does not come up.
class XServer {
public:
    explicit XServer(int width = 800, int height = 600, int depth = 24);

    const std::string& Display() const { return display_; }
    // The environment a client of this server needs.
    Environment Env() const;

private:
    TempDir dir_;
    std::unique_ptr<ChildProcess> process_;
    std::string display_;
};

}  // namespace vexlo::test
