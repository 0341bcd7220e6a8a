#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "ChildProcess.h"
#include "TempDir.h"
#include "support/Pictures.h"
#include "sway/SwayWallpaper.h"

namespace vexlo {
namespace {

namespace fs = std::filesystem;

// sway will not run as root: as root the test runs it as the unprivileged
// account every system has, with folders of the test's own, and changes
// nothing else on the machine.
constexpr const char* kSwayUser = "nobody";

// The arguments of a live process of the group `group` named `name`.
std::vector<std::string> ProcessArgs(pid_t group, const std::string& name) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", ec)) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos ||
            getpgid(std::stoi(pid)) != group) {
            continue;
        }
        const std::string raw = test::ReadFile(entry.path().string() + "/cmdline");
        std::vector<std::string> args;
        for (std::size_t start = 0; start < raw.size();) {
            const std::size_t end = raw.find('\0', start);
            args.push_back(raw.substr(start, end - start));
            start = end == std::string::npos ? raw.size() : end + 1;
        }
        if (!args.empty() && fs::path(args[0]).filename() == name) {
            return args;
        }
    }
    return {};
}

class SwayTest : public testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v sway >/dev/null && command -v swaymsg >/dev/null") != 0) {
            GTEST_SKIP() << "sway is not installed (scripts/setup installs it)";
        }
        chmod(dir_.Path().c_str(), 0755);  // the sway user reads pictures below it
        const std::string runtime = dir_.Sub("runtime");
        chmod(runtime.c_str(), 0700);
        std::vector<std::string> argv = {"sway", "-c", dir_.File("config")};
        if (geteuid() == 0) {
            const passwd* user = getpwnam(kSwayUser);
            if (user == nullptr || user->pw_uid == 0) {
                GTEST_SKIP() << "no unprivileged account to run sway as";
            }
            ASSERT_EQ(chown(runtime.c_str(), user->pw_uid, user->pw_gid), 0);
            argv.insert(argv.begin(), {"setpriv", "--reuid=" + std::to_string(user->pw_uid),
                                       "--regid=" + std::to_string(user->pw_gid), "--clear-groups",
                                       "--pdeathsig", "KILL"});  // a new user clears it
        }
        test::WriteFile(dir_.File("config"), "xwayland disable\n" + config_);
        chmod(dir_.File("config").c_str(), 0644);
        const Environment env = {
            {"PATH", "/usr/bin:/bin"},        {"HOME", runtime},
            {"XDG_RUNTIME_DIR", runtime},     {"XDG_CONFIG_HOME", runtime},
            {"WLR_BACKENDS", "headless"},     {"WLR_RENDERER", "pixman"},
            {"WLR_LIBINPUT_NO_DEVICES", "1"}, {"WLR_HEADLESS_OUTPUTS", std::to_string(outputs_)}};
        sway_ = std::make_unique<test::ChildProcess>(argv, env, -1, dir_.File("sway.log"));
        for (int i = 0; i < 500 && socket_.empty(); ++i) {
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(runtime, ec)) {
                if (entry.path().filename().string().rfind("sway-ipc.", 0) == 0) {
                    socket_ = entry.path().string();
                }
            }
            ASSERT_TRUE(sway_->IsRunning()) << test::ReadFile(dir_.File("sway.log"));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_FALSE(socket_.empty())
            << "sway made no socket: " << test::ReadFile(dir_.File("sway.log"));
    }

    CommandRunner Runner() const {
        return CommandRunner({{"PATH", "/usr/bin:/bin"}, {"SWAYSOCK", socket_}});
    }

    // The background process sway runs once it shows `path` placed by `mode`.
    bool ShowsPicture(const std::string& path, const std::string& mode) {
        const std::vector<std::string> want = {"swaybg", "-o", "*", "-i", path, "-m", mode};
        for (int i = 0; i < 250; ++i) {
            if (ProcessArgs(sway_->Pid(), "swaybg") == want) {
                // Still there a moment later: it could load the picture.
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                return ProcessArgs(sway_->Pid(), "swaybg") == want;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ADD_FAILURE() << "swaybg runs as: "
                      << testing::PrintToString(ProcessArgs(sway_->Pid(), "swaybg"));
        return false;
    }

    std::string Picture(const std::string& name) {
        const std::string folder = dir_.Sub("my pictures");
        chmod(folder.c_str(), 0755);
        const std::string path = folder + "/" + name;
        test::SaveBmp(test::QuadrantPicture(16, 16), path);
        chmod(path.c_str(), 0644);
        return path;
    }

    // The sway user must reach the pictures: not below a private $TMPDIR.
    test::TempDir dir_{geteuid() == 0 ? "/tmp" : ""};
    std::unique_ptr<test::ChildProcess> sway_;
    std::string socket_;
    // What the test's sway starts with.
    int outputs_ = 1;
    std::string config_;
};

TEST_F(SwayTest, EveryOutputShowsThePicturePlacedAsChosen) {
    const std::string path = Picture("it's a \"test\"; $HOME, *1* (2) {x} & é.bmp");
    const std::pair<WallpaperPlacement, const char*> modes[] = {
        {WallpaperPlacement::Centre, "center"},
        {WallpaperPlacement::Tile, "tile"},
        {WallpaperPlacement::Stretch, "stretch"}};
    for (const auto& [placement, mode] : modes) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(SwayWallpaper(Runner()).Set({path, placement, 0}));
        EXPECT_TRUE(ShowsPicture(path, mode));
    }
}

TEST_F(SwayTest, UnusableRequestsFailAndLeaveThePictureShown) {
    const std::string path = Picture("shown.bmp");
    ASSERT_TRUE(SwayWallpaper(Runner()).Set({path, WallpaperPlacement::Tile, 0}));
    ASSERT_TRUE(ShowsPicture(path, "tile"));

    EXPECT_FALSE(
        SwayWallpaper(Runner()).Set({Picture("line\nbreak.bmp"), WallpaperPlacement::Centre, 0}));
    CommandRunner nowhere({{"PATH", "/usr/bin:/bin"}, {"SWAYSOCK", dir_.File("no-socket")}});
    EXPECT_FALSE(SwayWallpaper(nowhere).Set({path, WallpaperPlacement::Centre, 0}));
    EXPECT_TRUE(ShowsPicture(path, "tile"));
}

// Two outputs of different sizes side by side, as a desk with two monitors.
class SwayScreensTest : public SwayTest {
protected:
    void SetUp() override {
        outputs_ = 2;
        config_ =
            "output HEADLESS-1 resolution 1920x1080 position 0 0\n"
            "output HEADLESS-2 resolution 1280x1024 position 1920 0\n";
        SwayTest::SetUp();
    }
};

TEST_F(SwayScreensTest, EachOutputShowsItsOwnPicture) {
    if (IsSkipped()) {
        return;
    }
    const std::string left = Picture("left side.bmp");
    const std::string right = Picture("right.bmp");
    ScreensRequest request;
    request.screens = {
        {{"HEADLESS-1", 0, 0, 1920, 1080, true}, {}, WallpaperPlacement::Centre, left},
        {{"HEADLESS-2", 1920, 0, 1280, 1024, false}, {}, WallpaperPlacement::Stretch, right}};
    ASSERT_TRUE(SwayWallpaper(Runner()).SetScreens(request));
    // sway keeps each output's background in its configuration and runs one
    // swaybg for them all.
    const std::vector<std::string> one = {"-o", "HEADLESS-1", "-i", left, "-m", "center"};
    const std::vector<std::string> two = {"-o", "HEADLESS-2", "-i", right, "-m", "stretch"};
    bool found = false;
    std::vector<std::string> args;
    for (int i = 0; i < 250 && !found; ++i) {
        args = ProcessArgs(sway_->Pid(), "swaybg");
        found = std::search(args.begin(), args.end(), one.begin(), one.end()) != args.end() &&
                std::search(args.begin(), args.end(), two.begin(), two.end()) != args.end();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(found) << "swaybg runs as: " << testing::PrintToString(args);

    // An output without a name cannot be told apart.
    request.screens[1].screen.name = "";
    EXPECT_FALSE(SwayWallpaper(Runner()).SetScreens(request));
}

}  // namespace
}  // namespace vexlo
