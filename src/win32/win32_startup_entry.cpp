#include "win32/win32_startup_entry.h"

#include "win32/scoped_handle.h"
#include "win32/utf16.h"

namespace wh {
namespace {

bool CreateKey(HKEY root, const std::wstring& subKey, ScopedRegistryKey& key) {
  return RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, key.Receive(), nullptr) == ERROR_SUCCESS;
}

}  // namespace

RegistryRunKey::RegistryRunKey()
    : RegistryRunKey(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run") {}

bool RegistryRunKey::RunValueExists(const std::string& name) const {
  ScopedRegistryKey key;
  if (RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS) {
    return false;
  }
  DWORD type = 0;
  DWORD size = 0;
  return RegQueryValueExW(key.Get(), Utf8ToWide(name).c_str(), nullptr, &type, nullptr, &size) ==
         ERROR_SUCCESS;
}

void RegistryRunKey::WriteRunValue(const std::string& name, const std::string& command) {
  ScopedRegistryKey key;
  const std::wstring data = Utf8ToWide(command);
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  if (!CreateKey(root_, subKey_, key) ||
      RegSetValueExW(key.Get(), Utf8ToWide(name).c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(data.c_str()), bytes) != ERROR_SUCCESS) {
    throw StartupEntryError("Failed to set data for '" + name + "'");
  }
}

void RegistryRunKey::DeleteRunValue(const std::string& name) {
  ScopedRegistryKey key;
  if (CreateKey(root_, subKey_, key)) RegDeleteValueW(key.Get(), Utf8ToWide(name).c_str());
}

}  // namespace wh
