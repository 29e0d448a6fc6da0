#include "index/search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>

#include "base/text.h"
#include "index/wildcard.h"

namespace wh {

std::vector<std::string> MatchList::Names(const ItemList& items) const {
  std::vector<std::string> names;
  names.reserve(items_.size());
  for (std::uint32_t i : items_) names.emplace_back(items.Name(i));
  return names;
}

std::vector<std::uint32_t> MatchList::InItemBoxOrder(const ItemList& items) const {
  std::vector<std::uint32_t> ordered;
  ordered.reserve(items_.size());
  const auto& order = items.ItemBoxOrder();
  // Few matches: sort them by their place. Many: one pass over the whole
  // order is cheaper than sorting.
  if (items_.size() * 16 < items.Count()) {
    const auto& rank = items.ItemBoxRank();
    for (std::uint32_t i : items_) ordered.push_back(rank[i]);
    std::sort(ordered.begin(), ordered.end());
    for (std::uint32_t& r : ordered) r = order[r];
  } else {
    std::vector<bool> matched(items.Count());
    for (std::uint32_t i : items_) matched[i] = true;
    for (std::uint32_t i : order) {
      if (matched[i]) ordered.push_back(i);
    }
  }
  return ordered;
}

namespace {

// A piece of the pattern between stars that every match contains, and the
// byte of it that the fewest names hold: the names are screened for that
// byte at memory speed. The pivot may follow a "?", whose character can be
// one to four bytes long, so a hit is checked from the start of the plain
// run that holds the pivot (`runStart`), with the rest of the piece after it;
// what stands before the run is left to the matcher.
struct Screen {
  std::string_view segment;
  std::size_t runStart = 0;  // where the plain run holding the pivot starts
  std::size_t pivot = 0;     // within that run
  std::uint32_t count = UINT32_MAX;
};

Screen ChooseScreen(std::string_view glob, const std::array<std::uint32_t, 256>& counts) {
  Screen best;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= glob.size(); ++i) {
    if (i < glob.size() && glob[i] != '*') continue;
    const std::string_view segment = glob.substr(start, i - start);
    start = i + 1;
    std::size_t runStart = 0;
    for (std::size_t k = 0; k < segment.size(); ++k) {
      if (segment[k] == '?') {
        runStart = k + 1;
        continue;
      }
      const std::uint32_t n = counts[static_cast<unsigned char>(segment[k])];
      if (n < best.count) best = Screen{segment, runStart, k, n};
    }
  }
  return best;
}

// Whether `segment` ("?" one character, others themselves) stands in the
// names' buffer at `pos`, inside one name.
bool SegmentAt(std::string_view names, std::size_t pos, std::string_view segment) {
  for (char c : segment) {
    if (pos >= names.size() || names[pos] == '\0') return false;
    if (c == '?') {
      pos += CharLength(names, pos);
    } else if (names[pos++] != c) {
      return false;
    }
  }
  return true;
}

// The search's view of the item list: every lower-cased name, each ended by
// a zero byte, end to end, and where each one starts.
class NameBuffer {
 public:
  explicit NameBuffer(const ItemList& items)
      : text_(items.LowerNames()),
        starts_(items.LowerNameStarts()),
        count_(static_cast<std::uint32_t>(items.Count())) {}

  std::string_view Text() const { return text_; }
  std::uint32_t Count() const { return count_; }
  std::size_t Start(std::uint32_t item) const { return starts_[item]; }
  std::string_view Name(std::uint32_t item) const {
    const std::size_t end = (item + 1 < count_ ? starts_[item + 1] : text_.size()) - 1;
    return text_.substr(starts_[item], end - starts_[item]);
  }
  // The name holding byte `pos`, at or after `from`: hits move forward,
  // mostly by a few names, so the search gallops from there.
  std::uint32_t ItemHolding(std::size_t pos, std::uint32_t from) const {
    std::uint32_t step = 1;
    while (from + step < count_ && starts_[from + step] <= pos) step *= 2;
    const auto first = starts_.begin() + from + step / 2;
    const auto last = starts_.begin() + std::min(from + step, count_);
    return static_cast<std::uint32_t>(
        std::upper_bound(first, last, static_cast<std::uint32_t>(pos)) - starts_.begin() - 1);
  }

 private:
  std::string_view text_;
  const std::vector<std::uint32_t>& starts_;
  std::uint32_t count_;
};

// Every character of the pattern but the stars takes at least one byte of a
// name: shorter names are out without a look.
std::size_t ShortestMatch(std::string_view glob) {
  std::size_t shortest = 0;
  for (std::size_t i = 0; i < glob.size(); i += CharLength(glob, i)) shortest += glob[i] != '*';
  return shortest;
}

// Zero bytes end the names in the buffer the screening runs over; a name or
// pattern that holds one (no file name does) is matched name by name.
bool HoldsZeroBytes(const ItemList& items, std::string_view glob) {
  return items.LowerNameByteCounts()[0] > 0 || glob.find('\0') != std::string_view::npos;
}

void MatchNameByName(const NameBuffer& names, std::string_view glob,
                     std::vector<std::uint32_t>& out) {
  const std::size_t shortest = ShortestMatch(glob);
  for (std::uint32_t i = 0; i < names.Count(); ++i) {
    const std::string_view name = names.Name(i);
    if (name.size() >= shortest && GlobMatch(name, glob)) out.push_back(i);
  }
}

// Where the screen's pivot byte and, when its run has one, the byte after it
// stand together: eight positions at a time, so that the many places where
// the pivot alone occurs cost nothing.
class PivotFinder {
 public:
  PivotFinder(std::string_view text, const Screen& screen)
      : base_(text.data()),
        size_(text.size()),
        pivotByte_(screen.segment[screen.pivot]),
        pair_(screen.pivot + 1 < screen.segment.size() && screen.segment[screen.pivot + 1] != '?'),
        secondByte_(pair_ ? screen.segment[screen.pivot + 1] : '\0'),
        first_(kOnes * static_cast<unsigned char>(pivotByte_)),
        second_(kOnes * static_cast<unsigned char>(secondByte_)) {}

  // The first candidate at or after `from`, or the text's size.
  std::size_t Next(std::size_t from) const {
    std::size_t i = from;
    for (; i + 17 <= size_; i += 16) {
      const std::uint64_t low = Candidates(i), high = Candidates(i + 8);
      if (low | high) return low ? i + FirstOf(low) : i + 8 + FirstOf(high);
    }
    for (; i < size_; ++i) {
      if (base_[i] == pivotByte_ && (!pair_ || (i + 1 < size_ && base_[i + 1] == secondByte_))) {
        return i;
      }
    }
    return size_;
  }

 private:
  static constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kLow7 = 0x7F7F7F7F7F7F7F7FULL;

  // High bit of each byte of `v` that is zero, exactly.
  static std::uint64_t ZeroBytes(std::uint64_t v) { return ~(((v & kLow7) + kLow7) | v) & ~kLow7; }
  static std::size_t FirstOf(std::uint64_t hits) {
    const int bit = std::endian::native == std::endian::little ? std::countr_zero(hits)
                                                               : std::countl_zero(hits);
    return static_cast<std::size_t>(bit / 8);
  }
  std::uint64_t Candidates(std::size_t at) const {
    std::uint64_t x;
    std::memcpy(&x, base_ + at, 8);
    std::uint64_t hits = ZeroBytes(x ^ first_);
    if (pair_) {
      std::uint64_t y;
      std::memcpy(&y, base_ + at + 1, 8);
      hits &= ZeroBytes(y ^ second_);
    }
    return hits;
  }

  const char* base_;
  std::size_t size_;
  char pivotByte_;
  bool pair_;
  char secondByte_;
  std::uint64_t first_, second_;
};

// Whether a name in which the screen's run was found matches, asking the
// matcher only when the pattern's shape leaves it open.
class HitCheck {
 public:
  HitCheck(std::string_view glob, const Screen& screen)
      : glob_(glob),
        runStart_(screen.runStart),
        // "*text*": finding the text is the whole test. (Well-formed UTF-8
        // found at any byte starts at a character; other bytes need the
        // matcher.)
        plain_(glob.size() == screen.segment.size() + 2 &&
               screen.segment.find('?') == std::string_view::npos && IsValidUtf8(screen.segment)),
        // "*??x*": a hit of the run is a match when the name holds as many
        // characters before it as there are question marks; with only ASCII
        // before it, characters are bytes and the matcher is not needed.
        questionsLead_(glob.size() == screen.segment.size() + 2 &&
                       screen.segment.substr(0, screen.runStart).find_first_not_of('?') ==
                           std::string_view::npos &&
                       screen.segment.find('?', screen.runStart) == std::string_view::npos &&
                       IsValidUtf8(screen.segment.substr(screen.runStart))) {}

  // `runAt`: where the run stands in the buffer, inside `item`'s name.
  bool Matches(const NameBuffer& names, std::uint32_t item, std::size_t runAt) const {
    return plain_ ||
           (questionsLead_ && runAt - names.Start(item) >= runStart_ &&
            AsciiBetween(names.Text(), names.Start(item), runAt)) ||
           GlobMatch(names.Name(item), glob_);
  }

 private:
  static bool AsciiBetween(std::string_view text, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
    }
    return true;
  }

  std::string_view glob_;
  std::size_t runStart_;
  bool plain_;
  bool questionsLead_;
};

// Only names that hold the screen's run are looked at, each once: after a
// name is decided, the scan goes on from the next one.
void MatchScreened(const NameBuffer& names, std::string_view glob, const Screen& screen,
                   std::vector<std::uint32_t>& out) {
  const std::string_view text = names.Text();
  const PivotFinder finder(text, screen);
  const HitCheck check(glob, screen);
  // The checked part of the piece, and how far into it the pivot stands.
  const std::string_view checked = screen.segment.substr(screen.runStart);
  const std::size_t offset = screen.pivot - screen.runStart;
  std::size_t scan = offset;
  std::uint32_t item = 0;
  while (scan < text.size()) {
    const std::size_t at = finder.Next(scan);
    if (at >= text.size()) break;
    // Scanning starts `offset` bytes into a name, so `start` never falls
    // into a name already decided.
    const std::size_t start = at - offset;
    if (!SegmentAt(text, start, checked)) {
      scan = at + 1;
      continue;
    }
    item = names.ItemHolding(start, item);
    if (check.Matches(names, item, start)) out.push_back(item);
    if (++item >= names.Count()) break;
    scan = names.Start(item) + offset;
  }
}

}  // namespace

void MatchItems(const ItemList& items, std::string_view pattern, MatchList& matches) {
  std::vector<std::uint32_t>& out = matches.MutableItems();
  out.clear();
  const NameBuffer names(items);
  const std::string glob = NormalizeWildcardPattern("*" + AsciiLower(pattern) + "*");
  const Screen screen = ChooseScreen(glob, items.LowerNameByteCounts());
  if (screen.segment.empty() || HoldsZeroBytes(items, glob)) {  // only wild cards, or zero bytes
    MatchNameByName(names, glob, out);
  } else {
    MatchScreened(names, glob, screen, out);
  }
}

}  // namespace wh
