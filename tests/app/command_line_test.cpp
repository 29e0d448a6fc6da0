#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "base/program_version.h"

namespace wh {
namespace {

TEST(CommandLineTest, HelpAndVersionAreAnsweredOtherArgumentsKeepTheirMeaning) {
  const std::string version = "wordhopper " + std::to_string(WH_VERSION_MAJOR) + "." +
                              std::to_string(WH_VERSION_MINOR) + "." +
                              std::to_string(WH_VERSION_RELEASE) + "\n";
  EXPECT_EQ(StandardOptionText("--version"), version);
  for (const char* help : {"--help", "-h"}) {
    const std::optional<std::string> text = StandardOptionText(help);
    ASSERT_TRUE(text.has_value()) << help;
    EXPECT_TRUE(text->starts_with("Usage: wordhopper [show]\n")) << *text;
    EXPECT_TRUE(text->ends_with("\n"));
  }
  for (const char* other : {"", "show", "/show", "--HELP", "-help", "--versions", "-v"}) {
    EXPECT_EQ(StandardOptionText(other), std::nullopt) << other;
  }
}

}  // namespace
}  // namespace wh
