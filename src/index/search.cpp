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

}  // namespace

void MatchItems(const ItemList& items, std::string_view pattern, MatchList& matches) {
  std::vector<std::uint32_t>& out = matches.MutableItems();
  out.clear();
  const std::string& names = items.LowerNames();
  const std::vector<std::uint32_t>& starts = items.LowerNameStarts();
  const std::uint32_t count = static_cast<std::uint32_t>(items.Count());
  const std::string glob = NormalizeWildcardPattern("*" + AsciiLower(pattern) + "*");
  const Screen screen = ChooseScreen(glob, items.LowerNameByteCounts());
  // "*text*": finding the text is the whole test. (Well-formed UTF-8 found
  // at any byte starts at a character; other bytes need the matcher.)
  const bool plain = glob.size() == screen.segment.size() + 2 &&
                     screen.segment.find('?') == std::string_view::npos &&
                     IsValidUtf8(screen.segment);

  auto nameAt = [&](std::uint32_t i) {
    const std::uint32_t end = (i + 1 < count ? starts[i + 1] : names.size()) - 1;
    return std::string_view(names).substr(starts[i], end - starts[i]);
  };

  // Zero bytes end the names in the buffer the screening runs over; a name
  // or pattern that holds one (no file name does) is matched name by name.
  const bool zeros = items.LowerNameByteCounts()[0] > 0 || glob.find('\0') != std::string::npos;
  // Every character of the pattern but the stars takes at least one byte of
  // a name: shorter names are out without a look.
  std::size_t shortest = 0;
  for (std::size_t i = 0; i < glob.size(); i += CharLength(glob, i)) shortest += glob[i] != '*';
  if (screen.segment.empty() || zeros) {  // only wild cards, or zero bytes
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::string_view name = nameAt(i);
      if (name.size() >= shortest && GlobMatch(name, glob)) out.push_back(i);
    }
    return;
  }
  const char* base = names.data();
  const std::size_t size = names.size();
  const char pivotByte = screen.segment[screen.pivot];
  // The checked part of the piece, and how far into it the pivot stands.
  const std::string_view checked = screen.segment.substr(screen.runStart);
  const std::size_t offset = screen.pivot - screen.runStart;
  // "*??x*": a hit of the run is a match when the name holds as many
  // characters before it as there are question marks; with only ASCII before
  // it, characters are bytes and the matcher is not needed.
  const bool questionsLead =
      glob.size() == screen.segment.size() + 2 &&
      screen.segment.substr(0, screen.runStart).find_first_not_of('?') == std::string_view::npos &&
      screen.segment.find('?', screen.runStart) == std::string_view::npos &&
      IsValidUtf8(screen.segment.substr(screen.runStart));
  auto asciiRun = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      if (static_cast<unsigned char>(base[i]) >= 0x80) return false;
    }
    return true;
  };
  std::size_t scan = offset;
  std::uint32_t item = 0;
  // Candidates are where the pivot byte and, when the run has one, the byte
  // after it stand together: eight positions at a time, so that the many
  // places where the pivot alone occurs cost nothing.
  const bool pair =
      screen.pivot + 1 < screen.segment.size() && screen.segment[screen.pivot + 1] != '?';
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const std::uint64_t first = kOnes * static_cast<unsigned char>(pivotByte);
  const char secondByte = pair ? screen.segment[screen.pivot + 1] : '\0';
  const std::uint64_t second = kOnes * static_cast<unsigned char>(secondByte);
  // High bit of each byte of `v` that is zero, exactly.
  auto zeroBytes = [](std::uint64_t v) { return ~(((v & kLow7) + kLow7) | v) & ~kLow7; };
  auto candidates = [&](std::size_t at) {
    std::uint64_t x;
    std::memcpy(&x, base + at, 8);
    std::uint64_t hits = zeroBytes(x ^ first);
    if (pair) {
      std::uint64_t y;
      std::memcpy(&y, base + at + 1, 8);
      hits &= zeroBytes(y ^ second);
    }
    return hits;
  };
  auto firstOf = [](std::uint64_t hits) {
    const int bit = std::endian::native == std::endian::little ? std::countr_zero(hits)
                                                               : std::countl_zero(hits);
    return static_cast<std::size_t>(bit / 8);
  };
  auto next = [&](std::size_t from) -> std::size_t {
    std::size_t i = from;
    for (; i + 17 <= size; i += 16) {
      const std::uint64_t low = candidates(i), high = candidates(i + 8);
      if (low | high) return low ? i + firstOf(low) : i + 8 + firstOf(high);
    }
    for (; i < size; ++i) {
      if (base[i] == pivotByte && (!pair || (i + 1 < size && base[i + 1] == secondByte))) return i;
    }
    return size;
  };
  while (scan < size) {
    const std::size_t at = next(scan);
    if (at >= size) break;
    // Scanning starts `offset` bytes into a name, so `start` never falls
    // into a name already decided.
    const std::size_t start = at - offset;
    if (!SegmentAt(names, start, checked)) {
      scan = at + 1;
      continue;
    }
    // The name holding `start`: hits move forward, mostly by a few names.
    std::uint32_t step = 1;
    while (item + step < count && starts[item + step] <= start) step *= 2;
    item =
        static_cast<std::uint32_t>(std::upper_bound(starts.begin() + item + step / 2,
                                                    starts.begin() + std::min(item + step, count),
                                                    static_cast<std::uint32_t>(start)) -
                                   starts.begin() - 1);
    const bool matched = plain ||
                         (questionsLead && start - starts[item] >= screen.runStart &&
                          asciiRun(starts[item], start)) ||
                         GlobMatch(nameAt(item), glob);
    if (matched) out.push_back(item);
    if (++item >= count) break;
    scan = starts[item] + offset;
  }
}

}  // namespace wh
