// The user's number format, for the counts on the status bar.
#pragma once

#include <string>

namespace wh {

class NumberFormat {
 public:
  virtual ~NumberFormat() = default;

  // The text the user's locale puts between groups of three digits
  // ("," in English, "." in German, a narrow no-break space in French).
  virtual std::string ThousandsSeparator() const = 0;
};

}  // namespace wh
