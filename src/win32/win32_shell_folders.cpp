#include "win32/win32_shell_folders.h"

#include <windows.h>

#include <shlwapi.h>

#include <iterator>
#include <string_view>

#include "win32/scoped_handle.h"
#include "win32/utf16.h"

namespace wh {

namespace {

constexpr wchar_t kShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Room for the expanded path of an all-users folder, zero included; a longer
// one is taken as no folder.
constexpr DWORD kExpandedRoom = MAX_PATH - 1;

std::wstring ReadTextValue(HKEY root, const std::wstring& valueName) {
  ScopedRegistryKey key;
  if (RegOpenKeyExW(root, kShellFoldersKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) {
    return {};
  }
  // The value may change between asking for its size and reading it.
  std::wstring text;
  DWORD bytes = 0;
  DWORD type = 0;
  LSTATUS status = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &bytes);
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    text.assign(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    status = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(text.data()), &bytes);
    if (status == ERROR_SUCCESS) {
      if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
      // Stored text need not end in a zero, or may hold one early.
      text.resize(bytes / sizeof(wchar_t));
      const std::size_t end = text.find(L'\0');
      if (end != std::wstring::npos) text.resize(end);
      return text;
    }
  }
  return {};
}

std::wstring ExpandReferences(const std::wstring& text) {
  wchar_t expanded[kExpandedRoom];
  const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), expanded, kExpandedRoom);
  if (needed == 0 || needed > kExpandedRoom) return {};
  return expanded;
}

// Where Explorer records each folder: the name of its value, and whether it
// is kept for all users.
struct RegistryValue {
  KnownFolder folder;
  const char* name;
  bool allUsers;
};
constexpr RegistryValue kValues[] = {
    {KnownFolder::Recent, "Recent", false},
    {KnownFolder::History, "History", false},
    {KnownFolder::Favorites, "Favorites", false},
    {KnownFolder::CommonDesktop, "Common Desktop", true},
    {KnownFolder::Desktop, "Desktop", false},
    {KnownFolder::CommonStartMenu, "Common Start Menu", true},
    {KnownFolder::StartMenu, "Start Menu", false},
    {KnownFolder::Personal, "Personal", false},
};

}  // namespace

std::string Win32ShellFolders::ShellFolderPath(KnownFolder folder) const {
  for (const RegistryValue& value : kValues) {
    if (value.folder == folder) return ShellFolderValue(value.name, value.allUsers);
  }
  return {};
}

std::string ShellFolderValue(std::string_view valueName, bool allUsers) {
  std::wstring path =
      ReadTextValue(allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, Utf8ToWide(valueName));
  if (allUsers && !path.empty()) path = ExpandReferences(path);
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return WideToUtf8(path);
}

std::string ResolveIndirectString(const std::wstring& reference) {
  std::wstring expanded(reference.size() + MAX_PATH, L'\0');
  for (;;) {
    const DWORD needed = ExpandEnvironmentStringsW(reference.c_str(), expanded.data(),
                                                   static_cast<DWORD>(expanded.size()));
    if (needed == 0) return {};
    if (needed <= expanded.size()) break;
    expanded.resize(needed);
  }
  wchar_t text[1024];
  if (FAILED(SHLoadIndirectString(expanded.c_str(), text, static_cast<UINT>(std::size(text)),
                                  nullptr))) {
    return {};
  }
  return WideToUtf8(text);
}

namespace {

std::wstring Trimmed(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  const std::size_t last = text.find_last_not_of(L" \t");
  return std::wstring(text.substr(first, last - first + 1));
}

}  // namespace

std::vector<std::pair<std::string, std::string>> Win32ShellFolders::LocalizedFileNames(
    const std::string& folder) const {
  std::vector<std::pair<std::string, std::string>> names;
  const std::wstring ini = Utf8ToWide(folder + "desktop.ini");
  // Most folders have none; a missing file is the common, cheap answer.
  if (GetFileAttributesW(ini.c_str()) == INVALID_FILE_ATTRIBUTES) return names;
  // The section comes as "file=name" lines, each ended by a zero.
  std::wstring section(32767, L'\0');
  const DWORD length = GetPrivateProfileSectionW(L"LocalizedFileNames", section.data(),
                                                 static_cast<DWORD>(section.size()), ini.c_str());
  section.resize(length);
  std::size_t start = 0;
  while (start < section.size()) {
    std::size_t end = section.find(L'\0', start);
    if (end == std::wstring::npos) end = section.size();
    const std::wstring_view line(section.data() + start, end - start);
    start = end + 1;
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) continue;
    const std::wstring file = Trimmed(line.substr(0, equals));
    const std::wstring value = Trimmed(line.substr(equals + 1));
    if (file.empty() || value.empty()) continue;
    std::string shown = value[0] == L'@' ? ResolveIndirectString(value) : WideToUtf8(value);
    if (!shown.empty()) names.emplace_back(WideToUtf8(file), std::move(shown));
  }
  return names;
}

}  // namespace wh
