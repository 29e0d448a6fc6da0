#include "posix/proc_system_figures.h"

#include <dirent.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace wh {

MemoryFigures ProcSystemFigures::Memory() const {
  std::ifstream meminfo(root_ + "/meminfo");
  std::map<std::string, std::uint64_t> kilobytes;
  std::string line;
  while (std::getline(meminfo, line)) {
    std::istringstream fields(line);
    std::string key;
    std::uint64_t value = 0;
    if (fields >> key >> value && !key.empty() && key.back() == ':') {
      key.pop_back();
      kilobytes[key] = value;
    }
  }
  auto bytes = [&](const char* key) -> std::uint64_t {
    auto found = kilobytes.find(key);
    return found == kilobytes.end() ? 0 : found->second * 1024;
  };
  MemoryFigures figures;
  figures.totalPhys = bytes("MemTotal");
  figures.availPhys = kilobytes.count("MemAvailable") ? bytes("MemAvailable") : bytes("MemFree");
  figures.totalPageFile = bytes("SwapTotal");
  figures.availPageFile = bytes("SwapFree");
  return figures;
}

std::optional<std::uint64_t> ProcSystemFigures::ProcessCount() const {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(root_.c_str()), closedir);
  if (!dir) return std::nullopt;
  std::uint64_t count = 0;
  while (const dirent* entry = readdir(dir.get())) {
    const char* name = entry->d_name;
    if (*name == '\0') continue;
    bool digits = true;
    for (const char* c = name; *c; ++c) digits = digits && *c >= '0' && *c <= '9';
    if (digits) ++count;
  }
  return count;
}

}  // namespace wh
