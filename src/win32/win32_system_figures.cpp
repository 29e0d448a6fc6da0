#include "win32/win32_system_figures.h"

#include <windows.h>

#include <psapi.h>

#include <vector>

namespace wh {

MemoryFigures Win32SystemFigures::Memory() const {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!GlobalMemoryStatusEx(&status)) return {};
  return {status.ullTotalPhys, status.ullAvailPhys, status.ullTotalPageFile,
          status.ullAvailPageFile};
}

std::optional<std::uint64_t> Win32SystemFigures::ProcessCount() const {
  std::vector<DWORD> ids(1024);
  for (;;) {
    const DWORD room = static_cast<DWORD>(ids.size() * sizeof(DWORD));
    DWORD returned = 0;
    if (!EnumProcesses(ids.data(), room, &returned)) return std::nullopt;
    // A full buffer may have cut the list short.
    if (returned < room) return returned / sizeof(DWORD);
    ids.resize(ids.size() * 2);
  }
}

}  // namespace wh
