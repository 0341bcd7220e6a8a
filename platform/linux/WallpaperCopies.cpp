#include "linux/WallpaperCopies.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <vector>

namespace vexlo {
namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = "wallpaper-";

std::string FreshName(const fs::path& source) {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    return kPrefix + std::to_string(now) + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + source.extension().string();
}

}  // namespace

WallpaperCopies::WallpaperCopies(std::string folder) : folder_(std::move(folder)) {}

std::string WallpaperCopies::DefaultFolder(const Environment& env) {
    const fs::path base = XdgBaseFolder(env, XdgBase::Data);
    if (base.empty()) {
        return "";  // nowhere sensible to keep copies
    }
    return (base / "vexlo" / "desktop").string();
}

std::string WallpaperCopies::Make(const std::string& source) const {
    std::error_code ec;
    if (folder_.empty()) {
        return "";
    }
    fs::create_directories(folder_, ec);
    if (ec || !fs::is_regular_file(source, ec)) {
        return "";
    }
    const fs::path target = fs::path(folder_) / FreshName(source);
    if (!fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec) || ec) {
        fs::remove(target, ec);
        return "";
    }
    return target.string();
}

std::string WallpaperCopies::NewPath(const std::string& extension) const {
    std::error_code ec;
    if (folder_.empty()) {
        return "";
    }
    fs::create_directories(folder_, ec);
    return ec ? "" : (fs::path(folder_) / FreshName("picture" + extension)).string();
}

void WallpaperCopies::KeepOnly(const std::string& keep) const {
    KeepOnly(std::vector<std::string>{keep});
}

void WallpaperCopies::KeepOnly(const std::vector<std::string>& keep) const {
    std::error_code ec;
    if (folder_.empty()) {
        return;
    }
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        if (path.filename().string().rfind(kPrefix, 0) == 0 &&
            std::find(keep.begin(), keep.end(), path.string()) == keep.end() &&
            it->is_regular_file(ec)) {
            stale.push_back(path);
        }
    }
    for (const fs::path& path : stale) {
        fs::remove(path, ec);
    }
}

}  // namespace vexlo
