#include "soak/soak_plan.h"

#include <gtest/gtest.h>

namespace wh::soak {
namespace {

TEST(SoakPlanTest, CommandLines) {
  struct Case {
    std::vector<std::string> arguments;
    bool valid;
    int cycles;
    bool settle;
  };
  const Case cases[] = {
      {{"wh.exe", "--folder", "C:\\soak"}, true, 3000, true},
      {{"--cycles", "150", "--folder", "d", "wh", "--no-settle", "--check"}, true, 150, false},
      {{"wh.exe"}, false, 0, true},                                   // no folder
      {{"--folder", "d"}, false, 0, true},                            // no program
      {{"wh", "--folder", "d", "--cycles", "0"}, false, 0, true},     // no cycles
      {{"wh", "--folder", "d", "--cycles"}, false, 0, true},          // no number
      {{"wh", "--folder", "d", "--blocks", "9"}, false, 0, true},     // no such option
      {{"wh", "other", "--folder", "d"}, false, 0, true},             // two programs
  };
  for (const Case& c : cases) {
    Options options;
    const bool valid = ParseOptions(c.arguments, options);
    EXPECT_EQ(valid, c.valid) << ::testing::PrintToString(c.arguments);
    if (valid) {
      EXPECT_EQ(options.cycles, c.cycles);
      EXPECT_EQ(options.settle, c.settle);
    }
  }
  const std::string settings = SettingsText("/tmp/items");
  EXPECT_NE(settings.find("\r\nUserDir=/tmp/items\r\n"), std::string::npos);
}

}  // namespace
}  // namespace wh::soak
