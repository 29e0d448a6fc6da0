// The program's one command-line argument.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wh {

// The first argument after the program's name in a Windows command line:
// arguments are split at blanks and control characters, double quotes group
// and are removed, backslashes are plain characters. Empty when there is none.
std::string FirstArgument(std::string_view commandLine);

// "/show", "-show" or "show", exactly and with case.
bool IsShowArgument(std::string_view argument);

// What a Linux program prints and ends with when its first argument asks for
// it: the usage for "--help" (or "-h"), "wordhopper VERSION" for
// "--version"; each ends in a line break. nullopt for any other argument,
// which keeps its meaning for the program.
std::optional<std::string> StandardOptionText(std::string_view argument);

}  // namespace wh
