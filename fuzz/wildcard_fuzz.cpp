// WildcardMatch and the search's matching pass against the rules written out
// as plain recursion, on short texts and patterns.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/text.h"
#include "index/item_index.h"
#include "index/search.h"
#include "index/wildcard.h"
#include "index/wildcard_reference.h"
#include "posix/posix_locale.h"

namespace {

// Says which property broke, then stops the run as a crash.
[[noreturn]] void Fail(int line) {
  std::fprintf(stderr, "property at line %d broken\n", line);
  std::abort();
}

using Chars = std::vector<std::string_view>;

Chars CharsOf(std::string_view text) {
  Chars chars;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = wh::CharLength(text, i);
    chars.push_back(text.substr(i, n));
    i += n;
  }
  return chars;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const wh::PosixCollation collation("C.UTF-8");
  FuzzedDataProvider input(data, size);
  const std::string pattern = input.ConsumeRandomLengthString(12);
  std::vector<std::string> names;
  while (input.remaining_bytes() > 0 && names.size() < 8) {
    names.push_back(input.ConsumeRandomLengthString(16));
  }

  wh::ItemIndex index(collation, "/");
  for (const std::string& name : names) {
    // The reference walks every split of the text: keep it short.
    if (name.size() <= 12 && pattern.size() <= 12) {
      const bool expected = wh::testing::ReferenceMatch(CharsOf(name), CharsOf(pattern));
      if (wh::WildcardMatch(name, pattern) != expected) Fail(__LINE__);
    }
    if (name.find('/') == std::string::npos) wh::AddItem(index, "/m/" + name + ".x");
  }

  wh::MatchItems(index.ItemList, pattern, index.MatchList);
  std::vector<std::uint32_t> expected;
  const std::string wrapped = "*" + wh::AsciiLower(pattern) + "*";
  for (std::uint32_t i = 0; i < index.ItemList.Count(); ++i) {
    if (wh::WildcardMatch(wh::AsciiLower(index.ItemList.Name(i)), wrapped)) expected.push_back(i);
  }
  if (index.MatchList.Items() != expected) Fail(__LINE__);
  if (index.MatchList.InItemBoxOrder(index.ItemList).size() != expected.size()) Fail(__LINE__);
  return 0;
}
