// Figures about the running system for the information panel.
#pragma once

#include <cstdint>
#include <optional>

namespace wh {

// Bytes. The page file is what the system reports as such on Windows (its
// commit limit and what is left of it); on Linux swap stands for it.
struct MemoryFigures {
  std::uint64_t totalPhys = 0;
  std::uint64_t availPhys = 0;
  std::uint64_t totalPageFile = 0;
  std::uint64_t availPageFile = 0;
};

class SystemFigures {
 public:
  virtual ~SystemFigures() = default;
  // All zero when the system won't tell.
  virtual MemoryFigures Memory() const = 0;
  // How many processes run; nullopt when they can't be counted.
  virtual std::optional<std::uint64_t> ProcessCount() const = 0;
};

}  // namespace wh
