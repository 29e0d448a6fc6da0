// One running copy per executable path: the first start registers itself in
// the shared record, a later start brings the first copy's window forward and
// stops.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/instance_record.h"

namespace wh {

// The record's name: the executable's full path with every backslash
// removed ("C:Toolswordhopper.exe" for "C:\Tools\wordhopper.exe").
std::string InstanceMappingName(std::string_view exePath);

// The message shown when the record can't be created: "System Error.  Code:
// N." and the system's text on a new line, or "A call to an OS function
// failed" when the system gave no code.
std::string SystemErrorText(const SystemError& error);

class SingleInstance {
 public:
  SingleInstance(InstanceMappings& mappings, InstanceWindows& windows)
      : mappings_(mappings), windows_(windows) {}
  ~SingleInstance() { ReleaseInstance(); }
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Registers this copy under `exePath` with `ownWindow` as the window to
  // bring forward. True means the limit of running copies is reached, or the
  // existing record can't be opened: this process must stop now (the first
  // copy's window has been restored and brought to the front). Throws
  // SystemError when the record can't be created at all.
  bool RestoreIfRunning(std::string_view exePath, std::uint32_t ownWindow, int maxInstances);

  // Gives this copy's slot back, if it took one, and lets go of the record.
  // Runs once; later calls do nothing.
  void ReleaseInstance();

  bool OwnsInstanceSlot() const { return ownsInstanceSlot_; }

 private:
  InstanceMappings& mappings_;
  InstanceWindows& windows_;
  std::string name_;
  std::unique_ptr<MappedInstanceRecord> mapping_;
  bool ownsInstanceSlot_ = true;
  bool released_ = false;
};

}  // namespace wh
