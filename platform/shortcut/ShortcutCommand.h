#pragma once

#include <string>

namespace vexlo {

// The command a desktop runs for the key: the executable as one shell word
// (single quotes; a quote inside as '\''), then "next". GNOME and sway both
// split a command by the shell's rules.
std::string NextCommandFor(const std::string& executable);

}  // namespace vexlo
