#include "index/item_list.h"

#include <algorithm>
#include <numeric>

#include "index/text.h"

namespace wh {

std::string_view DisplayNameOf(std::string_view fullPath, std::string_view pathDelimiters) {
  std::size_t start = fullPath.find_last_of(pathDelimiters);
  std::string_view file = start == std::string_view::npos ? fullPath : fullPath.substr(start + 1);
  std::size_t dot = file.rfind('.');
  return dot == std::string_view::npos ? file : file.substr(0, dot);
}

ItemList::ItemList(const Collation& collation, std::string pathDelimiters)
    : collation_(&collation), pathDelimiters_(std::move(pathDelimiters)), table_(collation) {}

std::uint32_t ItemList::AddDirectoryPart(std::string_view directory) {
  if (!directories_.empty() && TextOf(directories_.back()) == directory) {
    return static_cast<std::uint32_t>(directories_.size() - 1);
  }
  directories_.push_back(Span{static_cast<std::uint32_t>(text_.size()),
                              static_cast<std::uint32_t>(directory.size())});
  text_.append(directory);
  return static_cast<std::uint32_t>(directories_.size() - 1);
}

std::uint32_t ItemList::Add(std::string_view fullPath) {
  std::size_t cut = fullPath.find_last_of(pathDelimiters_);
  cut = cut == std::string_view::npos ? 0 : cut + 1;
  const std::string_view directory = fullPath.substr(0, cut);
  const std::string_view file = fullPath.substr(cut);
  const std::string_view name = DisplayNameOf(file, pathDelimiters_);

  const std::uint64_t hash = table_.Hash(name);
  std::uint32_t position = table_.Find(name, hash, [this](std::uint32_t i) { return Name(i); });

  Entry entry;
  entry.directory = AddDirectoryPart(directory);
  entry.file = static_cast<std::uint32_t>(text_.size());
  entry.fileLength = static_cast<std::uint32_t>(file.size());
  entry.nameLength = static_cast<std::uint32_t>(name.size());
  text_.append(file);

  if (position == kNone) {
    position = static_cast<std::uint32_t>(entries_.size());
    entries_.push_back(entry);
    table_.Insert(position, hash);
  } else {
    entries_[position] = entry;
  }
  Changed();
  return position;
}

std::uint32_t ItemList::Find(std::string_view displayName) const {
  return table_.Find(displayName, table_.Hash(displayName),
                     [this](std::uint32_t i) { return Name(i); });
}

std::string_view ItemList::Name(std::uint32_t position) const {
  const Entry& e = entries_[position];
  return {text_.data() + e.file, e.nameLength};
}

std::string ItemList::Path(std::uint32_t position) const {
  const Entry& e = entries_[position];
  std::string path(TextOf(directories_[e.directory]));
  path.append(text_.data() + e.file, e.fileLength);
  return path;
}

void ItemList::Clear() {
  text_.clear();
  text_.shrink_to_fit();
  directories_.clear();
  directories_.shrink_to_fit();
  entries_.clear();
  entries_.shrink_to_fit();
  table_.Clear();
  Changed();
}

void ItemList::Changed() {
  searchReady_ = false;
  orderReady_ = false;
}

const std::string& ItemList::LowerNames() const {
  if (!searchReady_) {
    lowerNames_.clear();
    lowerStarts_.clear();
    lowerStarts_.reserve(entries_.size());
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
      lowerStarts_.push_back(static_cast<std::uint32_t>(lowerNames_.size()));
      for (char c : Name(i)) lowerNames_.push_back(AsciiLower(c));
      lowerNames_.push_back('\0');
    }
    searchReady_ = true;
  }
  return lowerNames_;
}

const std::vector<std::uint32_t>& ItemList::LowerNameStarts() const {
  LowerNames();
  return lowerStarts_;
}

const std::vector<std::uint32_t>& ItemList::ItemBoxOrder() const {
  if (!orderReady_) {
    std::vector<std::string> keys;
    keys.reserve(entries_.size());
    for (std::uint32_t i = 0; i < entries_.size(); ++i) keys.push_back(collation_->SortKey(Name(i)));
    order_.resize(entries_.size());
    std::iota(order_.begin(), order_.end(), 0u);
    std::sort(order_.begin(), order_.end(),
              [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    rank_.resize(entries_.size());
    for (std::uint32_t r = 0; r < order_.size(); ++r) rank_[order_[r]] = r;
    orderReady_ = true;
  }
  return order_;
}

const std::vector<std::uint32_t>& ItemList::ItemBoxRank() const {
  ItemBoxOrder();
  return rank_;
}

std::size_t ItemList::MemoryBytes() const {
  return text_.capacity() + directories_.capacity() * sizeof(Span) +
         entries_.capacity() * sizeof(Entry) + table_.MemoryBytes() + lowerNames_.capacity() +
         lowerStarts_.capacity() * sizeof(std::uint32_t) +
         (rank_.capacity() + order_.capacity()) * sizeof(std::uint32_t);
}

}  // namespace wh
