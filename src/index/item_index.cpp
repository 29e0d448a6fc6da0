#include "index/item_index.h"

#include "base/text.h"
#include "index/words.h"

namespace wh {

namespace {

template <typename Take>
void ForEachKeyword(std::string_view displayName, const Take& take) {
  WordReader reader(displayName);
  std::string_view word;
  std::string lower;
  while (reader.Next(word)) {
    if (CharCount(word) < 2 || IsNumber(word)) continue;
    lower.assign(word);
    for (char& c : lower) c = AsciiLower(c);
    take(lower);
  }
}

}  // namespace

void ExtractKeywords(KeywordList& keywords, std::string_view displayName) {
  ForEachKeyword(displayName, [&keywords](const std::string& word) { keywords.Add(word); });
}

void ExtractNewKeywords(KeywordList& keywords, const KeywordList& known,
                        std::string_view displayName) {
  ForEachKeyword(displayName, [&](const std::string& word) {
    if (!known.Contains(word)) keywords.Add(word);
  });
}

void AddItem(ItemIndex& index, std::string_view fullPath) {
  const std::uint32_t position = index.ItemList.Add(fullPath);
  ExtractKeywords(index.KeywordList, index.ItemList.Name(position));
}

void AddNamedItem(ItemIndex& index, std::string_view fullPath, std::string_view displayName) {
  const std::uint32_t position = index.ItemList.AddNamed(fullPath, displayName);
  ExtractKeywords(index.KeywordList, index.ItemList.Name(position));
}

void AddLocalizedItem(ItemIndex& index, std::string_view fullPath, std::string_view displayName) {
  const std::uint32_t position = index.ItemList.AddLocalized(fullPath, displayName);
  ExtractKeywords(index.KeywordList, displayName);
  ExtractKeywords(index.KeywordList,
                  DisplayNameOf(index.ItemList.Path(position), index.ItemList.PathDelimiters()));
}

void AddItems(ItemIndex& index, std::span<const std::string_view> fullPaths,
              std::vector<std::uint32_t>* positions) {
  if (positions) positions->clear();
  index.ItemList.AddMany(fullPaths, [&](std::string_view name, std::uint32_t position) {
    ExtractKeywords(index.KeywordList, name);
    if (positions) positions->push_back(position);
  });
}

void RemoveIgnoredWords(KeywordList& keywords, std::string_view ignoreText) {
  WordReader reader(ignoreText);
  std::string_view word;
  while (reader.Next(word)) keywords.Remove(word);
}

std::string ItemPath(const ItemIndex& index, std::string_view displayName) {
  const std::uint32_t position = index.ItemList.Find(displayName);
  return position == ItemList::kNone ? std::string() : index.ItemList.Path(position);
}

}  // namespace wh
