// The record that running copies of one executable share, so that a second
// start can find the first. One small named block of shared memory per
// executable path; no lock guards it.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace wh {

// The shared block, byte for byte: 8 bytes, little-endian as the machine.
struct InstanceRecord {
  // The application window of the copy that registered last. Window handles
  // fit in 32 bits on 64-bit Windows as well, which is what lets a 32-bit
  // and a 64-bit build share the record.
  std::uint32_t WindowHandle;
  // Copies registered and not yet ended.
  std::int32_t InstanceCount;
};
static_assert(sizeof(InstanceRecord) == 8);

// An operating-system call failed with `code` (0 when the system gave none);
// what() is the system's own text for it.
class SystemError : public std::runtime_error {
 public:
  SystemError(std::uint32_t code, const std::string& systemText)
      : std::runtime_error(systemText), code_(code) {}
  std::uint32_t Code() const { return code_; }

 private:
  std::uint32_t code_;
};

// One open, mapped handle to a named record; closing it unmaps the view and
// closes the handle. The block itself lives while any process holds it.
class MappedInstanceRecord {
 public:
  virtual ~MappedInstanceRecord() = default;
  virtual InstanceRecord& Record() = 0;
};

class InstanceMappings {
 public:
  virtual ~InstanceMappings() = default;

  struct Created {
    // The block, mapped; zero-filled when it is new.
    std::unique_ptr<MappedInstanceRecord> mapping;
    // True when a block of that name existed already.
    bool alreadyExisted = false;
  };
  // Creates the block named `name`, or opens it if it exists. Throws
  // SystemError when neither can be done.
  virtual Created Create(const std::string& name) = 0;

  // Opens an existing block; nullptr when there is none or it can't be
  // opened or mapped.
  virtual std::unique_ptr<MappedInstanceRecord> Open(const std::string& name) = 0;
};

// What a second start may do to the first copy's window.
class InstanceWindows {
 public:
  virtual ~InstanceWindows() = default;
  virtual bool IsMinimized(std::uint32_t window) const = 0;
  virtual void Restore(std::uint32_t window) = 0;
  virtual void BringToFront(std::uint32_t window) = 0;
};

}  // namespace wh
