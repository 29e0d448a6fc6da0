// The system's list of programs to start when a user logs on: one named
// entry holding a command. The Windows store is the machine-wide Run key; a
// Linux desktop keeps XDG autostart files.
#pragma once

#include <stdexcept>
#include <string>

namespace wh {

// The entry could not be written; what() is "Failed to set data for '<name>'".
class StartupEntryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class StartupEntryStore {
 public:
  virtual ~StartupEntryStore() = default;
  // Whether an entry called `name` exists, whatever it holds. Only looks:
  // never creates the list. A list that can't be opened has no entries.
  virtual bool RunValueExists(const std::string& name) const = 0;
  // Creates or replaces the entry. Throws StartupEntryError when refused.
  virtual void WriteRunValue(const std::string& name, const std::string& command) = 0;
  // Removes the entry if it is there; failures are not reported.
  virtual void DeleteRunValue(const std::string& name) = 0;
};

}  // namespace wh
