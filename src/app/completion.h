// Text completion of the keyword box: each typed character is looked up as
// the start of a keyword, and the keyword's rest is offered, selected.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/collation.h"

namespace wh {

// The keyword box's text field. Offsets are in bytes of the UTF-8 text and
// always stand at the start of a character.
struct EditState {
  std::string text;
  std::size_t selStart = 0;
  std::size_t selEnd = 0;
};

struct CompletionStep {
  // False: the character takes its ordinary effect in the field.
  bool handled = false;
  // When handled: the field afterwards, and the list entry to select (-1:
  // none).
  EditState field;
  int entry = -1;
};

// What typing `typed` (one whole character, or "\b" for BACKSPACE, "\x1b"
// for ESC, "\t" for TAB) does to `field` while completion is on. `entries`
// is the keyword box's list in its order; an entry begins with the typed
// text when its first characters equal it, case ignored: ASCII letters
// folded for ASCII text, the collation's equality otherwise.
CompletionStep CompleteKeyword(const EditState& field, std::string_view typed,
                               const std::vector<std::string>& entries, const Collation& collation);

}  // namespace wh
