#include "posix/tilde_expansion.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace wh {

std::string ExpandTilde(std::string_view text, const HomeLookup& homeOf) {
  if (!text.starts_with('~')) return std::string(text);
  const std::size_t slash = text.find('/');
  const std::string user(text.substr(1, slash == std::string_view::npos ? slash : slash - 1));
  std::optional<std::string> home = homeOf(user);
  if (!home) return std::string(text);
  std::string_view rest = slash == std::string_view::npos ? std::string_view() : text.substr(slash);
  // "/" as the home (root's, on some systems) must not give "//etc".
  if (home->ends_with('/') && rest.starts_with('/')) rest.remove_prefix(1);
  return *home + std::string(rest);
}

namespace {

// The user database's home folder of the user `name`, or of the user
// running the program when `name` is empty.
std::optional<std::string> DatabaseHome(const std::string& name) {
  std::vector<char> buffer(16384);
  for (;;) {
    passwd entry{};
    passwd* found = nullptr;
    const int error = name.empty()
                          ? getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)
                          : getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found);
    if (error == ERANGE && buffer.size() < (1u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (error != 0 || found == nullptr || found->pw_dir == nullptr) return std::nullopt;
    return std::string(found->pw_dir);
  }
}

}  // namespace

std::string ExpandTilde(std::string_view text) {
  return ExpandTilde(text, [](const std::string& user) -> std::optional<std::string> {
    if (user.empty()) {
      const char* home = std::getenv("HOME");
      if (home != nullptr && *home != '\0') return std::string(home);
    }
    return DatabaseHome(user);
  });
}

}  // namespace wh
