#include "settings/program_paths.h"

#include <utility>

namespace wh {

std::string ProgramDirOf(std::string_view exePath, char separator) {
  const char separators[] = {separator, '/', '\0'};
  std::size_t last = exePath.find_last_of(separators);
  if (last == std::string_view::npos) return {};
  return std::string(exePath.substr(0, last + 1));
}

std::string SettingsFilePath(std::string_view programDir) {
  return std::string(programDir) + std::string(ProgramName) + ".ini";
}

SettingsFiles ChooseSettingsFiles(const FileSystem& fileSystem, std::string_view programDir,
                                  std::string_view userDir) {
  std::string beside = SettingsFilePath(programDir);
  if (userDir.empty() || (fileSystem.FileExists(beside) && fileSystem.CanWriteFile(beside)) ||
      fileSystem.CanCreateIn(std::string(programDir))) {
    return {beside, beside};
  }
  std::string own = SettingsFilePath(userDir);
  if (fileSystem.FileExists(own) || fileSystem.DirectoryExists(own)) return {own, own};
  return {std::move(beside), std::move(own)};
}

}  // namespace wh
