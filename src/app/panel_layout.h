// Where the information panel's parts stand once their texts are known.
#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "app/main_layout.h"

namespace wh {

struct PanelBox {
  int left = 0, top = 0, width = 0, height = 0;
  int Right() const { return left + width; }
};

struct PanelLayout {
  // In the order of main_layout::kPanel.
  std::array<PanelBox, std::size(main_layout::kPanel)> parts;
  // The frames around the process count and the page-file figures.
  std::array<PanelBox, std::size(main_layout::kValueFrames)> frames;
};

// The width in device pixels that a part's text takes in that part's font.
using PanelTextWidth = std::function<int(main_layout::PanelPart, std::string_view text)>;

// Each label is at least as wide as its text, so that no figure is cut off
// or wrapped onto an invisible second line; the parts keep their designed
// gaps and move right as the labels before them grow. The gauge keeps its
// designed right edge, growing narrower, while a percentage still fits. `texts` are the parts'
// present texts, in the order of main_layout::kPanel; sizes scale from 96 dots per inch to `dpi`.
PanelLayout LayOutPanel(const std::array<std::string_view, std::size(main_layout::kPanel)>& texts,
                        const PanelTextWidth& textWidth, int dpi);

}  // namespace wh
