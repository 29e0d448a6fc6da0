#include "index/name_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_platform.h"

namespace wh {
namespace {

using testing::FakeCollation;

// The table doubles in place many times over; after each doubling every
// name filed so far is found at its own position, under any case, and a
// name never filed is not.
TEST(NameTableTest, FindsEveryNameThroughGrowingAndClearing) {
  FakeCollation collation;
  NameTable table(collation);
  std::vector<std::string> names;
  for (int i = 0; i < 20000; ++i) names.push_back("Name " + std::to_string(i * 7919 % 100003));
  const auto textAt = [&names](std::uint32_t position) { return std::string_view(names[position]); };
  const auto find = [&](const std::string& text) {
    return table.Find(text, table.KeyOf(text), textAt);
  };
  for (std::uint32_t p = 0; p < names.size(); ++p) {
    ASSERT_EQ(find(names[p]), NameTable::kNone) << names[p];
    table.Insert(p, table.KeyOf(names[p]));
    if ((p & (p + 1)) != 0) continue;
    for (std::uint32_t q = 0; q <= p; ++q) ASSERT_EQ(find(names[q]), q) << "after " << p;
  }
  EXPECT_EQ(find("NAME " + names[1234].substr(5)), 1234u);
  EXPECT_EQ(find("Name 100004"), NameTable::kNone);

  const std::size_t filled = table.MemoryBytes();
  table.Clear(true);
  EXPECT_EQ(table.MemoryBytes(), filled);
  EXPECT_EQ(find(names[0]), NameTable::kNone);
  table.Insert(0, table.KeyOf(names[0]));
  table.Clear();
  EXPECT_EQ(table.MemoryBytes(), 0u);
  EXPECT_EQ(find(names[0]), NameTable::kNone);
}

}  // namespace
}  // namespace wh
