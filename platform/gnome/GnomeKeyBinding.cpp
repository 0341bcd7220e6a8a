#include "gnome/GnomeKeyBinding.h"

#include <algorithm>

#include "VexloError.h"
#include "gnome/GVariantText.h"
#include "shortcut/ShortcutCommand.h"

namespace vexlo {
namespace {

constexpr const char* kListKey = "custom-keybindings";
constexpr const char* kName = "Vexlo: Change Wallpaper";
constexpr const char* kBinding = "<Control><Alt>c";

std::string BindingSchema() {
    return std::string(kCustomBindingSchema) + ":" + kVexloBindingPath;
}

std::string Trimmed(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) {
        return "";
    }
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

[[noreturn]] void Fail(const std::string& why) {
    throw VexloError("Cannot store the Ctrl+Alt+C key binding in GNOME's settings: " + why);
}

[[noreturn]] void Fail(const CommandResult& result) {
    std::string why = Trimmed(result.errors);
    if (why.empty()) {
        why = result.finished ? "gsettings ended with code " + std::to_string(result.exitCode)
                              : "gsettings could not be run";
    }
    Fail(why);
}

}  // namespace

std::optional<std::vector<std::string>> ParseGVariantStringList(const std::string& text) {
    std::string rest = Trimmed(text);
    if (rest.rfind("@as", 0) == 0) {
        rest = Trimmed(rest.substr(3));
    }
    if (rest.size() < 2 || rest.front() != '[' || rest.back() != ']') {
        return std::nullopt;
    }
    std::vector<std::string> items;
    std::size_t at = 1;
    const std::size_t end = rest.size() - 1;
    auto skipBlanks = [&] {
        while (at < end && (rest[at] == ' ' || rest[at] == '\t')) {
            ++at;
        }
    };
    skipBlanks();
    while (at < end) {
        const char quote = rest[at];
        if (quote != '\'' && quote != '"') {
            return std::nullopt;
        }
        std::size_t close = at + 1;
        while (close < end && rest[close] != quote) {
            close += rest[close] == '\\' ? 2 : 1;
        }
        if (close >= end) {
            return std::nullopt;
        }
        const auto item = GVariantUnquote(rest.substr(at, close - at + 1));
        if (!item) {
            return std::nullopt;
        }
        items.push_back(*item);
        at = close + 1;
        skipBlanks();
        if (at < end) {
            if (rest[at] != ',') {
                return std::nullopt;
            }
            ++at;
            skipBlanks();
        }
    }
    return items;
}

std::string GVariantStringList(const std::vector<std::string>& items) {
    if (items.empty()) {
        return "@as []";
    }
    std::string text = "[";
    for (const std::string& item : items) {
        text += (text.size() > 1 ? ", " : "") + GVariantString(item);
    }
    return text + "]";
}

GnomeKeyBinding::GnomeKeyBinding(CommandRunner runner, std::string executable)
    : runner_(std::move(runner)), executable_(std::move(executable)) {}

bool GnomeKeyBinding::Register(NativeMessageSink) {
    try {
        if (!IsWritten()) {
            Write();
        }
        return true;
    } catch (const VexloError&) {
        return false;  // as a key held by another program: the program goes on without it
    }
}

void GnomeKeyBinding::Store(bool on) {
    if (on) {
        if (!IsWritten()) {
            Write();
        }
    } else {
        Remove();
    }
}

std::optional<std::vector<std::string>> GnomeKeyBinding::ReadList(std::string& errors) const {
    const CommandResult result = runner_.Run("gsettings", {"get", kMediaKeysSchema, kListKey});
    if (!result.Succeeded()) {
        errors = result.errors;
        return std::nullopt;
    }
    return ParseGVariantStringList(result.output);
}

std::string GnomeKeyBinding::Get(const std::string& key) const {
    const CommandResult result = runner_.Run("gsettings", {"get", BindingSchema(), key});
    return result.Succeeded() ? GVariantUnquote(Trimmed(result.output)).value_or("") : "";
}

void GnomeKeyBinding::Set(const std::string& schema, const std::string& key,
                          const std::string& value) const {
    const CommandResult result = runner_.Run("gsettings", {"set", schema, key, value});
    if (!result.Succeeded()) {
        Fail(result);
    }
}

bool GnomeKeyBinding::IsWritten() const {
    std::string errors;
    const auto list = ReadList(errors);
    if (!list || std::find(list->begin(), list->end(), kVexloBindingPath) == list->end()) {
        return false;
    }
    return Get("command") == NextCommandFor(executable_) && Get("binding") == kBinding &&
           Get("name") == kName;
}

void GnomeKeyBinding::Write() const {
    // The entry first, then the list: the daemon never sees a half-made entry.
    Set(BindingSchema(), "name", GVariantString(kName));
    Set(BindingSchema(), "command", GVariantString(NextCommandFor(executable_)));
    Set(BindingSchema(), "binding", GVariantString(kBinding));
    std::string errors;
    auto list = ReadList(errors);
    if (!list) {
        Fail(errors.empty() ? "the list of custom key bindings cannot be read" : Trimmed(errors));
    }
    if (std::find(list->begin(), list->end(), kVexloBindingPath) == list->end()) {
        list->push_back(kVexloBindingPath);
        Set(kMediaKeysSchema, kListKey, GVariantStringList(*list));
    }
    // gsettings ends well even when the settings service never got the
    // values (no bus): only reading them back tells.
    if (!IsWritten()) {
        Fail("GNOME's settings did not keep it");
    }
}

void GnomeKeyBinding::Remove() const {
    std::string errors;
    auto list = ReadList(errors);
    if (!list) {
        return;  // no such settings (no GNOME here): there is no binding to remove
    }
    const auto ours = std::find(list->begin(), list->end(), kVexloBindingPath);
    if (ours == list->end()) {
        return;
    }
    list->erase(ours);
    Set(kMediaKeysSchema, kListKey, GVariantStringList(*list));
    const auto after = ReadList(errors);
    if (!after || std::find(after->begin(), after->end(), kVexloBindingPath) != after->end()) {
        Fail("GNOME's settings did not keep it");
    }
    // The entry's own keys go last; a failure here leaves only an unlisted entry.
    for (const char* key : {"name", "command", "binding"}) {
        runner_.Run("gsettings", {"reset", BindingSchema(), key});
    }
}

}  // namespace vexlo
