#include "ProfileDiff.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "TinyTest.h"
#include "profile/ProfileText.h"

namespace profilediff {
namespace {

constexpr const char* kDefault = "<default>";

std::string Describe(const Op& op) {
    switch (op.kind) {
        case Op::Write:
            return "write [" + op.section + "] " + op.key + "=" + tinytest::Show(op.value);
        case Op::Delete:
            return "delete [" + op.section + "] " + op.key;
        case Op::Erase:
            return "erase [" + op.section + "]";
    }
    return "";
}

void ApplyOurs(vexlo::ProfileText& text, const Op& op) {
    switch (op.kind) {
        case Op::Write:
            text.SetString(op.section, op.key, op.value);
            break;
        case Op::Delete:
            text.DeleteKey(op.section, op.key);
            break;
        case Op::Erase:
            text.EraseSection(op.section);
            break;
    }
}

std::string Join(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : "|") + name;
    }
    return joined;
}

}  // namespace

WindowsProfile::WindowsProfile(const std::optional<std::string>& initial) {
    char folder[MAX_PATH + 1];
    GetTempPathA(MAX_PATH + 1, folder);
    path_ = std::string(folder) + testsupport::UniqueName("profile") + ".ini";
    if (initial) {
        std::ofstream(path_, std::ios::binary) << *initial;
    }
}

WindowsProfile::~WindowsProfile() {
    DeleteFileA(path_.c_str());
}

void WindowsProfile::Apply(const Op& op) {
    const char* key = op.kind == Op::Erase ? nullptr : op.key.c_str();
    const char* value = op.kind == Op::Write ? op.value.c_str() : nullptr;
    WritePrivateProfileStringA(op.section.c_str(), key, value, path_.c_str());
}

std::string WindowsProfile::Get(const std::string& section, const std::string& key,
                                const std::string& def) const {
    // One byte more than the longest value a read returns.
    char buffer[vexlo::kProfileValueLimit + 1];
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer,
                                                  sizeof(buffer), path_.c_str());
    return std::string(buffer, length);
}

std::string WindowsProfile::KeyList(const std::string& section) const {
    std::vector<char> buffer(vexlo::kProfileKeyListBytes);
    const DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path_.c_str());
    std::vector<std::string> names;
    for (DWORD at = 0; at < length && buffer[at] != '\0';) {
        names.emplace_back(buffer.data() + at);
        at += static_cast<DWORD>(names.back().size()) + 1;
    }
    return Join(names);
}

std::string WindowsProfile::Bytes() const {
    std::ifstream file(path_, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void Run(const Scenario& scenario) {
    WindowsProfile windows(scenario.initial);
    vexlo::ProfileText ours(scenario.initial.value_or(""));
    for (const Op& op : scenario.ops) {
        windows.Apply(op);
        ApplyOurs(ours, op);
        if (scenario.compareBytes && windows.Bytes() != ours.Text()) {
            tinytest::Fail(__FILE__, __LINE__,
                           "after " + Describe(op) +
                               "\n      windows: " + tinytest::Show(windows.Bytes()) +
                               "\n      ours:    " + tinytest::Show(ours.Text()));
            return;
        }
    }
    for (const Read& read : scenario.reads) {
        const std::string mine = read.key.empty()
                                     ? Join(ours.KeyNames(read.section))
                                     : ours.GetString(read.section, read.key, kDefault);
        const std::string theirs = read.key.empty() ? windows.KeyList(read.section)
                                                    : windows.Get(read.section, read.key, kDefault);
        if (mine != theirs) {
            tinytest::Fail(__FILE__, __LINE__,
                           "read [" + read.section + "] " +
                               (read.key.empty() ? "(key list)" : read.key) + "\n      windows: " +
                               tinytest::Show(theirs) + "\n      ours:    " + tinytest::Show(mine));
        }
    }
}

}  // namespace profilediff
