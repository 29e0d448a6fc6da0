// The shared instance record as a POSIX shared-memory object.
//
// Unlike a Windows mapping, a shared-memory object outlives the processes that
// use it, so a copy that crashed would leave its count behind and block every
// later start. The object therefore carries advisory locks (open-file-
// description locks, which belong to one open of the object rather than to the
// process, and which the system drops when a process ends however it ends):
//
//  - byte 0, the "life" lock: every open mapping holds a shared lock on it for
//    as long as it exists. Nobody holding it means no live process has the
//    record open, whatever the record says.
//  - byte 1, the "gate": taken exclusively, and waited for, around every
//    decision about the object's life (Create, Open, closing a mapping), so
//    those decisions never interleave.
//
// Create, under the gate: an object that no one else holds a life lock on is
// new or left by a crash; it is emptied and reported as new
// (alreadyExisted false). An object with a live holder is reported as existing.
//
// Closing a mapping, under the gate: when no other mapping holds a life lock,
// the object is removed (shm_unlink), so nothing is left behind once every
// copy has ended. A start that opened the name just before the removal finds,
// once it has the gate, that its object has no name any more, and opens the
// name again.
//
// The descriptors are close-on-exec: a launched program never inherits a lock
// and so never keeps a crashed record alive.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/instance_record.h"

namespace wh {

// The shared-memory object name for a record name (the executable's path on
// Linux, slashes and all): "/wordhopper-<effective user id>-" and the name
// with '%' written "%25", '/' "%2F" and NUL "%00". The user id keeps two users
// of one executable apart, as a desktop session does on Windows. A name that
// would not fit NAME_MAX is cut and ends in "%H" and 16 hex digits of a hash
// of the whole; "%H" never comes out of the escaping, so a cut name can't
// equal an uncut one.
std::string SharedMemoryObjectName(std::string_view recordName);

class PosixInstanceMappings : public InstanceMappings {
 public:
  // Opens the object, creating it if missing, sized to 8 bytes and mapped
  // shared; see above for when it counts as new. Throws SystemError with
  // errno and its text when the object can't be had, sized, locked or mapped.
  Created Create(const std::string& name) override;
  // Opens and maps the object if it exists and holds a whole record; nullptr
  // otherwise. Does not reset a record that has no live holder.
  std::unique_ptr<MappedInstanceRecord> Open(const std::string& name) override;
};

}  // namespace wh
