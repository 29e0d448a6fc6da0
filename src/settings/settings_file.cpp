#include "settings/settings_file.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "settings/ini_file.h"

namespace wh {

namespace {

constexpr const char* kForm = "Form";
constexpr const char* kDirectories = "Directories";
constexpr const char* kProgram = "Program";

struct FlagKey {
  const char* key;
  bool Settings::*field;
};

// In the order they are written.
constexpr FlagKey kDirectoryFlags[] = {
    {"UserStartMenu", &Settings::UserStartMenu},
    {"AllUsersStartMenu", &Settings::AllUsersStartMenu},
    {"UserDeskTop", &Settings::UserDeskTop},
    {"AllUsersDeskTop", &Settings::AllUsersDeskTop},
    {"Favorites", &Settings::Favorites},
    {"History", &Settings::History},
    {"RecentFiles", &Settings::RecentFiles},
};

struct TextKey {
  const char* key;
  std::string Settings::*field;
};

constexpr TextKey kDirectoryTexts[] = {
    {"IgnoreList", &Settings::IgnoreList},
    {"UserDir", &Settings::UserDir},
    {"UserMasks", &Settings::UserMasks},
};

constexpr FlagKey kProgramFlags[] = {
    {"HideWhenLaunching", &Settings::HideWhenLaunching},
    {"AlwaysScreenCenter", &Settings::AlwaysScreenCenter},
    {"StartWithWindows", &Settings::StartWithWindows},
    {"MessageBoxOnError", &Settings::MessageBoxOnError},
    {"ReloadOnPopup", &Settings::ReloadOnPopup},
    {"ShowTitleBar", &Settings::ShowTitleBar},
    {"ShowInfoPanel", &Settings::ShowInfoPanel},
    {"HideToSystemTray", &Settings::HideToSystemTray},
    {"ShowStatusBar", &Settings::ShowStatusBar},
    {"StartOnOneMatch", &Settings::StartOnOneMatch},
    {"AutoComplete", &Settings::AutoComplete},
    {"UseFindDialog", &Settings::UseFindDialog},
    {"StayOnTop", &Settings::StayOnTop},
    {"LoadUserDirOnPopup", &Settings::LoadUserDirOnPopup},
    {"FirstShow", &Settings::HelpShown},
};

// `digits` as a whole, in `base`, without sign.
std::optional<std::uint64_t> ParseDigits(std::string_view digits, int base) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// Hexadecimal text is a 32-bit pattern, so "0xFFFFFFFF" is -1.
std::optional<std::int32_t> ParseHex(std::string_view digits) {
  // from_chars would take a leading "0x"-less sign; we allow none.
  if (digits.empty() || digits.front() == '-' || digits.front() == '+') return std::nullopt;
  auto value = ParseDigits(digits, 16);
  if (!value || *value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
}

// A decimal number with an optional sign, or hexadecimal introduced by "$",
// "x", "X", "0x" or "0X"; the whole text or nothing.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return ParseHex(text.substr(2));
  if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X'))
    return ParseHex(text.substr(1));
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
  auto magnitude = ParseDigits(text, 10);
  if (!magnitude) return std::nullopt;
  constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int32_t>::max();
  if (*magnitude > kMaxPositive + (negative ? 1 : 0)) return std::nullopt;
  std::int64_t value = static_cast<std::int64_t>(*magnitude);
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t ReadInteger(const IniDocument& document, const char* section, const char* key,
                         std::int32_t defaultValue) {
  auto value = ParseInteger(document.Read(section, key).value_or(std::string()));
  return value.value_or(defaultValue);
}

bool ReadFlag(const IniDocument& document, const char* section, const char* key,
              bool defaultValue) {
  return ReadInteger(document, section, key, defaultValue ? 1 : 0) != 0;
}

// The current file to be edited; when there is none yet, the file read
// instead, or an empty one.
IniDocument LoadForEdit(const FileSystem& fileSystem, const TextEncoding& encoding,
                        const std::string& iniPath, const std::string& readPath) {
  auto bytes = fileSystem.ReadWholeFile(iniPath, kMaxSettingsFileSize);
  if (bytes) return IniDocument::Parse(*bytes, encoding);
  // Something is there that we can't read: writing a fresh file over it
  // would lose whatever it holds.
  if (fileSystem.FileExists(iniPath) || fileSystem.DirectoryExists(iniPath))
    throw SettingsWriteError(iniPath);
  if (!readPath.empty() && readPath != iniPath) {
    bytes = fileSystem.ReadWholeFile(readPath, kMaxSettingsFileSize);
    if (bytes) return IniDocument::Parse(*bytes, encoding);
    // Made without it, the new file would hide what it holds from now on.
    if (fileSystem.FileExists(readPath)) throw SettingsWriteError(iniPath);
  }
  return IniDocument();
}

void Set(IniDocument& document, const char* section, const char* key, std::string_view value,
         const std::string& iniPath) {
  if (!document.Write(section, key, value)) throw SettingsWriteError(iniPath);
}

void Store(const FileSystem& fileSystem, const IniDocument& document, const std::string& iniPath) {
  try {
    fileSystem.WriteFileReplacing(iniPath, document.Bytes());
  } catch (const FileWriteError&) {
    throw SettingsWriteError(iniPath);
  }
}

}  // namespace

Settings ReadSettings(const FileSystem& fileSystem, const TextEncoding& encoding,
                      const std::string& iniPath, bool* unread) {
  Settings settings;
  auto bytes = fileSystem.ReadWholeFile(iniPath, kMaxSettingsFileSize);
  if (unread != nullptr) {
    *unread = !bytes && (fileSystem.FileExists(iniPath) || fileSystem.DirectoryExists(iniPath));
  }
  if (!bytes) return settings;
  IniDocument document = IniDocument::Parse(*bytes, encoding);

  settings.FormTop = ReadInteger(document, kForm, "FormTop", settings.FormTop);
  settings.FormLeft = ReadInteger(document, kForm, "FormLeft", settings.FormLeft);
  settings.HotKey = document.Read(kForm, "HotKey").value_or(settings.HotKey);
  for (const FlagKey& flag : kDirectoryFlags)
    settings.*flag.field = ReadFlag(document, kDirectories, flag.key, settings.*flag.field);
  for (const TextKey& text : kDirectoryTexts)
    settings.*text.field = document.Read(kDirectories, text.key).value_or(settings.*text.field);
  for (const FlagKey& flag : kProgramFlags)
    settings.*flag.field = ReadFlag(document, kProgram, flag.key, settings.*flag.field);
  return settings;
}

void WriteSettings(const Settings& settings, const FileSystem& fileSystem,
                   const TextEncoding& encoding, const std::string& iniPath,
                   const std::string& readPath) {
  IniDocument document = LoadForEdit(fileSystem, encoding, iniPath, readPath);
  Set(document, kForm, "HotKey", settings.HotKey, iniPath);
  for (const FlagKey& flag : kDirectoryFlags)
    Set(document, kDirectories, flag.key, settings.*flag.field ? "1" : "0", iniPath);
  for (const TextKey& text : kDirectoryTexts)
    Set(document, kDirectories, text.key, settings.*text.field, iniPath);
  for (const FlagKey& flag : kProgramFlags)
    Set(document, kProgram, flag.key, settings.*flag.field ? "1" : "0", iniPath);
  Store(fileSystem, document, iniPath);
}

void SaveFormPosition(int top, int left, const FileSystem& fileSystem, const TextEncoding& encoding,
                      const std::string& iniPath, const std::string& readPath) {
  IniDocument document = LoadForEdit(fileSystem, encoding, iniPath, readPath);
  Set(document, kForm, "FormTop", std::to_string(top), iniPath);
  Set(document, kForm, "FormLeft", std::to_string(left), iniPath);
  Store(fileSystem, document, iniPath);
}

}  // namespace wh
