// The program's one command-line argument.
#pragma once

#include <string>
#include <string_view>

namespace wh {

// The first argument after the program's name in a Windows command line:
// arguments are split at blanks and control characters, double quotes group
// and are removed, backslashes are plain characters. Empty when there is none.
std::string FirstArgument(std::string_view commandLine);

// "/show", "-show" or "show", exactly and with case.
bool IsShowArgument(std::string_view argument);

}  // namespace wh
