#include "app/info_panel.h"

#include <gtest/gtest.h>

#include <limits>

namespace wh {
namespace {

constexpr std::uint64_t kMB = 1048576;

TEST(InfoPanelTest, RoundingGoesHalfToEven) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  const struct {
    std::uint64_t numerator, denominator, expected;
  } cases[] = {
      {1, 2, 0},
      {3, 2, 2},
      {5, 2, 2},
      {7, 2, 4},
      {4, 3, 1},
      {5, 3, 2},
      {0, 7, 0},
      {9, 0, 0},
      {kMax, 1, kMax},
      {kMax, kMax, 1},
      {kMax - 1, kMax, 1},
      {kMax / 2, kMax, 0},
      {kMax, 2, kMax / 2 + 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundedQuotient(c.numerator, c.denominator), c.expected)
        << c.numerator << " / " << c.denominator;
  }
}

TEST(InfoPanelTest, FiguresAndTextsFromTheMemoryStatus) {
  const struct {
    const char* label;
    MemoryFigures memory;
    const char* pageFile;
    int gauge;
    bool low;
    const char* status;
  } cases[] = {
      {"page file figures with separators",
       {1000 * kMB, 500 * kMB, 2097152000, 524288000},
       "1,500 MB in use | 500 MB available",
       50,
       false,
       "Physical memory available for programs: 500 MB"},
      {"no page file or swap: zero figures read 0",
       {1000 * kMB, 500 * kMB, 0, 0},
       "0 MB in use | 0 MB available",
       50,
       false,
       "Physical memory available for programs: 500 MB"},
      {"a full page file",
       {1000 * kMB, 500 * kMB, 1000 * kMB, 0},
       "1,000 MB in use | 0 MB available",
       50,
       false,
       "Physical memory available for programs: 500 MB"},
      {"9.5 % free rounds to 10: not low",
       {1000, 95, 0, 0},
       "0 MB in use | 0 MB available",
       90,
       false,
       "Physical memory available for programs:  MB"},
      {"8.5 % free rounds to 8: low",
       {2000 * kMB, 170 * kMB, 0, 0},
       "0 MB in use | 0 MB available",
       92,
       true,
       "Low on physical memory, 170 MB of 2,000 MB available!"},
      {"above 4 GiB",
       {64ull * 1024 * kMB, 16ull * 1024 * kMB, 72ull * 1024 * kMB, 20ull * 1024 * kMB},
       "53,248 MB in use | 20,480 MB available",
       75,
       false,
       "Physical memory available for programs: 16,384 MB"},
      {"nothing known",
       {0, 0, 0, 0},
       "0 MB in use | 0 MB available",
       100,
       true,
       "Low on physical memory,  MB of  MB available!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const InfoPanelFigures figures = ComputeInfoPanelFigures(c.memory);
    EXPECT_EQ(PageFileText(figures, ","), c.pageFile);
    EXPECT_EQ(figures.GaugeProgress(), c.gauge);
    EXPECT_EQ(figures.LowOnMemory(), c.low);
    EXPECT_EQ(MemoryStatusText(figures, ","), c.status);
  }
}

TEST(InfoPanelTest, ProcessCountText) {
  EXPECT_EQ(ProcessCountText(std::nullopt), "n/a");
  EXPECT_EQ(ProcessCountText(0), "n/a");
  EXPECT_EQ(ProcessCountText(1), "1");
  EXPECT_EQ(ProcessCountText(4096), "4096");
}

}  // namespace
}  // namespace wh
