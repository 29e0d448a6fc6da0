// The index the main window searches: the keyword vocabulary, the items and
// the last search's matches, and the operations that fill and trim them.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "index/item_list.h"
#include "index/keyword_list.h"
#include "index/search.h"

namespace wh {

struct ItemIndex {
  ItemIndex(const Collation& collation, std::string pathDelimiters)
      : KeywordList(collation), ItemList(collation, std::move(pathDelimiters)) {}

  wh::KeywordList KeywordList;
  wh::ItemList ItemList;
  wh::MatchList MatchList;
};

// Adds the keywords of one display name: its words of two or more
// characters that are no number, ASCII letters lower-cased.
void ExtractKeywords(KeywordList& keywords, std::string_view displayName);
// The same, leaving out the words `known` holds.
void ExtractNewKeywords(KeywordList& keywords, const KeywordList& known,
                        std::string_view displayName);

// Makes one found file an item and adds its name's keywords.
void AddItem(ItemIndex& index, std::string_view fullPath);
// The same for a file that names itself (a launcher entry).
void AddNamedItem(ItemIndex& index, std::string_view fullPath, std::string_view displayName);
// The same for a file its folder names: keywords come from the shown name and
// from the file name, so that either finds it.
void AddLocalizedItem(ItemIndex& index, std::string_view fullPath, std::string_view displayName);

// AddItem for each path, first to last, in one go. `positions`, if given,
// receives each path's item position.
void AddItems(ItemIndex& index, std::span<const std::string_view> fullPaths,
              std::vector<std::uint32_t>* positions = nullptr);

// Deletes every word of `ignoreText` from the keywords. Items stay.
void RemoveIgnoredWords(KeywordList& keywords, std::string_view ignoreText);

// The full path of the item named `displayName` (case ignored), or "".
std::string ItemPath(const ItemIndex& index, std::string_view displayName);

}  // namespace wh
