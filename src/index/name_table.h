// Finds list entries by a text in O(1), under the collation's case-blind
// equality. The table holds positions only; the list owning the texts answers
// what text stands at a position.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/collation.h"

namespace wh {

class NameTable {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  using TextAt = std::function<std::string_view(std::uint32_t)>;

  explicit NameTable(const Collation& collation) : collation_(&collation) {}

  // Hash under which `text` is filed: equal for texts the collation finds
  // equal.
  std::uint64_t Hash(std::string_view text) const;

  // The position filed under a text equal to `text`, or kNone.
  std::uint32_t Find(std::string_view text, std::uint64_t hash, const TextAt& textAt) const;

  // Files `position` under `hash`; the caller has made sure no equal text is
  // filed yet.
  void Insert(std::uint32_t position, std::uint64_t hash);

  void Clear();
  std::size_t MemoryBytes() const { return slots_.capacity() * sizeof(Slot); }

  // Equality as the collation decides it, quick for plain ASCII texts.
  bool Equal(std::string_view a, std::string_view b) const;

 private:
  struct Slot {
    std::uint32_t hash;
    std::uint32_t position;  // kNone when empty
  };
  void Grow();

  const Collation* collation_;
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace wh
