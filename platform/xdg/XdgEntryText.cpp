#include "xdg/XdgEntryText.h"

namespace vexlo {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The parts of a Windows-style command line: quoted parts lose their quotes.
std::vector<std::string> SplitCommandLine(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        std::string part;
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            part = std::string(text.substr(i + 1, end - i - 1));
            i = end == text.size() ? end : end + 1;
        } else {
            const std::size_t end = std::min(text.find_first_of(" \t", i), text.size());
            part = std::string(text.substr(i, end - i));
            i = end;
        }
        parts.push_back(std::move(part));
    }
    return parts;
}

}  // namespace

std::optional<ShellCommand> ParseRunValue(std::string_view value) {
    const std::string_view text = Trim(value);
    constexpr std::string_view kChange = " change";
    if (!text.empty() && text.front() != '"' && text.size() > kChange.size() &&
        text.substr(text.size() - kChange.size()) == kChange) {
        const std::string_view program = Trim(text.substr(0, text.size() - kChange.size()));
        if (program.empty()) {
            return std::nullopt;
        }
        return ShellCommand{std::string(program), {"change"}};
    }
    return ParseVerbCommand(text);
}

std::optional<ShellCommand> ParseVerbCommand(std::string_view value) {
    // Vexlo's own verbs, "\"<program> \" \"<verb>\" \"%1\"", are read from both
    // ends, so that a Linux path may even hold a double quote.
    const std::string_view text = Trim(value);
    for (std::string_view verb : {"apply", "addfolder"}) {
        const std::string suffix = "\" \"" + std::string(verb) + "\" \"%1\"";
        if (text.size() > suffix.size() && text.front() == '"' &&
            text.substr(text.size() - suffix.size()) == suffix) {
            const std::string_view program = Trim(text.substr(1, text.size() - 1 - suffix.size()));
            if (program.empty()) {
                return std::nullopt;
            }
            return ShellCommand{std::string(program), {std::string(verb), "%1"}};
        }
    }
    std::vector<std::string> parts = SplitCommandLine(text);
    if (parts.empty() || Trim(parts.front()).empty()) {
        return std::nullopt;
    }
    ShellCommand command{std::string(Trim(parts.front())), {}};
    command.arguments.assign(parts.begin() + 1, parts.end());
    return command;
}

std::string DesktopExecArgument(std::string_view argument) {
    // Plain paths stand bare: the desktop rules need quotes only around the
    // reserved characters, and simple launchers (xdg-open's own, for one)
    // take the first word of Exec as the program, quotes and all.
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`%=";
    if (!argument.empty() && argument.find_first_of(kReserved) == std::string_view::npos) {
        return std::string(argument);
    }
    std::string out = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            out += '\\';
        }
        out += c;
        if (c == '%') {
            out += '%';
        }
    }
    out += '"';
    return out;
}

std::string DesktopExec(const ShellCommand& command, std::string_view fieldCode) {
    std::string exec = DesktopExecArgument(command.program);
    for (const std::string& argument : command.arguments) {
        exec += ' ';
        exec += argument == "%1" ? std::string(fieldCode) : DesktopExecArgument(argument);
    }
    return exec;
}

std::string DesktopStringValue(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string ShellQuote(std::string_view argument) {
    std::string out = "'";
    for (char c : argument) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    out += '\'';
    return out;
}

bool HoldsVexloMark(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line == kVexloMarkLine) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace vexlo
