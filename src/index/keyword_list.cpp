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
  keys.clear();
  keys.shrink_to_fit();
  // Each word moved to its place in the order, cycle by cycle, rather than
  // into a second list: a load's keywords need no copy.
  for (std::uint32_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    std::string held = std::move(words_[start]);
    std::uint32_t at = start;
    while (order[at] != start) {
      const std::uint32_t from = order[at];
      words_[at] = std::move(words_[from]);
      order[at] = at;
      at = from;
    }
    words_[at] = std::move(held);
    order[at] = at;
  }
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
