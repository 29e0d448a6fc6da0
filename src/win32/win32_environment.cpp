#include "win32/win32_environment.h"

#include <windows.h>

#include <userenv.h>

#include <string>
#include <string_view>
#include <vector>

#include "win32/scoped_handle.h"

namespace wh {

namespace {

// "NAME=value" entries of a block that ends with an empty one.
std::vector<std::wstring_view> Entries(const wchar_t* block) {
  std::vector<std::wstring_view> entries;
  for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
    entries.emplace_back(entry);
  }
  return entries;
}

// The name of an entry; a drive's current folder ("=C:=C:\x") keeps its
// leading "=".
std::wstring NameOf(std::wstring_view entry) {
  return std::wstring(entry.substr(0, entry.find(L'=', 1)));
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

bool IsEnvironmentChange(const wchar_t* changed) {
  return changed != nullptr && CompareStringOrdinal(changed, -1, L"Environment", -1, TRUE) ==
                                   CSTR_EQUAL;
}

bool RefreshEnvironmentFromSystem() {
  ScopedHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_IMPERSONATE,
                        token.Receive())) {
    return false;
  }
  void* raw = nullptr;
  if (!CreateEnvironmentBlock(&raw, token.Get(), FALSE) || raw == nullptr) return false;
  std::vector<std::wstring> stored;
  for (std::wstring_view entry : Entries(static_cast<const wchar_t*>(raw))) {
    stored.emplace_back(entry);
  }
  DestroyEnvironmentBlock(raw);

  // Variables no store holds any more go, as after a new log-in.
  std::vector<std::wstring> current;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (std::wstring_view entry : Entries(block)) current.emplace_back(NameOf(entry));
    FreeEnvironmentStringsW(block);
  }
  for (const std::wstring& name : current) {
    if (name.empty() || name[0] == L'=') continue;
    bool kept = false;
    for (const std::wstring& entry : stored) kept = kept || SameName(NameOf(entry), name);
    if (!kept) SetEnvironmentVariableW(name.c_str(), nullptr);
  }
  for (const std::wstring& entry : stored) {
    const std::wstring name = NameOf(entry);
    if (name.empty() || name[0] == L'=') continue;
    SetEnvironmentVariableW(name.c_str(), entry.c_str() + name.size() + 1);
  }
  return true;
}

}  // namespace wh
