#include "index/keyword_list.h"

#include <algorithm>
#include <numeric>

namespace wh {

KeywordList::KeywordList(const Collation& collation) : collation_(&collation), table_(collation) {}

std::uint32_t KeywordList::Find(std::string_view word) const {
  return table_.Find(word, table_.KeyOf(word),
                     [this](std::uint32_t i) -> std::string_view { return words_[i]; });
}

bool KeywordList::Add(std::string_view word) {
  const NameTable::Key key = table_.KeyOf(word);
  auto textAt = [this](std::uint32_t i) -> std::string_view { return words_[i]; };
  if (table_.Find(word, key, textAt) != NameTable::kNone) return false;
  words_.emplace_back(word);
  table_.Insert(static_cast<std::uint32_t>(words_.size() - 1), key);
  sorted_ = false;
  return true;
}

bool KeywordList::Remove(std::string_view word) {
  const std::uint32_t found = Find(word);
  if (found == NameTable::kNone) return false;
  words_.erase(words_.begin() + found);
  Reindex();
  return true;
}

bool KeywordList::Contains(std::string_view word) const { return Find(word) != NameTable::kNone; }

void KeywordList::Clear() {
  words_.clear();
  table_.Clear();
  sorted_ = true;
}

const std::vector<std::string>& KeywordList::Words() const {
  if (!sorted_) SortNow();
  return words_;
}

void KeywordList::SortNow() const {
  std::vector<std::string> keys;
  keys.reserve(words_.size());
  for (const std::string& w : words_) keys.push_back(collation_->SortKey(w));
  std::vector<std::uint32_t> order(words_.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(),
            [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
  std::vector<std::string> sorted;
  sorted.reserve(words_.size());
  for (std::uint32_t i : order) sorted.push_back(std::move(words_[i]));
  words_ = std::move(sorted);
  sorted_ = true;
  Reindex();
}

void KeywordList::Reindex() const {
  table_.Clear();
  for (std::uint32_t i = 0; i < words_.size(); ++i) table_.Insert(i, table_.KeyOf(words_[i]));
}

std::size_t KeywordList::MemoryBytes() const {
  std::size_t bytes = words_.capacity() * sizeof(std::string) + table_.MemoryBytes();
  for (const std::string& w : words_) {
    if (w.capacity() > 15) bytes += w.capacity() + 1;
  }
  return bytes;
}

}  // namespace wh
