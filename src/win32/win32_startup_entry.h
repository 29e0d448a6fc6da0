// A Run key of the registry as the start-up entry store: the machine-wide
// one, or the user's own (HKEY_CURRENT_USER), for MachineOrUserStartupEntries.
#pragma once

#include <windows.h>

#include <string>

#include "platform/startup_entry.h"

namespace wh {

class RegistryRunKey : public StartupEntryStore {
 public:
  // HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run unless
  // told otherwise (tests use a key of their own).
  RegistryRunKey() : RegistryRunKey(HKEY_LOCAL_MACHINE, kRunKey) {}
  RegistryRunKey(HKEY root, std::wstring subKey) : root_(root), subKey_(std::move(subKey)) {}

  // Opens the key for reading only, without creating it; a key that can't
  // be opened holds no value.
  bool RunValueExists(const std::string& name) const override;
  // Creates the key if missing and stores `command` as REG_SZ with its
  // terminating zero.
  void WriteRunValue(const std::string& name, const std::string& command) override;
  // Never creates the key just to find nothing in it.
  void DeleteRunValue(const std::string& name) override;

  static constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

 private:
  HKEY root_;
  std::wstring subKey_;
};

}  // namespace wh
