#pragma once

// Work run in a forked copy of the test process, for what must not touch the
// test itself: a file-size limit, an address-space limit, a watchdog for a
// step that must not hang, a measure of peak memory.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

namespace vexlo::test {

// Runs `body` in a child and returns its result (0..127); a child killed by a
// signal (the watchdog's SIGALRM, say) gives 128 + the signal's number.
inline int RunForked(const std::function<int()>& body, unsigned watchdogSeconds = 60) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(watchdogSeconds);
        int result = 127;
        try {
            result = body();
        } catch (...) {
            result = 126;
        }
        ::_exit(result);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

// While alive, no file of this process may grow beyond `bytes`: the file
// system refuses the rest as a full disk would, also for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

// A field of /proc/self/status in KiB (VmHWM, VmSize), or -1.
inline std::int64_t StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stoll(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// In a child: forgets the peak resident memory so far, runs `body`, and
// returns by how many MiB the peak grew over what was resident before it
// (capped at 125). The child's address space is also limited to 3 GiB more
// than it has, so a runaway allocation fails instead of taking the machine.
inline int PeakGrowthMiB(const std::function<void()>& body) {
    return RunForked([&] {
        const std::int64_t size = StatusKiB("VmSize");
        if (size > 0 && size < (std::int64_t{1} << 34)) {  // not under a sanitizer's huge mappings
            const rlimit limit{static_cast<rlim_t>(size + (3 << 20)) * 1024,
                               static_cast<rlim_t>(size + (3 << 20)) * 1024};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        std::ofstream("/proc/self/clear_refs") << "5";
        const std::int64_t before = StatusKiB("VmRSS");
        body();
        const std::int64_t growth = (StatusKiB("VmHWM") - before) / 1024;
        return static_cast<int>(growth < 0 ? 0 : growth > 125 ? 125 : growth);
    });
}

}  // namespace vexlo::test
