#include "index/growing_array.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace wh {
namespace {

std::string TextOf(const GrowingArray<char>& a) { return std::string(a.data(), a.size()); }

// Whatever moves the storage, the text stays as appended.
TEST(GrowingArrayTest, KeepsItsTextThroughGrowingCopyingAndShrinking) {
  GrowingArray<char> a;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    const std::string piece = std::to_string(i) + "/";
    a.Append(std::span<const char>(piece.data(), piece.size()));
    expected += piece;
  }
  EXPECT_EQ(TextOf(a), expected);
  a.reserve(a.size() * 3);
  EXPECT_EQ(TextOf(a), expected);
  a.shrink_to_fit();
  EXPECT_EQ(a.capacity(), a.size());
  EXPECT_EQ(TextOf(a), expected);

  GrowingArray<char> copy(a);
  a.clear();
  a.Append(std::span<const char>("x", 1));
  EXPECT_EQ(TextOf(copy), expected);
  EXPECT_EQ(TextOf(a), "x");

  GrowingArray<char> moved(std::move(copy));
  EXPECT_EQ(TextOf(moved), expected);
  a = moved;
  EXPECT_EQ(TextOf(a), expected);
  moved.clear();
  moved.shrink_to_fit();
  EXPECT_EQ(moved.capacity(), 0u);
  EXPECT_EQ(TextOf(a), expected);
}

}  // namespace
}  // namespace wh
