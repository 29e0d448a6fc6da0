// The keyword vocabulary: sorted by the collation, no two entries equal under
// it, and an entry keeps the letters it was first added with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "index/name_table.h"
#include "platform/collation.h"

namespace wh {

class KeywordList {
 public:
  explicit KeywordList(const Collation& collation);

  // Adds `word` unless an equal word is present. Returns true when added.
  bool Add(std::string_view word);
  // Deletes the entry equal to `word`, if any. Returns true when deleted.
  bool Remove(std::string_view word);
  bool Contains(std::string_view word) const;

  void Clear();
  const Collation& UsedCollation() const { return *collation_; }
  std::size_t Count() const { return words_.size(); }
  // The entries in collation order.
  const std::vector<std::string>& Words() const;

  std::size_t MemoryBytes() const;

 private:
  std::uint32_t Find(std::string_view word) const;
  void SortNow() const;
  void Reindex() const;

  const Collation* collation_;
  // Words are appended unsorted while an index loads, and put in order once,
  // when somebody looks: a load adds hundreds of thousands of words.
  mutable std::vector<std::string> words_;
  mutable bool sorted_ = true;
  mutable NameTable table_;
};

}  // namespace wh
