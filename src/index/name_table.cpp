#include "index/name_table.h"

#include "index/text.h"

namespace wh {

namespace {

std::uint64_t Mix(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 33;
  return h;
}

template <typename Map>
std::uint64_t HashBytes(std::string_view text, std::uint64_t seed, Map map) {
  std::uint64_t h = seed ^ (text.size() * 0x9E3779B97F4A7C15ULL);
  for (char c : text) h = (h ^ static_cast<unsigned char>(map(c))) * 0x100000001B3ULL;
  return Mix(h);
}

}  // namespace

// Printable ASCII texts are equal under every case-blind collation exactly
// when their lower-case forms are; for the rest the collation's sort key is the
// arbiter. The quick path keeps a load free of collation calls for the usual
// names.
std::uint64_t NameTable::Hash(std::string_view text) const {
  if (IsPrintableAscii(text)) {
    return HashBytes(text, 1, [](char c) { return AsciiLower(c); });
  }
  return HashBytes(collation_->SortKey(text), 2, [](char c) { return c; });
}

bool NameTable::Equal(std::string_view a, std::string_view b) const {
  const bool asciiA = IsPrintableAscii(a);
  if (asciiA != IsPrintableAscii(b)) return false;
  if (asciiA) return AsciiEqualIgnoringCase(a, b);
  return collation_->Compare(a, b) == 0;
}

std::uint32_t NameTable::Find(std::string_view text, std::uint64_t hash,
                              const TextAt& textAt) const {
  if (slots_.empty()) return kNone;
  const std::size_t mask = slots_.size() - 1;
  const auto shortHash = static_cast<std::uint32_t>(hash);
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.position == kNone) return kNone;
    if (slot.hash == shortHash && Equal(textAt(slot.position), text)) return slot.position;
  }
}

void NameTable::Insert(std::uint32_t position, std::uint64_t hash) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i].position != kNone) i = (i + 1) & mask;
  slots_[i] = Slot{static_cast<std::uint32_t>(hash), position};
  ++used_;
}

void NameTable::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{0, kNone});
  used_ = 0;
  // The short hash is the low half of the full one, and the table size never
  // passes 2^32, so it is enough to find the new slot.
  for (const Slot& slot : old) {
    if (slot.position != kNone) Insert(slot.position, slot.hash);
  }
}

void NameTable::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  used_ = 0;
}

}  // namespace wh
