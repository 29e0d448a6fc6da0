#include "index/item_list.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "base/text.h"

namespace wh {

namespace {

// Where the file name starts: after the last delimiter. (find_last_of asks
// memchr once per character, which shows in a load of many files.)
std::size_t FileNameStart(std::string_view path, std::string_view delimiters) {
  for (std::size_t i = path.size(); i > 0; --i) {
    const char c = path[i - 1];
    for (char d : delimiters) {
      if (c == d) return i;
    }
  }
  return 0;
}

std::string_view StripExtension(std::string_view file) {
  const std::size_t dot = file.rfind('.');
  return dot == std::string_view::npos ? file : file.substr(0, dot);
}

// Sorts `positions` by the collation's sort keys of their names.
template <typename NameOf>
void SortByKeys(const Collation& collation, std::size_t count, const NameOf& nameOf,
                std::vector<std::uint32_t>& positions) {
  std::vector<std::string> keys(count);
  for (std::uint32_t i : positions) keys[i] = collation.SortKey(nameOf(i));
  std::sort(positions.begin(), positions.end(),
            [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
}

// A plain name with its leading eight lower-case bytes packed in a number,
// so that most comparisons are one.
struct Prefixed {
  std::uint64_t prefix;
  std::uint32_t position;
};

std::uint64_t PrefixOf(std::string_view lowerName) {
  std::uint64_t prefix = 0;
  for (std::size_t k = 0; k < 8; ++k) {
    prefix = (prefix << 8) | (k < lowerName.size() ? static_cast<unsigned char>(lowerName[k]) : 0u);
  }
  return prefix;
}

// The plain names (printable ASCII) sorted by their lower-case bytes; the
// others are left in `others`, in item order, for the collation.
template <typename NameOf, typename LowerNameOf>
std::vector<Prefixed> SortedPlainNames(std::uint32_t count, const NameOf& nameOf,
                                       const LowerNameOf& lowerNameOf,
                                       std::vector<std::uint32_t>& others) {
  std::vector<Prefixed> plain;
  plain.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (IsPrintableAscii(nameOf(i))) {
      plain.push_back(Prefixed{PrefixOf(lowerNameOf(i)), i});
    } else {
      others.push_back(i);
    }
  }
  std::sort(plain.begin(), plain.end(), [&](const Prefixed& a, const Prefixed& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return lowerNameOf(a.position) < lowerNameOf(b.position);
  });
  return plain;
}

// Each other name goes before the first plain name it sorts before; both
// runs are sorted, so the search only moves forward.
template <typename NameOf>
void Merge(const Collation& collation, const std::vector<Prefixed>& plain,
           const std::vector<std::uint32_t>& others, const NameOf& nameOf,
           std::vector<std::uint32_t>& order) {
  order.reserve(plain.size() + others.size());
  std::size_t next = 0;
  for (std::uint32_t o : others) {
    auto it = std::partition_point(plain.begin() + next, plain.end(), [&](const Prefixed& p) {
      return collation.Compare(nameOf(p.position), nameOf(o)) < 0;
    });
    const std::size_t until = static_cast<std::size_t>(it - plain.begin());
    for (; next < until; ++next) order.push_back(plain[next].position);
    order.push_back(o);
  }
  for (; next < plain.size(); ++next) order.push_back(plain[next].position);
}

}  // namespace

std::string_view DisplayNameOf(std::string_view fullPath, std::string_view pathDelimiters) {
  return StripExtension(fullPath.substr(FileNameStart(fullPath, pathDelimiters)));
}

ItemList::ItemList(const Collation& collation, std::string pathDelimiters)
    : collation_(&collation), pathDelimiters_(std::move(pathDelimiters)), table_(collation) {}

std::uint32_t ItemList::AddDirectoryPart(std::string_view directory) {
  if (!directories_.empty() && TextOf(directories_.back()) == directory) {
    return static_cast<std::uint32_t>(directories_.size() - 1);
  }
  directories_.push_back(
      Span{static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(directory.size())});
  text_.Append(directory);
  return static_cast<std::uint32_t>(directories_.size() - 1);
}

std::uint32_t ItemList::AddKeyed(std::string_view fullPath, std::size_t fileStart,
                                 std::string_view name, NameTable::Key key, std::uint32_t flags) {
  FillTable();
  std::uint32_t position = table_.Find(name, key, [this](std::uint32_t i) { return Name(i); });
  const std::string_view file = fullPath.substr(fileStart);
  Entry entry;
  entry.directory = AddDirectoryPart(fullPath.substr(0, fileStart));
  entry.file = static_cast<std::uint32_t>(text_.size());
  entry.fileLength = static_cast<std::uint32_t>(file.size());
  entry.nameLength = static_cast<std::uint32_t>(name.size());
  text_.Append(file);
  // A name that isn't the file name's start is kept after it.
  entry.nameLength |= flags;
  if (flags & kOwnName) text_.Append(name);
  if (position == kNone) {
    position = static_cast<std::uint32_t>(entries_.size());
    entries_.push_back(entry);
    table_.Insert(position, key);
  } else {
    entries_[position] = entry;
  }
  Changed();
  return position;
}

std::uint32_t ItemList::Add(std::string_view fullPath) {
  const std::size_t fileStart = FileNameStart(fullPath, pathDelimiters_);
  const std::string_view name = StripExtension(fullPath.substr(fileStart));
  if (!IsValidUtf8(name)) return AddShownAs(fullPath, fileStart, name);
  return AddKeyed(fullPath, fileStart, name, table_.KeyOf(name));
}

// A file name that isn't UTF-8 (Latin-1, from an older system) is shown,
// searched and found by its UTF-8 reading; its path keeps the bytes that
// open it.
std::uint32_t ItemList::AddShownAs(std::string_view fullPath, std::size_t fileStart,
                                   std::string_view rawName) {
  const std::string name = Latin1ForInvalidUtf8(rawName);
  return AddKeyed(fullPath, fileStart, name, table_.KeyOf(name), kOwnName);
}

std::uint32_t ItemList::AddNamed(std::string_view fullPath, std::string_view displayName) {
  const std::size_t fileStart = FileNameStart(fullPath, pathDelimiters_);
  return AddKeyed(fullPath, fileStart, displayName, table_.KeyOf(displayName), kOwnName);
}

std::uint32_t ItemList::AddLocalized(std::string_view fullPath, std::string_view displayName) {
  const std::size_t fileStart = FileNameStart(fullPath, pathDelimiters_);
  return AddKeyed(fullPath, fileStart, displayName, table_.KeyOf(displayName),
                  kOwnName | kAlsoFileName);
}

void ItemList::AddMany(std::span<const std::string_view> fullPaths,
                       const std::function<void(std::string_view, std::uint32_t)>& onAdded) {
  // The table is far larger than the caches: looking each name's slot up
  // ahead lets the memory fetch them all at once instead of one by one.
  constexpr std::size_t kAhead = 32;
  struct Pending {
    std::size_t fileStart;
    std::string_view name;
    NameTable::Key key;
  };
  Pending pending[kAhead];
  FillTable();
  table_.Reserve(entries_.size() + fullPaths.size());
  auto prepare = [&](std::size_t i) {
    Pending& p = pending[i % kAhead];
    p.fileStart = FileNameStart(fullPaths[i], pathDelimiters_);
    p.name = StripExtension(fullPaths[i].substr(p.fileStart));
    p.key = table_.KeyOf(p.name);
    table_.Prefetch(p.key);
  };
  for (std::size_t i = 0; i < std::min(kAhead, fullPaths.size()); ++i) prepare(i);
  for (std::size_t i = 0; i < fullPaths.size(); ++i) {
    const Pending p = pending[i % kAhead];
    if (!IsValidUtf8(p.name)) {
      const std::uint32_t position = AddShownAs(fullPaths[i], p.fileStart, p.name);
      onAdded(Name(position), position);
    } else {
      onAdded(p.name, AddKeyed(fullPaths[i], p.fileStart, p.name, p.key));
    }
    if (i + kAhead < fullPaths.size()) prepare(i + kAhead);
  }
}

std::uint32_t ItemList::Find(std::string_view displayName) const {
  FillTable();
  return table_.Find(displayName, table_.KeyOf(displayName),
                     [this](std::uint32_t i) { return Name(i); });
}

std::string_view ItemList::Name(std::uint32_t position) const {
  const Entry& e = entries_[position];
  if (e.nameLength & kOwnName)
    return {text_.data() + e.file + e.fileLength, e.nameLength & kLengthMask};
  return {text_.data() + e.file, e.nameLength};
}

std::string ItemList::Path(std::uint32_t position) const {
  const Entry& e = entries_[position];
  std::string path(TextOf(directories_[e.directory]));
  path.append(text_.data() + e.file, e.fileLength);
  return path;
}

void ItemList::Reorder(std::uint32_t from, std::vector<std::uint32_t> order) {
  constexpr std::uint32_t kPlaced = 0xFFFFFFFFu;
  std::vector<std::uint32_t> placeOf(order.size());
  for (std::uint32_t k = 0; k < order.size(); ++k) placeOf[order[k]] = k;
  order = std::vector<std::uint32_t>();
  // Dropped rather than renumbered: a reorder ends a load, after which
  // names are seldom looked up, and the next lookup files them again.
  DropTable();
  // The entries move round their cycles in place: a second copy of them
  // would be the load's largest passing block.
  Entry* entries = entries_.data() + from;
  for (std::uint32_t start = 0; start < placeOf.size(); ++start) {
    Entry carried = entries[start];
    for (std::uint32_t at = start; placeOf[at] != kPlaced;) {
      const std::uint32_t to = std::exchange(placeOf[at], kPlaced);
      std::swap(carried, entries[to]);
      at = to;
    }
  }
  Changed();
}

void ItemList::Clear() {
  lastCount_ = std::max(lastCount_, entries_.size());
  lastText_ = std::max(lastText_, text_.size());
  text_.clear();
  directories_.clear();
  entries_.clear();
  table_.Clear(true);
  tableDropped_ = false;
  // A reload needs about as much room as the load before it.
  text_.reserve(lastText_);
  entries_.reserve(lastCount_);
  Changed();
}

void ItemList::Compact() {
  lastCount_ = entries_.size();
  lastText_ = text_.size();
  // Only worth a copy when much room is left over, as after a first load;
  // a reload made room for about what it needed.
  auto roomy = [](std::size_t capacity, std::size_t size) { return capacity > size + size / 4; };
  // Names are looked up while a load adds them; afterwards items are taken
  // by position, so the table's room (a sixth of the index) goes back until
  // a name is looked up again.
  DropTable();
  if (roomy(text_.capacity(), text_.size())) text_.shrink_to_fit();
  if (roomy(directories_.capacity(), directories_.size())) directories_.shrink_to_fit();
  if (roomy(entries_.capacity(), entries_.size())) entries_.shrink_to_fit();
}

void ItemList::DropTable() {
  table_.Clear();
  tableDropped_ = true;
}

void ItemList::FillTable() const {
  if (!tableDropped_) return;
  tableDropped_ = false;
  table_.Reserve(entries_.size());
  for (std::uint32_t i = 0; i < entries_.size(); ++i) table_.Insert(i, table_.KeyOf(Name(i)));
}

void ItemList::Changed() {
  searchReady_ = false;
  orderReady_ = false;
}

const std::string& ItemList::LowerNames() const {
  if (!searchReady_) {
    std::size_t total = 0;
    for (const Entry& e : entries_) {
      total += (e.nameLength & kLengthMask) + 1;
      if (e.nameLength & kAlsoFileName) total += e.fileLength + 1;
    }
    lowerNames_.clear();
    lowerNames_.reserve(total);
    lowerStarts_.clear();
    lowerStarts_.reserve(entries_.size());
    byteCounts_.fill(0);
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
      lowerStarts_.push_back(static_cast<std::uint32_t>(lowerNames_.size()));
      const auto append = [this](std::string_view text) {
        for (char c : text) {
          const char lower = AsciiLower(c);
          lowerNames_.push_back(lower);
          ++byteCounts_[static_cast<unsigned char>(lower)];
        }
      };
      append(Name(i));
      const Entry& e = entries_[i];
      if (e.nameLength & kAlsoFileName) {
        append("\n");
        append(StripExtension({text_.data() + e.file, e.fileLength}));
      }
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

const std::array<std::uint32_t, 256>& ItemList::LowerNameByteCounts() const {
  LowerNames();
  return byteCounts_;
}

void ItemList::MakeOrder() const {
  const std::string& lower = LowerNames();
  const std::uint32_t count = static_cast<std::uint32_t>(entries_.size());
  auto nameOf = [this](std::uint32_t i) { return Name(i); };
  order_.clear();
  if (!collation_->OrdersAsciiAsLowerCaseBytes()) {
    order_.resize(count);
    std::iota(order_.begin(), order_.end(), 0u);
    SortByKeys(*collation_, count, nameOf, order_);
  } else {
    // Plain names sort by their lower-case bytes; the collation places only
    // the others.
    auto lowerNameOf = [&](std::uint32_t i) {
      const std::uint32_t end = (i + 1 < count ? lowerStarts_[i + 1] : lower.size()) - 1;
      return std::string_view(lower).substr(lowerStarts_[i], end - lowerStarts_[i]);
    };
    std::vector<std::uint32_t> others;
    const std::vector<Prefixed> plain = SortedPlainNames(count, nameOf, lowerNameOf, others);
    SortByKeys(*collation_, count, nameOf, others);
    Merge(*collation_, plain, others, nameOf, order_);
  }
  rank_.resize(count);
  for (std::uint32_t r = 0; r < count; ++r) rank_[order_[r]] = r;
  orderReady_ = true;
}

const std::vector<std::uint32_t>& ItemList::ItemBoxOrder() const {
  if (!orderReady_) MakeOrder();
  return order_;
}

const std::vector<std::uint32_t>& ItemList::ItemBoxRank() const {
  if (!orderReady_) MakeOrder();
  return rank_;
}

void ItemList::PrepareSearch() const { LowerNames(); }

std::size_t ItemList::MemoryBytes() const {
  return text_.capacity() + directories_.capacity() * sizeof(Span) +
         entries_.capacity() * sizeof(Entry) + table_.MemoryBytes() + lowerNames_.capacity() +
         lowerStarts_.capacity() * sizeof(std::uint32_t) +
         (rank_.capacity() + order_.capacity()) * sizeof(std::uint32_t);
}

}  // namespace wh
