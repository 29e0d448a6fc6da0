#include "app/command_line.h"

#include "base/program_version.h"

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

namespace wh {

std::optional<std::string> StandardOptionText(std::string_view argument) {
  if (argument == "--version") {
    return "wordhopper " + std::to_string(WH_VERSION_MAJOR) + "." +
           std::to_string(WH_VERSION_MINOR) + "." + std::to_string(WH_VERSION_RELEASE) + "\n";
  }
  if (argument == "--help" || argument == "-h") {
    return "Usage: wordhopper [show]\n"
           "       wordhopper --help | --version\n"
           "\n"
           "A keyboard launcher: type a key word, press ENTER, pick an item, press ENTER.\n"
           "It starts hidden in the system tray; its hot key (default F4) or the tray\n"
           "menu shows it. A second start brings the running one forward.\n"
           "\n"
           "  show        show the window at once\n"
           "  --help      print this help and end\n"
           "  --version   print the version and end\n"
           "\n"
           "Settings: $XDG_CONFIG_HOME/wordhopper/wordhopper.ini\n"
           "(~/.config/wordhopper/wordhopper.ini when XDG_CONFIG_HOME is not set).\n";
  }
  return std::nullopt;
}

}  // namespace wh
