#include "soak/soak_report.h"

#include <gtest/gtest.h>

namespace wh::soak {
namespace {

constexpr long long kMiB = 1024 * 1024;

TEST(SoakReportTest, ClearGrowthTellsLeaksFromNoise) {
  const Counter handles{"handles", Unit::Count};
  const Counter memory{"private", Unit::Bytes};
  struct Case {
    const char* what;
    Counter counter;
    std::vector<long long> values;
    int cycles;
    bool grew;
  };
  const Case cases[] = {
      {"flat", handles, {64, 64, 64}, 2000, false},
      {"up and down by a few", handles, {64, 66, 63, 65}, 3000, false},
      {"one handle per cycle, every block", handles, {64, 164, 264}, 200, true},
      {"one per twenty cycles, every block", handles, {64, 69, 74}, 200, false},
      {"a jump of more than one per two cycles", handles, {64, 64, 180}, 200, true},
      {"a few pages up in every block", memory, {8 * kMiB, 8 * kMiB + 8192, 8 * kMiB + 16384},
       2000, false},
      {"3 MB in every block", memory, {8 * kMiB, 9 * kMiB + kMiB / 2, 11 * kMiB}, 2000, true},
      {"3 MB once, then back", memory, {8 * kMiB, 11 * kMiB, 8 * kMiB}, 2000, false},
      {"9 MB at all", memory, {8 * kMiB, 8 * kMiB, 17 * kMiB}, 2000, true},
      {"one reading only", handles, {64}, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClearGrowth(c.counter, c.values, c.cycles).has_value(), c.grew) << c.what;
  }
}

TEST(SoakReportTest, PercentilesByNearestRank) {
  std::vector<double> values;
  for (int i = 100; i >= 1; --i) values.push_back(i);
  EXPECT_EQ(Percentile(values, 0.5), 50);
  EXPECT_EQ(Percentile(values, 0.95), 95);
  EXPECT_EQ(Percentile({7}, 0.95), 7);
  EXPECT_EQ(Percentile({}, 0.5), 0);
}

}  // namespace
}  // namespace wh::soak
