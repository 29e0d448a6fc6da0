// Memory and process figures of a Linux system, read from /proc. Swap stands
// for the page file.
#pragma once

#include <string>

#include "platform/system_figures.h"

namespace wh {

class ProcSystemFigures : public SystemFigures {
 public:
  // `procRoot`: where proc is mounted; tests hand in a prepared tree.
  explicit ProcSystemFigures(std::string procRoot = "/proc") : root_(std::move(procRoot)) {}

  // MemTotal, MemAvailable (MemFree on kernels without it), SwapTotal and
  // SwapFree of meminfo, in bytes; all zero when meminfo can't be read.
  MemoryFigures Memory() const override;
  // The numbered entries of the proc root; nullopt when it can't be listed.
  std::optional<std::uint64_t> ProcessCount() const override;

 private:
  std::string root_;
};

}  // namespace wh
