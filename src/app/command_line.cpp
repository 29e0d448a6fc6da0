#include "app/command_line.h"

namespace wh {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Reads one argument from `pos` on, leaving `pos` after it.
std::string NextArgument(std::string_view line, std::size_t& pos) {
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  std::string argument;
  bool quoted = false;
  for (; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && IsBlank(c)) {
      break;
    } else {
      argument += c;
    }
  }
  return argument;
}

}  // namespace

std::string FirstArgument(std::string_view commandLine) {
  std::size_t pos = 0;
  NextArgument(commandLine, pos);
  return NextArgument(commandLine, pos);
}

bool IsShowArgument(std::string_view argument) {
  return argument == "/show" || argument == "-show" || argument == "show";
}

}  // namespace wh
