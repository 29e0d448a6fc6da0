#include "index/name_table.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

}  // namespace

// Printable ASCII texts are equal under every case-blind collation exactly
// when their lower-case forms are; for the rest the collation's sort key is the
// arbiter. The quick path keeps a load free of collation calls for the usual
// names.
NameTable::Key NameTable::KeyOf(std::string_view text) const {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
  constexpr std::uint64_t kPrime = 0x100000001B3ULL;
  std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ text.size();
  bool ascii = true;
  std::size_t i = 0;
  // Eight bytes at a time: test them for printable ASCII and lower-case the
  // capitals, all in one word.
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t x;
    std::memcpy(&x, text.data() + i, 8);
    const std::uint64_t atLeastBlank = x + (0x80 - 0x20) * kOnes;
    const std::uint64_t atLeastDel = x + (0x80 - 0x7F) * kOnes;
    if ((x & kHigh) != 0 || (atLeastBlank & ~atLeastDel & kHigh) != kHigh) {
      ascii = false;
      break;
    }
    const std::uint64_t atLeastA = x + (0x80 - 'A') * kOnes;
    const std::uint64_t pastZ = x + (0x80 - 'Z' - 1) * kOnes;
    const std::uint64_t capitals = atLeastA & ~pastZ & kHigh;
    h = (h ^ (x | (capitals >> 2))) * kPrime;
    h ^= h >> 29;
  }
  for (; ascii && i < text.size(); ++i) {
    const char c = text[i];
    if (c < 0x20 || c > 0x7E) {
      ascii = false;
      break;
    }
    h = (h ^ static_cast<unsigned char>(AsciiLower(c))) * kPrime;
  }
  if (!ascii) {
    h = 0x517CC1B727220A95ULL;
    for (char c : collation_->SortKey(text)) h = (h ^ static_cast<unsigned char>(c)) * kPrime;
  }
  return Key{Mix(h), ascii};
}

void NameTable::Reserve(std::size_t count) {
  while (count * 4 > slots_.size() * 3) Grow();
}

void NameTable::Place(std::uint32_t position, std::uint32_t tag) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = Home(tag);
  while (slots_[i].position != kNone) i = (i + 1) & mask;
  slots_[i] = Slot{tag, position};
}

void NameTable::Insert(std::uint32_t position, Key key) {
  if ((used_ + 1) * 4 > slots_.size() * 3) Grow();
  Place(position, Tag(key));
  ++used_;
}

// The table doubles where it stands (realloc moves a large block by its
// pages), so the old and the new slots are never held side by side. Every
// name is then filed again from its new home: at the first slot that is free
// or holds a name not filed yet, which is carried on to its own home. A filed
// name never moves again, so the slots a lookup passes stay full.
void NameTable::Grow() {
  const std::size_t oldSize = slots_.size();
  bits_ = oldSize == 0 ? 6 : bits_ + 1;
  for (std::size_t i = 0; i < oldSize; ++i) {
    if (slots_[i].position != kNone) slots_[i].position |= kUnfiled;
  }
  slots_.AppendCopies((std::size_t{1} << bits_) - oldSize, Slot{0, kNone});
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = 0; i < oldSize; ++i) {
    if (slots_[i].position == kNone || !(slots_[i].position & kUnfiled)) continue;
    Slot carried = std::exchange(slots_[i], Slot{0, kNone});
    carried.position &= ~kUnfiled;
    for (std::size_t j = Home(carried.tag);;) {
      Slot& slot = slots_[j];
      if (slot.position == kNone) {
        slot = carried;
        break;
      }
      if (slot.position & kUnfiled) {
        std::swap(slot, carried);
        carried.position &= ~kUnfiled;
        j = Home(carried.tag);
      } else {
        j = (j + 1) & mask;
      }
    }
  }
}

void NameTable::Clear(bool keepMemory) {
  used_ = 0;
  if (keepMemory) {
    std::fill_n(slots_.data(), slots_.size(), Slot{0, kNone});
  } else {
    slots_ = GrowingArray<Slot>();
    bits_ = 0;
  }
}

}  // namespace wh
