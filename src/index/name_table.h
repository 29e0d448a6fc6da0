// Finds list entries by a text in O(1), under the collation's case-blind
// equality. The table holds positions only; the list owning the texts answers
// what text stands at a position.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "index/growing_array.h"
#include "platform/collation.h"

namespace wh {

class NameTable {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  // A text's filing: equal for texts the collation finds equal.
  struct Key {
    std::uint64_t hash;
    bool ascii;  // printable ASCII only: compared without the collation
  };

  explicit NameTable(const Collation& collation) : collation_(&collation) {}

  Key KeyOf(std::string_view text) const;

  // The position filed under a text equal to `text`; kNone when none is.
  // `textAt(position)` gives the text at a filed position.
  template <typename TextAt>
  std::uint32_t Find(std::string_view text, Key key, TextAt textAt) const {
    if (slots_.empty()) return kNone;
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t tag = Tag(key);
    for (std::size_t i = Home(tag);; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.position == kNone) return kNone;
      if (slot.tag == tag && Equal(textAt(slot.position), text, key.ascii)) return slot.position;
    }
  }

  // Files `position` (below 2^31) under `key`; the caller has made sure no
  // equal text is filed yet.
  void Insert(std::uint32_t position, Key key);

  // Makes room for `count` texts in all, so that inserting them moves nothing.
  void Reserve(std::size_t count);

  // Asks the memory for the slot `key` will be looked up in.
  void Prefetch(Key key) const {
#if defined(__GNUC__) || defined(__clang__)
    if (!slots_.empty()) __builtin_prefetch(&slots_[Home(Tag(key))]);
#else
    (void)key;
#endif
  }

  // Empties the table; with `keepMemory` its slots stay for the next fill.
  void Clear(bool keepMemory = false);
  std::size_t MemoryBytes() const { return slots_.capacity() * sizeof(Slot); }

 private:
  struct Slot {
    std::uint32_t tag;       // the hash's top 31 bits, and the ASCII flag
    std::uint32_t position;  // kNone when empty
  };
  static std::uint32_t Tag(Key key) {
    return static_cast<std::uint32_t>(key.hash >> 33) | (key.ascii ? 0x80000000u : 0);
  }
  // A slot's first choice comes from the tag's top bits, so the table can
  // grow without asking the list for its texts again.
  std::size_t Home(std::uint32_t tag) const { return (tag & 0x7FFFFFFFu) >> (31 - bits_); }
  // `ascii` tells that both texts are printable ASCII (their tags agree).
  bool Equal(std::string_view a, std::string_view b, bool ascii) const {
    return ascii ? AsciiEqualIgnoringCase(a, b) : collation_->Compare(a, b) == 0;
  }
  void Place(std::uint32_t position, std::uint32_t tag);
  void Grow();

  const Collation* collation_;
  // Marks, while the table grows, a position not yet filed where the larger
  // table looks for it.
  static constexpr std::uint32_t kUnfiled = 0x80000000u;
  GrowingArray<Slot> slots_;
  int bits_ = 0;  // slots_.size() == 2^bits_
  std::size_t used_ = 0;
};

}  // namespace wh
