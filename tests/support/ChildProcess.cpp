#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace vexlo::test {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const Environment& env, int pipeFd,
                           const std::string& logFile) {
    int fds[2] = {-1, -1};
    if (pipeFd >= 0 && pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const std::string log = logFile.empty() ? "/dev/null" : logFile;
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (pipeFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, fds[1], pipeFd);
    }
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);

    // Killed with this process too, should it die before it can clean up.
    std::vector<std::string> args = {"setpriv", "--pdeathsig", "KILL", "--"};
    args.insert(args.end(), argv.begin(), argv.end());
    std::vector<std::string> vars;
    for (const auto& [name, value] : env) {
        vars.push_back(name + "=" + value);
    }
    // A child of a sanitizer build is one too: it keeps the suite's sanitizer
    // settings (the leak suppressions above all) whatever environment it gets.
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && env.find(name) == env.end()) {
            vars.push_back(std::string(name) + "=" + value);
        }
    }
    const int rc = posix_spawnp(&pid_, args[0].c_str(), &actions, &attr, Pointers(args).data(),
                                Pointers(vars).data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (pipeFd >= 0) {
        close(fds[1]);
        readFd_ = fds[0];
    }
    if (rc != 0) {
        if (readFd_ >= 0) {
            close(readFd_);
        }
        throw std::runtime_error("cannot start " + argv[0]);
    }
}

ChildProcess::~ChildProcess() {
    Stop();
}

std::string ChildProcess::ReadLine(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (pending_.find('\n') == std::string::npos && readFd_ >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd pfd{readFd_, POLLIN, 0};
        if (left <= 0 || poll(&pfd, 1, static_cast<int>(left)) <= 0) {
            return "";
        }
        char buffer[256];
        const ssize_t n = read(readFd_, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
    const auto end = pending_.find('\n');
    if (end == std::string::npos) {
        return "";
    }
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return line;
}

bool ChildProcess::IsRunning() {
    if (reaped_) {
        return false;
    }
    const pid_t result = waitpid(pid_, &status_, WNOHANG);
    if (result == pid_ || (result == -1 && errno == ECHILD)) {
        reaped_ = true;  // ECHILD: collected by ReapOrphans already
    }
    return !reaped_;
}

int ChildProcess::Wait(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (IsRunning()) {
        if (Clock::now() > deadline) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
}

void ChildProcess::Stop() {
    if (pid_ > 0) {
        kill(-pid_, SIGTERM);  // the group: the child and whatever it started
        if (Wait(3000) == -1) {
            kill(-pid_, SIGKILL);
            Wait(3000);
        }
        kill(-pid_, SIGKILL);  // members that outlived the leader
        // Collect the group's own members only: a wait on any child would
        // take the exit status of another ChildProcess still being watched.
        for (int round = 0; round < 20; ++round) {
            int status = 0;
            pid_t reaped = 0;
            while ((reaped = waitpid(-pid_, &status, WNOHANG | __WALL)) > 0) {
            }
            if (reaped == -1) {
                break;  // no member of the group is left
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        pid_ = -1;
    }
    if (readFd_ >= 0) {
        close(readFd_);
        readFd_ = -1;
    }
}

int RunToEnd(const std::vector<std::string>& argv, const Environment& env, int timeoutMs,
             const std::string& logFile) {
    ChildProcess child(argv, env, -1, logFile);
    return child.Wait(timeoutMs);
}

void AdoptOrphans() {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
}

void ReapOrphans() {
    // Give members of a killed group a moment to end, then collect them.
    for (int round = 0; round < 20; ++round) {
        int status = 0;
        pid_t pid;
        bool any = false;
        while ((pid = waitpid(-1, &status, WNOHANG | __WALL)) > 0) {
            any = true;
        }
        if (!any && round > 0) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace vexlo::test
