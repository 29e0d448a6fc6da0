#include "fakes/fake_platform.h"

#include "base/text.h"

namespace wh::testing {

namespace {

// Lower-cases ASCII and the Latin-1 capitals (U+00C0 to U+00DE but U+00D7),
// which in UTF-8 are C3 80 to C3 9E.
std::string Fold(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = AsciiLower(out[i]);
    if (static_cast<unsigned char>(out[i]) == 0xC3 && i + 1 < out.size()) {
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

}  // namespace

int FakeCollation::Compare(std::string_view a, std::string_view b) const {
  return Fold(a).compare(Fold(b));
}

std::string FakeCollation::SortKey(std::string_view text) const { return Fold(text); }

}  // namespace wh::testing
