// The user locale's case-insensitive text order, which decides the order and
// the equality of keywords and display names and the order of the item box.
#pragma once

#include <string>
#include <string_view>

namespace wh {

class Collation {
 public:
  virtual ~Collation() = default;

  // Negative, zero or positive as `a` sorts before, equal to or after `b`,
  // ignoring letter case (every script, not only ASCII). Both UTF-8.
  virtual int Compare(std::string_view a, std::string_view b) const = 0;

  // A byte string whose byte-wise order is Compare's order, and which is equal
  // for two texts exactly when Compare finds them equal.
  virtual std::string SortKey(std::string_view text) const = 0;

  // True when, for two texts of printable ASCII only, Compare's order is the
  // byte order of their ASCII-lower-cased forms (as in code-point collations),
  // so that such texts can be sorted without asking the collation.
  virtual bool OrdersAsciiAsLowerCaseBytes() const { return false; }
};

}  // namespace wh
