#include "gnome/GVariantText.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

namespace vexlo {
namespace {

// The UTF-8 form of a code point written as \uXXXX or \UXXXXXXXX.
bool AppendCodePoint(std::string& out, const std::string& hex) {
    char* end = nullptr;
    const unsigned long code = std::strtoul(hex.c_str(), &end, 16);
    if (end != hex.c_str() + hex.size() || code > 0x10ffff) {
        return false;
    }
    const char32_t point = static_cast<char32_t>(code);
    out += QString::fromUcs4(&point, 1).toStdString();
    return true;
}

}  // namespace

std::string GVariantString(const std::string& text) {
    std::string quoted = "'";
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '\\' || ch == '\'') {
            quoted += '\\';
            quoted += ch;
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            quoted += escape;
        } else {
            quoted += ch;
        }
    }
    return quoted + "'";
}

std::optional<std::string> GVariantUnquote(const std::string& literal) {
    const std::size_t first = literal.find_first_not_of(" \t\n");
    const std::size_t last = literal.find_last_not_of(" \t\n");
    if (first == std::string::npos || last <= first) {
        return std::nullopt;
    }
    const char quote = literal[first];
    if ((quote != '\'' && quote != '"') || literal[last] != quote) {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = first + 1; i < last; ++i) {
        char ch = literal[i];
        if (ch == quote) {
            return std::nullopt;  // an unescaped quote inside: two strings
        }
        if (ch != '\\') {
            text += ch;
            continue;
        }
        if (++i >= last) {
            return std::nullopt;
        }
        ch = literal[i];
        const std::size_t digits = ch == 'u' ? 4 : ch == 'U' ? 8 : 0;
        if (digits != 0) {
            if (i + digits >= last || !AppendCodePoint(text, literal.substr(i + 1, digits))) {
                return std::nullopt;
            }
            i += digits;
            continue;
        }
        switch (ch) {
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case 'r':
                text += '\r';
                break;
            case 'b':
                text += '\b';
                break;
            case 'f':
                text += '\f';
                break;
            case 'v':
                text += '\v';
                break;
            case 'a':
                text += '\a';
                break;
            default:
                text += ch;
                break;  // \\ \' \" stand for themselves
        }
    }
    return text;
}

}  // namespace vexlo
