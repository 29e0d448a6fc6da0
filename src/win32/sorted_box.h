// Filling the list of a combo box that keeps its entries sorted itself.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wh {

// Replaces every entry of `box` (a CBS_SORT combo box) by `entries`. The box
// ends up as if each entry had been added with CB_ADDSTRING, but entries that
// already come in the box's order cost one comparison each instead of the
// box's own search. `numbered`: each entry's item data is its place in
// `entries`, which the box's order need not keep.
void FillSortedBox(HWND box, const std::vector<std::string>& entries, bool numbered = false);

}  // namespace wh
