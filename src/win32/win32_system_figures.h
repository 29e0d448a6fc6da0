// Memory figures from GlobalMemoryStatusEx, processes from EnumProcesses.
#pragma once

#include "platform/system_figures.h"

namespace wh {

class Win32SystemFigures : public SystemFigures {
 public:
  MemoryFigures Memory() const override;
  // Every process, however many: the buffer grows until the list fits.
  std::optional<std::uint64_t> ProcessCount() const override;
};

}  // namespace wh
