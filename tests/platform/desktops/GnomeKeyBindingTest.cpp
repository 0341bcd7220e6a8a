// Vexlo's custom key binding in GNOME's own settings: the real gsettings with
// dconf behind it, on a bus and in folders of the test's own.
#include <gtest/gtest.h>

#include <filesystem>

#include "VexloError.h"
#include "gnome/GVariantText.h"
#include "gnome/GnomeKeyBinding.h"
#include "support/PrivateSession.h"

namespace vexlo {
namespace {

constexpr const char* kOther =
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/custom0/";

class GnomeKeyBindingTest : public testing::Test {
protected:
    void SetUp() override {
        if (!Run({"list-keys", kMediaKeysSchema}).Succeeded()) {
            GTEST_SKIP() << "GNOME's media-keys schema is missing (scripts/setup installs it)";
        }
    }
    CommandResult Run(const std::vector<std::string>& args) const {
        return CommandRunner(session_.Env()).Run("gsettings", args);
    }
    std::string Get(const std::string& path, const std::string& key) const {
        const CommandResult result =
            Run({"get", std::string(kCustomBindingSchema) + ":" + path, key});
        return GVariantUnquote(result.output).value_or("<" + result.output + result.errors + ">");
    }
    std::vector<std::string> List() const {
        return ParseGVariantStringList(Run({"get", kMediaKeysSchema, "custom-keybindings"}).output)
            .value_or(std::vector<std::string>{"<unreadable>"});
    }
    // Another application's binding, as GNOME's own settings panel makes one.
    void AddOtherBinding() const {
        const std::string schema = std::string(kCustomBindingSchema) + ":" + kOther;
        ASSERT_TRUE(Run({"set", schema, "name", "'Terminal'"}).Succeeded());
        ASSERT_TRUE(Run({"set", schema, "command", "'gnome-terminal'"}).Succeeded());
        ASSERT_TRUE(Run({"set", schema, "binding", "'<Super>t'"}).Succeeded());
        ASSERT_TRUE(
            Run({"set", kMediaKeysSchema, "custom-keybindings", GVariantStringList({kOther})})
                .Succeeded());
    }
    void ExpectOtherBindingIntact() const {
        EXPECT_EQ(Get(kOther, "name"), "Terminal");
        EXPECT_EQ(Get(kOther, "command"), "gnome-terminal");
        EXPECT_EQ(Get(kOther, "binding"), "<Super>t");
    }

    test::PrivateSession session_;
};

TEST_F(GnomeKeyBindingTest, WrittenReadBackAndRemovedLeavingOtherBindingsAlone) {
    AddOtherBinding();
    // An executable whose path needs quoting; it records how it was called.
    const std::string folder = session_.Dir().Sub("my apps/it's \"here\"");
    const std::string executable = folder + "/Vexlo";
    test::WriteFile(executable, "#!/bin/sh\necho \"$#:$1\" > \"$(dirname \"$0\")/called\"\n");
    std::filesystem::permissions(executable, std::filesystem::perms::owner_all);
    GnomeKeyBinding binding(CommandRunner(session_.Env()), executable);

    binding.Store(true);
    EXPECT_EQ(List(), (std::vector<std::string>{kOther, kVexloBindingPath}));
    EXPECT_EQ(Get(kVexloBindingPath, "binding"), "<Control><Alt>c");
    EXPECT_EQ(Get(kVexloBindingPath, "name"), "Vexlo: Change Wallpaper");
    EXPECT_TRUE(binding.IsWritten());
    ExpectOtherBindingIntact();
    // GNOME splits the command by the shell's rules: so does sh.
    ASSERT_EQ(test::RunToEnd({"sh", "-c", Get(kVexloBindingPath, "command")}, session_.Env()), 0);
    EXPECT_EQ(test::ReadFile(folder + "/called"), "1:next\n");

    binding.Store(true);  // once only in the list
    EXPECT_EQ(List(), (std::vector<std::string>{kOther, kVexloBindingPath}));

    binding.Store(false);
    EXPECT_EQ(List(), std::vector<std::string>{kOther});
    EXPECT_EQ(Get(kVexloBindingPath, "command"), "");
    EXPECT_FALSE(binding.IsWritten());
    ExpectOtherBindingIntact();
    binding.Store(false);  // nothing there: nothing happens
    EXPECT_EQ(List(), std::vector<std::string>{kOther});
}

TEST_F(GnomeKeyBindingTest, StartUpMakesSureOfTheBindingAndAMovedProgramIsRewritten) {
    GnomeKeyBinding old(CommandRunner(session_.Env()), "/old/place/Vexlo");
    EXPECT_TRUE(old.Register({}));
    EXPECT_EQ(Get(kVexloBindingPath, "command"), "'/old/place/Vexlo' next");
    GnomeKeyBinding moved(CommandRunner(session_.Env()), "/new/place/Vexlo");
    EXPECT_FALSE(moved.IsWritten());
    EXPECT_TRUE(moved.Register({}));
    EXPECT_EQ(Get(kVexloBindingPath, "command"), "'/new/place/Vexlo' next");
    EXPECT_EQ(List(), std::vector<std::string>{kVexloBindingPath});
}

TEST_F(GnomeKeyBindingTest, ABindingThatCannotBeWrittenIsAClearErrorAndNothingIsLost) {
    AddOtherBinding();
    Environment noBus = session_.Env();
    noBus["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + session_.Dir().File("no-such-bus");
    GnomeKeyBinding binding(CommandRunner(noBus), "/usr/bin/Vexlo");
    try {
        binding.Store(true);
        ADD_FAILURE() << "no error";
    } catch (const VexloError& error) {
        EXPECT_NE(std::string(error.what()).find("Cannot store the Ctrl+Alt+C key binding"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(binding.Register({}));
    EXPECT_EQ(List(), std::vector<std::string>{kOther});
    ExpectOtherBindingIntact();
}

}  // namespace
}  // namespace vexlo
