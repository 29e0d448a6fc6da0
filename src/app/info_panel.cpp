#include "app/info_panel.h"

#include <algorithm>
#include <limits>

#include "index/loader.h"

namespace wh {
namespace {

constexpr std::uint64_t kMegabyte = 1048576;

std::uint64_t Megabytes(std::uint64_t bytes) { return RoundedQuotient(bytes, kMegabyte); }

// The panel's figures in the count format, which prints nothing for zero: a
// machine without a page file or swap would show blanks where "0" is meant.
std::string PanelFigure(std::uint64_t figure, std::string_view separator) {
  return figure == 0 ? "0" : FormatCount(figure, separator);
}

}  // namespace

std::uint64_t RoundedQuotient(std::uint64_t numerator, std::uint64_t denominator) {
  if (denominator == 0) return 0;
  const std::uint64_t quotient = numerator / denominator;
  const std::uint64_t remainder = numerator % denominator;
  // Compare 2 × remainder with the denominator without overflowing.
  const std::uint64_t rest = denominator - remainder;
  if (remainder > rest || (remainder == rest && quotient % 2 == 1)) return quotient + 1;
  return quotient;
}

int InfoPanelFigures::GaugeProgress() const {
  return static_cast<int>(100 - std::min<std::uint64_t>(availPhysPct, 100));
}

InfoPanelFigures ComputeInfoPanelFigures(const MemoryFigures& memory) {
  InfoPanelFigures figures;
  figures.totalPhysMB = Megabytes(memory.totalPhys);
  figures.availPhysMB = Megabytes(memory.availPhys);
  // The percentage from the byte values; scale both down first when the
  // product with 100 would not fit.
  std::uint64_t avail = memory.availPhys;
  std::uint64_t total = memory.totalPhys;
  while (avail > std::numeric_limits<std::uint64_t>::max() / 100) {
    avail >>= 1;
    total >>= 1;
  }
  figures.availPhysPct = RoundedQuotient(avail * 100, total);
  const std::uint64_t totalPageFileMB = Megabytes(memory.totalPageFile);
  figures.availPageFileMB = Megabytes(memory.availPageFile);
  figures.pageFileInUseMB = static_cast<std::int64_t>(totalPageFileMB) -
                            static_cast<std::int64_t>(figures.availPageFileMB);
  return figures;
}

std::string PageFileText(const InfoPanelFigures& figures, std::string_view separator) {
  // A negative figure can't come from a sound system; it shows as none in use.
  const std::uint64_t inUse =
      figures.pageFileInUseMB > 0 ? static_cast<std::uint64_t>(figures.pageFileInUseMB) : 0;
  return PanelFigure(inUse, separator) + " MB in use | " +
         PanelFigure(figures.availPageFileMB, separator) + " MB available";
}

std::string MemoryStatusText(const InfoPanelFigures& figures, std::string_view separator) {
  if (figures.LowOnMemory()) {
    return "Low on physical memory, " + FormatCount(figures.availPhysMB, separator) + " MB of " +
           FormatCount(figures.totalPhysMB, separator) + " MB available!";
  }
  return "Physical memory available for programs: " + FormatCount(figures.availPhysMB, separator) +
         " MB";
}

std::string ProcessCountText(std::optional<std::uint64_t> count) {
  if (!count || *count == 0) return "n/a";
  return std::to_string(*count);
}

}  // namespace wh
