#include "win32/win32_startup_entry.h"

#include "win32/scoped_handle.h"
#include "win32/utf16.h"

namespace wh {
namespace {

// Each call asks for no more access than it needs: a standard user may read
// the machine's Run key but not write it.
bool OpenKey(HKEY root, const std::wstring& subKey, REGSAM access, ScopedRegistryKey& key) {
  return RegOpenKeyExW(root, subKey.c_str(), 0, access, key.Receive()) == ERROR_SUCCESS;
}

}  // namespace

bool RegistryRunKey::RunValueExists(const std::string& name) const {
  ScopedRegistryKey key;
  if (!OpenKey(root_, subKey_, KEY_QUERY_VALUE, key)) return false;
  DWORD type = 0;
  DWORD size = 0;
  return RegQueryValueExW(key.Get(), Utf8ToWide(name).c_str(), nullptr, &type, nullptr, &size) ==
         ERROR_SUCCESS;
}

void RegistryRunKey::WriteRunValue(const std::string& name, const std::string& command) {
  ScopedRegistryKey key;
  const std::wstring data = Utf8ToWide(command);
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  if (RegCreateKeyExW(root_, subKey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, key.Receive(), nullptr) != ERROR_SUCCESS ||
      RegSetValueExW(key.Get(), Utf8ToWide(name).c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(data.c_str()), bytes) != ERROR_SUCCESS) {
    throw StartupEntryError("Failed to set data for '" + name + "'");
  }
}

void RegistryRunKey::DeleteRunValue(const std::string& name) {
  ScopedRegistryKey key;
  if (OpenKey(root_, subKey_, KEY_SET_VALUE, key))
    RegDeleteValueW(key.Get(), Utf8ToWide(name).c_str());
}

}  // namespace wh
