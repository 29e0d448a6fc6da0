#include "posix/tilde_expansion.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

namespace wh {
namespace {

TEST(TildeExpansionTest, LeadingTildeIsAHomeFolderAsInAShell) {
  const std::map<std::string, std::string> homes = {
      {"", "/home/ann"}, {"bob", "/srv/bob"}, {"root", "/"}};
  const HomeLookup lookup = [&](const std::string& user) -> std::optional<std::string> {
    const auto found = homes.find(user);
    if (found == homes.end()) return std::nullopt;
    return found->second;
  };
  const struct {
    const char* typed;
    const char* path;
  } cases[] = {
      {"~", "/home/ann"},
      {"~/", "/home/ann/"},
      {"~/My Files/2024", "/home/ann/My Files/2024"},
      {"~bob", "/srv/bob"},
      {"~bob/src", "/srv/bob/src"},
      {"~root/etc", "/etc"},
      {"~nobody/x", "~nobody/x"},  // no such user
      {"a~/x", "a~/x"},
      {"/tmp/~", "/tmp/~"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandTilde(c.typed, lookup), c.path) << c.typed;
}

TEST(TildeExpansionTest, TheSystemsHomesAreHomeAndTheUserDatabase) {
  const passwd* me = getpwuid(getuid());
  ASSERT_NE(me, nullptr);
  const std::string myName = me->pw_name, myHome = me->pw_dir;
  const std::string home = std::getenv("HOME");
  EXPECT_EQ(ExpandTilde("~/x"), home + "/x");
  EXPECT_EQ(ExpandTilde("~" + myName + "/x"), myHome + "/x");
  EXPECT_EQ(ExpandTilde("~no-such-user-wh/x"), "~no-such-user-wh/x");
  // Without $HOME the user database answers for the running user too.
  unsetenv("HOME");
  EXPECT_EQ(ExpandTilde("~"), myHome);
  setenv("HOME", home.c_str(), 1);
}

}  // namespace
}  // namespace wh
