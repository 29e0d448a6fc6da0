#include "index/search.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "index/text.h"
#include "index/wildcard.h"

namespace wh {

std::vector<std::string> MatchList::Names(const ItemList& items) const {
  std::vector<std::string> names;
  names.reserve(items_.size());
  for (std::uint32_t i : items_) names.emplace_back(items.Name(i));
  return names;
}

std::vector<std::string> MatchList::NamesInItemBoxOrder(const ItemList& items) const {
  std::vector<std::string> names;
  names.reserve(items_.size());
  const auto& rank = items.ItemBoxRank();
  // Few matches: sort them by rank. Many: one pass over the whole order is
  // cheaper than sorting.
  if (items_.size() * 16 < items.Count()) {
    std::vector<std::uint32_t> ranks;
    ranks.reserve(items_.size());
    for (std::uint32_t i : items_) ranks.push_back(rank[i]);
    std::sort(ranks.begin(), ranks.end());
    const auto& order = items.ItemBoxOrder();
    for (std::uint32_t r : ranks) names.emplace_back(items.Name(order[r]));
  } else {
    std::vector<bool> matched(items.Count());
    for (std::uint32_t i : items_) matched[i] = true;
    for (std::uint32_t i : items.ItemBoxOrder()) {
      if (matched[i]) names.emplace_back(items.Name(i));
    }
  }
  return names;
}

namespace {

// The longest run of plain characters in a pattern: every match contains it,
// so the names can be screened for it in one pass over all of them.
std::string_view LongestLiteral(std::string_view pattern) {
  std::string_view best;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= pattern.size(); ++i) {
    if (i == pattern.size() || pattern[i] == '*' || pattern[i] == '?') {
      if (i - start > best.size()) best = pattern.substr(start, i - start);
      start = i + 1;
    }
  }
  return best;
}

}  // namespace

void MatchItems(const ItemList& items, std::string_view pattern, MatchList& matches) {
  std::vector<std::uint32_t>& out = matches.MutableItems();
  out.clear();
  const std::string& names = items.LowerNames();
  const std::vector<std::uint32_t>& starts = items.LowerNameStarts();
  const std::uint32_t count = static_cast<std::uint32_t>(items.Count());
  const std::string glob = NormalizeWildcardPattern("*" + AsciiLower(pattern) + "*");
  const std::string_view literal = LongestLiteral(glob);
  const bool plain = glob.size() == literal.size() + 2;  // "*literal*"

  auto nameAt = [&](std::uint32_t i) {
    const std::uint32_t end = (i + 1 < count ? starts[i + 1] : names.size()) - 1;
    return std::string_view(names).substr(starts[i], end - starts[i]);
  };

  if (literal.empty() || literal.find('\0') != std::string_view::npos) {
    for (std::uint32_t i = 0; i < count; ++i) {
      if (GlobMatch(nameAt(i), glob)) out.push_back(i);
    }
    return;
  }
  // Screen all names at once; zero bytes between names keep a hit inside one.
  const std::boyer_moore_horspool_searcher searcher(literal.begin(), literal.end());
  auto from = names.begin();
  std::uint32_t item = 0;
  while (true) {
    auto hit = std::search(from, names.end(), searcher);
    if (hit == names.end()) break;
    const auto offset = static_cast<std::uint32_t>(hit - names.begin());
    item = static_cast<std::uint32_t>(
        std::upper_bound(starts.begin() + item, starts.end(), offset) - starts.begin() - 1);
    if (plain || GlobMatch(nameAt(item), glob)) out.push_back(item);
    if (item + 1 >= count) break;
    from = names.begin() + starts[item + 1];
    ++item;
  }
}

}  // namespace wh
