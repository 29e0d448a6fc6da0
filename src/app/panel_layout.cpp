#include "app/panel_layout.h"

#include <algorithm>
#include <cstdint>

namespace wh {

using namespace main_layout;

namespace {

constexpr int kGaugeMinWidth = 36;

int ScaleTo(int pixels, int dpi) {
  // Rounded to the nearest pixel, as the window's own scaling does.
  const std::int64_t scaled = static_cast<std::int64_t>(pixels) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? 48 : -48)) / 96);
}

}  // namespace

PanelLayout LayOutPanel(const std::array<std::string_view, std::size(kPanel)>& texts,
                        const PanelTextWidth& textWidth, int dpi) {
  PanelLayout layout;
  int shift = 0;  // how far the designed places have moved right
  for (std::size_t i = 0; i < std::size(kPanel); ++i) {
    const PanelPlace& place = kPanel[i];
    PanelBox& box = layout.parts[i];
    box.left = ScaleTo(place.left, dpi) + shift;
    box.top = ScaleTo(place.top, dpi);
    box.height = ScaleTo(place.height, dpi);
    const int designed = ScaleTo(place.width, dpi);
    if (place.part == PanelPart::Gauge) {
      // Narrower rather than past the window's edge, down to a readable
      // percentage.
      box.width =
          std::max(ScaleTo(kGaugeMinWidth, dpi), ScaleTo(place.left + place.width, dpi) - box.left);
      continue;
    }
    box.width = std::max(designed, textWidth(place.part, texts[i]));
    shift += box.width - designed;
  }
  // Each frame keeps its designed margins around the value label it holds.
  constexpr std::size_t values[] = {1, 3};
  static_assert(kPanel[values[0]].part == PanelPart::ProcessCount);
  static_assert(kPanel[values[1]].part == PanelPart::PageFile);
  for (std::size_t f = 0; f < std::size(kValueFrames); ++f) {
    const PanelPlace& place = kPanel[values[f]];
    const Frame& frame = kValueFrames[f];
    const PanelBox& label = layout.parts[values[f]];
    PanelBox& box = layout.frames[f];
    box.left = label.left - ScaleTo(place.left - frame.left, dpi);
    box.top = ScaleTo(frame.top, dpi);
    box.width = label.width + ScaleTo(frame.width - place.width, dpi);
    box.height = ScaleTo(frame.height, dpi);
  }
  return layout;
}

}  // namespace wh
