#pragma once

#include <memory>
#include <string>

#include "ChildProcess.h"
#include "TempDir.h"

namespace vexlo::test {

// A desktop session of the test's own: home, configuration, data and runtime
// folders in a temporary folder, and a D-Bus session bus whose services
// (dconf, xfconfd) keep their settings there.
class PrivateSession {
public:
    // `extra` joins the environment before the bus starts, so that the
    // services it starts see it too (XDG_CURRENT_DESKTOP for the portal).
    explicit PrivateSession(const Environment& extra = {});

    // The environment of a program in this session, the bus address included.
    const Environment& Env() const { return env_; }
    const TempDir& Dir() const { return dir_; }

    // Stops, by process id, every service the bus started (they may outlive
    // it: the portal's do).
    void StopServices() const;

private:
    TempDir dir_;
    Environment env_;
    std::unique_ptr<ChildProcess> bus_;
};

}  // namespace vexlo::test
