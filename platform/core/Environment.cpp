#include "Environment.h"

#include <pwd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace vexlo {
namespace {

std::string HomeFolder(const Environment& env) {
    if (std::string home = EnvValue(env, "HOME"); !home.empty() && home[0] == '/') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::string ProgramFile() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.string();
}

}  // namespace

std::string EnvValue(const Environment& env, const std::string& name) {
    const auto it = env.find(name);
    return it == env.end() ? std::string() : it->second;
}

std::string XdgBaseFolder(const Environment& env, XdgBase base, const std::string& home) {
    const bool config = base == XdgBase::Config;
    if (std::string value = EnvValue(env, config ? "XDG_CONFIG_HOME" : "XDG_DATA_HOME");
        !value.empty() && value.front() == '/') {
        return value;
    }
    if (home.empty() || home.front() != '/') {
        return {};
    }
    return (home.back() == '/' ? home : home + "/") + (config ? ".config" : ".local/share");
}

std::string XdgBaseFolder(const Environment& env, XdgBase base) {
    return XdgBaseFolder(env, base, EnvValue(env, "HOME"));
}

Environment CurrentEnvironment() {
    Environment env;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const char* eq = std::strchr(*entry, '=');
        if (eq == nullptr) {
            continue;
        }
        env.emplace(std::string(*entry, static_cast<std::size_t>(eq - *entry)),
                    std::string(eq + 1));
    }
    return env;
}

PlatformContext ReadProcessContext() {
    PlatformContext context;
    context.env = CurrentEnvironment();
    context.homeFolder = HomeFolder(context.env);
    context.programFile = ProgramFile();
    const QCoreApplication* app = QCoreApplication::instance();
    context.eventLoop = app != nullptr;
    context.qtScreens = app != nullptr && app->inherits("QGuiApplication");
    return context;
}

}  // namespace vexlo
