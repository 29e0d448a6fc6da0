// The name-matching pass of the item search: which display names contain the
// typed pattern, ASCII case ignored, "*" and "?" as wild cards.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "index/item_list.h"

namespace wh {

// The items found by the last search, in item-list order.
class MatchList {
 public:
  void Clear() { items_.clear(); }
  std::size_t Count() const { return items_.size(); }
  const std::vector<std::uint32_t>& Items() const { return items_; }
  std::vector<std::uint32_t>& MutableItems() { return items_; }

  // The display names, in item-list order.
  std::vector<std::string> Names(const ItemList& items) const;
  // The items in the order the item box shows their names (ascending by the
  // collation, case ignored).
  std::vector<std::uint32_t> InItemBoxOrder(const ItemList& items) const;

 private:
  std::vector<std::uint32_t> items_;
};

// Empties `matches`, then adds every item whose display name, its ASCII
// letters lower-cased, matches "*" + the lower-cased pattern + "*" by
// WildcardMatch.
void MatchItems(const ItemList& items, std::string_view pattern, MatchList& matches);

}  // namespace wh
