#include "posix/xdg_autostart.h"

#include "posix/posix_file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace wh {
namespace {

bool NeedsQuotes(const std::string& path) {
  return path.empty() || path.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
}

// Creates `dir` and its missing parents.
bool MakeDirectories(const std::string& dir) {
  struct stat st;
  if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::size_t slash = dir.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirectories(dir.substr(0, slash))) {
    return false;
  }
  return mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST;
}

}  // namespace

std::string DesktopEntryExec(const std::string& path) {
  // First the Exec key's own quoting, then the string escapes of the file.
  std::string argument;
  const bool quoted = NeedsQuotes(path);
  if (quoted) argument += '"';
  for (char c : path) {
    if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) argument += '\\';
    if (c == '%') argument += '%';
    argument += c;
  }
  if (quoted) argument += '"';

  std::string stored;
  for (char c : argument) {
    switch (c) {
      case '\\':
        stored += "\\\\";
        break;
      case '\n':
        stored += "\\n";
        break;
      case '\t':
        stored += "\\t";
        break;
      case '\r':
        stored += "\\r";
        break;
      default:
        stored += c;
    }
  }
  return stored;
}

XdgAutostart::XdgAutostart() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') {
    directory_ = std::string(config) + "/autostart";
  } else {
    const char* home = std::getenv("HOME");
    directory_ = std::string(home ? home : "") + "/.config/autostart";
  }
}

std::string XdgAutostart::EntryPath(const std::string& name) const {
  return directory_ + "/" + name + ".desktop";
}

bool XdgAutostart::RunValueExists(const std::string& name) const {
  struct stat st;
  return lstat(EntryPath(name).c_str(), &st) == 0;
}

void XdgAutostart::WriteRunValue(const std::string& name, const std::string& command) {
  const std::string path = EntryPath(name);
  const std::string contents =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Wordhopper\n"
      "Comment=Launch applications and documents with a quick key word search.\n"
      "Exec=" +
      DesktopEntryExec(command) +
      "\n"
      "Terminal=false\n"
      "X-GNOME-Autostart-enabled=true\n";
  bool written = MakeDirectories(directory_);
  if (written) {
    try {
      PosixFileSystem().WriteFileReplacing(path, contents);
    } catch (const FileWriteError&) {
      written = false;
    }
  }
  if (!written) throw StartupEntryError("Failed to set data for '" + name + "'");
}

void XdgAutostart::DeleteRunValue(const std::string& name) { unlink(EntryPath(name).c_str()); }

}  // namespace wh
