// The shared instance record as a named mapping backed by the paging file,
// and what a second start does to the first copy's window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/instance_record.h"

namespace wh {

// The system's text for an error code, without the trailing line break.
std::string SystemMessageText(DWORD code);

// Window handles are 32-bit values sign-extended on 64-bit Windows.
std::uint32_t WindowToRecord(HWND window);
HWND RecordToWindow(std::uint32_t value);

class Win32InstanceMappings : public InstanceMappings {
 public:
  // CreateFileMappingW of 8 bytes; throws SystemError with the system's
  // error when neither a new nor the existing mapping can be had or mapped.
  Created Create(const std::string& name) override;
  // OpenFileMappingW with full access, then the whole record mapped.
  std::unique_ptr<MappedInstanceRecord> Open(const std::string& name) override;
};

class Win32InstanceWindows : public InstanceWindows {
 public:
  bool IsMinimized(std::uint32_t window) const override;
  void Restore(std::uint32_t window) override;
  void BringToFront(std::uint32_t window) override;
};

}  // namespace wh
