#include "app/panel_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace wh {
namespace {

using namespace main_layout;

// A font whose every character is `perChar` pixels wide at 96 dots per inch.
PanelTextWidth MonospacedAt(int perChar, int dpi) {
  return [=](PanelPart, std::string_view text) {
    return static_cast<int>(text.size()) * perChar * dpi / 96;
  };
}

TEST(PanelLayoutTest, LabelsHoldTheirTextsAtEveryDpi) {
  struct Case {
    int dpi;
    const char* processes;
    const char* pageFile;
  };
  const Case cases[] = {
      {96, "87", "12 MB in use | 3 MB available"},
      {96, "12345", "1,013 MB in use | 23,092 MB available"},
      {120, "1234", "1,013 MB in use | 23,092 MB available"},
      {144, "99999", "10,013 MB in use | 123,092 MB available"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dpi) + " " + c.pageFile);
    const PanelTextWidth width = MonospacedAt(6, c.dpi);
    const std::array<std::string_view, std::size(kPanel)> texts = {
        kPanel[0].text, c.processes, kPanel[2].text, c.pageFile, kPanel[4].text, "42%"};
    const PanelLayout layout = LayOutPanel(texts, width, c.dpi);
    for (std::size_t i = 0; i < std::size(kPanel); ++i) {
      const PanelBox& box = layout.parts[i];
      if (kPanel[i].part != PanelPart::Gauge) {
        EXPECT_GE(box.width, width(kPanel[i].part, texts[i])) << "part " << i;
        EXPECT_GE(box.width, kPanel[i].width * c.dpi / 96) << "part " << i;
      }
      if (i > 0) {
        EXPECT_GT(box.left, layout.parts[i - 1].Right()) << "part " << i;
      }
    }
    const std::size_t values[] = {1, 3};
    for (std::size_t f = 0; f < std::size(values); ++f) {
      const PanelBox& frame = layout.frames[f];
      const PanelBox& label = layout.parts[values[f]];
      EXPECT_LT(frame.left, label.left);
      EXPECT_GT(frame.Right(), label.Right());
      EXPECT_LT(frame.top, label.top);
      EXPECT_GT(frame.top + frame.height, label.top + label.height);
    }
    // The gauge gives way inside the window's width while it can.
    const int designedRight = (kPanel[5].left + kPanel[5].width) * c.dpi / 96;
    if (layout.parts[5].left + 36 * c.dpi / 96 <= designedRight) {
      EXPECT_EQ(layout.parts[5].Right(), designedRight);
    }
  }
}

TEST(PanelLayoutTest, ShortTextsKeepTheDesignedPlaces) {
  const std::array<std::string_view, std::size(kPanel)> texts = {"", "", "", "", "", ""};
  const PanelLayout layout = LayOutPanel(texts, MonospacedAt(6, 96), 96);
  for (std::size_t i = 0; i < std::size(kPanel); ++i) {
    const PanelBox& box = layout.parts[i];
    EXPECT_EQ((std::array{box.left, box.top, box.width, box.height}),
              (std::array{kPanel[i].left, kPanel[i].top, kPanel[i].width, kPanel[i].height}))
        << "part " << i;
  }
  for (std::size_t f = 0; f < std::size(kValueFrames); ++f) {
    const PanelBox& box = layout.frames[f];
    const Frame& designed = kValueFrames[f];
    EXPECT_EQ((std::array{box.left, box.top, box.width, box.height}),
              (std::array{designed.left, designed.top, designed.width, designed.height}));
  }
}

}  // namespace
}  // namespace wh
