#include "RecordingPlatform.h"

#include <algorithm>
#include <cstdio>

#include "VexloError.h"
#include "profile/ProfileName.h"
#include "registry/RegistryPath.h"

namespace vexlo {
namespace {

std::string ShortRoot(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser:
            return "HKCU";
        case RegistryRoot::LocalMachine:
            return "HKLM";
    }
    return RegistryRootName(root);
}

std::string Hex(ColourRef colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(colour));
    return text;
}

std::pair<std::uint32_t, std::string> MapKey(RegistryRoot root, const std::string& key) {
    return {static_cast<std::uint32_t>(root), FoldProfileName(NormaliseRegistryKey(key))};
}

}  // namespace

std::string PlatformCall::Describe() const {
    using enum Op;
    switch (op) {
        case GetDesktopSize:
            return "GetDesktopSize()";
        case GetScreens:
            return "GetScreens()";
        case SetDesktopWallpaper:
            return "SetDesktopWallpaper(" + path + ")";
        case SetDesktopIconColours:
            return "SetDesktopIconColours(" + Hex(text) + ", " + Hex(background) + ", " +
                   (transparent ? "transparent" : "opaque") + ")";
        case RegisterGlobalHotKey:
            return "RegisterGlobalHotKey()";
        case ReadRegistryString:
            return "ReadRegistryString(" + ShortRoot(root) + ", " + key + ", " + name + ")";
        case WriteRegistryString:
            return "WriteRegistryString(" + ShortRoot(root) + ", " + key + ", " + name + ", " +
                   value + ")";
        case DeleteRegistryValue:
            return "DeleteRegistryValue(" + ShortRoot(root) + ", " + key + ", " + name + ")";
        case DeleteRegistryKey:
            return "DeleteRegistryKey(" + ShortRoot(root) + ", " + key + ")";
    }
    return "?";
}

DesktopSize RecordingPlatform::GetDesktopSize() {
    calls_.push_back({.op = PlatformCall::Op::GetDesktopSize});
    return size_;
}

std::vector<ScreenInfo> RecordingPlatform::GetScreens() {
    calls_.push_back({.op = PlatformCall::Op::GetScreens});
    if (screens_) {
        return *screens_;
    }
    return {ScreenInfo{.width = size_.width, .height = size_.height, .primary = true}};
}

bool RecordingPlatform::SetDesktopWallpaper(const std::string& path) {
    calls_.push_back({.op = PlatformCall::Op::SetDesktopWallpaper, .path = path});
    return wallpaperResult_;
}

bool RecordingPlatform::SetScreenWallpapers(const std::string& path,
                                            const std::vector<ScreenWallpaper>& screens) {
    PlatformCall call{.op = PlatformCall::Op::SetDesktopWallpaper, .path = path};
    for (const ScreenWallpaper& s : screens) {
        RecordedScreen r{s.screen, s.picture.width, s.picture.height, s.style};
        for (std::size_t i = 0; i < call.screens.size(); ++i) {
            if (screens[i].picture.first == s.picture.first) {
                r.sharesWith = static_cast<int>(i);
                break;
            }
        }
        if (!s.picture.Empty()) {
            r.centre = s.picture.Row(s.picture.height / 2)[s.picture.width / 2];
        }
        call.screens.push_back(std::move(r));
    }
    calls_.push_back(std::move(call));
    return wallpaperResult_;
}

void RecordingPlatform::SetDesktopIconColours(ColourRef text, ColourRef background,
                                              bool transparent) {
    calls_.push_back({.op = PlatformCall::Op::SetDesktopIconColours,
                      .text = text,
                      .background = background,
                      .transparent = transparent});
}

bool RecordingPlatform::RegisterGlobalHotKey(NativeMessageSink sink) {
    calls_.push_back({.op = PlatformCall::Op::RegisterGlobalHotKey});
    if (!hotKeyAvailable_ || !sink) {
        return false;
    }
    sinks_.push_back(std::move(sink));
    return true;
}

void RecordingPlatform::StoreGlobalHotKey(bool on) {
    if (hotKeyStoreFailure_) {
        const std::string message = *hotKeyStoreFailure_;
        hotKeyStoreFailure_.reset();
        throw VexloError(message);
    }
    storedHotKey_.push_back(on);
}

bool RecordingPlatform::WatchScreens(std::function<void()> changed) {
    screenWatch_ = std::move(changed);
    return true;
}

bool RecordingPlatform::ChangeScreens() {
    if (!screenWatch_) {
        return false;
    }
    const std::function<void()> watch = screenWatch_;
    watch();
    return true;
}

bool RecordingPlatform::PressHotKey() {
    if (sinks_.empty()) {
        return false;
    }
    // A sink may register again while it runs: deliver to the ones there now.
    const std::vector<NativeMessageSink> sinks = sinks_;
    for (const NativeMessageSink& sink : sinks) {
        sink(kWmHotKey, kHotKeyId);
    }
    return true;
}

std::string RecordingPlatform::ReadRegistryString(RegistryRoot root, const std::string& key,
                                                  const std::string& name, const std::string& def) {
    calls_.push_back(
        {.op = PlatformCall::Op::ReadRegistryString, .root = root, .key = key, .name = name});
    return RegistryValue(root, key, name).value_or(def);
}

void RecordingPlatform::WriteRegistryString(RegistryRoot root, const std::string& key,
                                            const std::string& name, const std::string& value) {
    calls_.push_back({.op = PlatformCall::Op::WriteRegistryString,
                      .root = root,
                      .key = key,
                      .name = name,
                      .value = value});
    const auto [mapRoot, foldedKey] = MapKey(root, key);
    const std::string foldedName = FoldProfileName(name);
    const auto pending = std::find_if(failures_.begin(), failures_.end(), [&](const auto& f) {
        return f.root == mapRoot && f.key == foldedKey && f.name == foldedName;
    });
    if (pending != failures_.end()) {
        const RegistryFailure failure = pending->failure;
        failures_.erase(pending);
        if (failure == RegistryFailure::CreateKey) {
            throw VexloError("Failed to create key " + key);
        }
        throw VexloError("Failed to set data for '" + name + "'");
    }
    PutRegistryValue(root, key, name, value);
}

void RecordingPlatform::DeleteRegistryValue(RegistryRoot root, const std::string& key,
                                            const std::string& name) {
    calls_.push_back(
        {.op = PlatformCall::Op::DeleteRegistryValue, .root = root, .key = key, .name = name});
    const auto it = keys_.find(MapKey(root, key));
    if (it != keys_.end()) {
        it->second.values.erase(FoldProfileName(name));
    }
}

void RecordingPlatform::DeleteRegistryKey(RegistryRoot root, const std::string& key) {
    calls_.push_back({.op = PlatformCall::Op::DeleteRegistryKey, .root = root, .key = key});
    const std::string normal = NormaliseRegistryKey(key);
    if (normal.empty()) {
        return;  // never the whole root
    }
    std::erase_if(keys_, [&](const auto& entry) {
        return entry.first.first == static_cast<std::uint32_t>(root) &&
               IsRegistryKeyAtOrBelow(entry.second.key, normal);
    });
}

std::vector<PlatformCall> RecordingPlatform::CallsOf(PlatformCall::Op op) const {
    std::vector<PlatformCall> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [op](const PlatformCall& c) { return c.op == op; });
    return out;
}

std::vector<std::string> RecordingPlatform::Log() const {
    std::vector<std::string> out;
    out.reserve(calls_.size());
    for (const PlatformCall& c : calls_) {
        out.push_back(c.Describe());
    }
    return out;
}

std::vector<std::string> RecordingPlatform::Effects() const {
    std::vector<std::string> out;
    for (const PlatformCall& c : calls_) {
        if (c.op != PlatformCall::Op::GetDesktopSize && c.op != PlatformCall::Op::GetScreens &&
            c.op != PlatformCall::Op::ReadRegistryString) {
            out.push_back(c.Describe());
        }
    }
    return out;
}

std::optional<std::string> RecordingPlatform::LastWallpaper() const {
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it) {
        if (it->op == PlatformCall::Op::SetDesktopWallpaper) {
            return it->path;
        }
    }
    return std::nullopt;
}

std::optional<std::string> RecordingPlatform::RegistryValue(RegistryRoot root,
                                                            const std::string& key,
                                                            const std::string& name) const {
    const auto it = keys_.find(MapKey(root, key));
    if (it == keys_.end()) {
        return std::nullopt;
    }
    const auto value = it->second.values.find(FoldProfileName(name));
    if (value == it->second.values.end()) {
        return std::nullopt;
    }
    return value->second.value;
}

bool RecordingPlatform::RegistryKeyExists(RegistryRoot root, const std::string& key) const {
    const std::string normal = NormaliseRegistryKey(key);
    return std::any_of(keys_.begin(), keys_.end(), [&](const auto& entry) {
        return entry.first.first == static_cast<std::uint32_t>(root) &&
               !entry.second.values.empty() && IsRegistryKeyAtOrBelow(entry.second.key, normal);
    });
}

void RecordingPlatform::PutRegistryValue(RegistryRoot root, const std::string& key,
                                         const std::string& name, const std::string& value) {
    StoredKey& stored = keys_[MapKey(root, key)];
    if (stored.key.empty()) {
        stored.key = NormaliseRegistryKey(key);
    }
    auto [it, inserted] =
        stored.values.try_emplace(FoldProfileName(name), StoredValue{name, value});
    if (!inserted) {
        it->second.value = value;
    }
}

void RecordingPlatform::FailNextRegistryWrite(RegistryRoot root, const std::string& key,
                                              const std::string& name, RegistryFailure failure) {
    const auto [mapRoot, foldedKey] = MapKey(root, key);
    failures_.push_back({mapRoot, foldedKey, FoldProfileName(name), failure});
}

std::vector<std::string> RecordingPlatform::RegistryDump() const {
    std::vector<std::string> lines;
    for (const auto& [id, stored] : keys_) {
        for (const auto& [folded, v] : stored.values) {
            lines.push_back(ShortRoot(static_cast<RegistryRoot>(id.first)) + "\\" + stored.key +
                            ": " + (v.name.empty() ? "@" : v.name) + "=" + v.value);
        }
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace vexlo
