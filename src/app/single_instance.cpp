#include "app/single_instance.h"

#include <algorithm>

namespace wh {

std::string InstanceMappingName(std::string_view exePath) {
  std::string name(exePath);
  name.erase(std::remove(name.begin(), name.end(), '\\'), name.end());
  return name;
}

std::string SystemErrorText(const SystemError& error) {
  if (error.Code() == 0) return "A call to an OS function failed";
  return "System Error.  Code: " + std::to_string(error.Code()) + ".\r\n" + error.what();
}

bool SingleInstance::RestoreIfRunning(std::string_view exePath, std::uint32_t ownWindow,
                                      int maxInstances) {
  name_ = InstanceMappingName(exePath);
  InstanceMappings::Created created = mappings_.Create(name_);
  if (!created.alreadyExisted) {
    mapping_ = std::move(created.mapping);
    InstanceRecord& record = mapping_->Record();
    record.WindowHandle = ownWindow;
    record.InstanceCount = 1;
    return false;
  }

  // The created handle keeps the record alive until it is open again: a
  // first copy ending in between would otherwise take the record with it and
  // this start would end as if another copy ran.
  mapping_ = mappings_.Open(name_);
  created.mapping.reset();
  if (!mapping_) {
    ownsInstanceSlot_ = false;
    return true;
  }
  InstanceRecord& record = mapping_->Record();
  if (maxInstances > record.InstanceCount) {
    record.WindowHandle = ownWindow;
    record.InstanceCount = record.InstanceCount + 1;
    return false;
  }

  ownsInstanceSlot_ = false;
  const std::uint32_t running = record.WindowHandle;
  if (windows_.IsMinimized(running)) windows_.Restore(running);
  windows_.BringToFront(running);
  return true;
}

void SingleInstance::ReleaseInstance() {
  if (released_) return;
  released_ = true;
  if (ownsInstanceSlot_ && !name_.empty()) {
    if (std::unique_ptr<MappedInstanceRecord> again = mappings_.Open(name_)) {
      again->Record().InstanceCount -= 1;
    }
  }
  mapping_.reset();
  name_.clear();
}

}  // namespace wh
