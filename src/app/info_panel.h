// What the information panel shows, computed from the system's figures.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system_figures.h"

namespace wh {

// `numerator` / `denominator` rounded to the nearest whole number, halves to
// the even neighbour; 0 when `denominator` is 0.
std::uint64_t RoundedQuotient(std::uint64_t numerator, std::uint64_t denominator);

struct InfoPanelFigures {
  std::uint64_t totalPhysMB = 0;
  std::uint64_t availPhysMB = 0;
  std::uint64_t availPhysPct = 0;
  std::uint64_t availPageFileMB = 0;
  std::int64_t pageFileInUseMB = 0;

  // The gauge: physical memory in use, 0 to 100.
  int GaugeProgress() const;
  // Less than a tenth of physical memory free: the gauge turns red.
  bool LowOnMemory() const { return availPhysPct < 10; }
};

InfoPanelFigures ComputeInfoPanelFigures(const MemoryFigures& memory);

// "1,500 MB in use | 500 MB available"; a zero figure is "0".
std::string PageFileText(const InfoPanelFigures& figures, std::string_view separator);

// The status line about physical memory: the free memory, or the warning
// when it is low.
std::string MemoryStatusText(const InfoPanelFigures& figures, std::string_view separator);

// The process count in decimal, or "n/a" when there is no count or it is 0.
std::string ProcessCountText(std::optional<std::uint64_t> count);

}  // namespace wh
