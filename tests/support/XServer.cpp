#include "XServer.h"

#include <stdexcept>

namespace vexlo::test {

XServer::XServer(int width, int height, int depth) {
    const std::string screen =
        std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "3", "-noreset", "-nolisten", "tcp",
                                 "-screen", "0", screen},
        Environment{{"PATH", "/usr/bin:/bin"}}, 3, dir_.File("xvfb.log"));
    const std::string number = process_->ReadLine(15000);
    if (number.empty()) {
        throw std::runtime_error("Xvfb did not start: " + ReadFile(dir_.File("xvfb.log")));
    }
    display_ = ":" + number;
}

Environment XServer::Env() const {
    return {{"DISPLAY", display_}, {"PATH", "/usr/bin:/bin"}, {"HOME", dir_.Path()}};
}

}  // namespace vexlo::test
