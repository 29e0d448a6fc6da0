// A leading "~" of a typed path, read as a POSIX shell reads it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace wh {

// The home folder of the user named `user`, or of the user running the
// program when `user` is ""; nullopt when there is no such user.
using HomeLookup = std::function<std::optional<std::string>(const std::string& user)>;

// `text` with a leading "~" or "~user" (up to the first "/") replaced by that
// user's home folder, as a shell expands it: "~/Documents" is the Documents
// folder in one's home, "~ann" is ann's home. Text that starts otherwise, or
// names a user there is none of, comes back as it is.
std::string ExpandTilde(std::string_view text, const HomeLookup& homeOf);

// The same with the system's answers: $HOME for the running user (the user
// database's entry when $HOME is unset or empty), the user database
// (getpwnam) for anyone else.
std::string ExpandTilde(std::string_view text);

}  // namespace wh
