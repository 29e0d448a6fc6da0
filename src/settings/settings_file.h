// Reading and writing the settings record in the settings file. The file is
// read whole and written whole: a write replaces it in one step, so a refused
// write leaves the old file as it was.
#pragma once

#include <cstddef>
#include <string>

#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "settings/settings.h"

namespace wh {

// A settings file larger than this is not a settings file: reading it gives
// the defaults, and it is never overwritten.
inline constexpr std::size_t kMaxSettingsFileSize = 1024 * 1024;

// Every field from the file at `iniPath`; a missing key, or a value that
// doesn't convert, gives the field's default. A missing, unreadable, oversized
// or garbled file gives the defaults. Never fails; never creates the file.
// `unread`, when given, learns whether something is there by that name that
// could not be read (unreadable, oversized, a folder): what it holds is
// unknown, so it must not be written over.
Settings ReadSettings(const FileSystem& fileSystem, const TextEncoding& encoding,
                      const std::string& iniPath, bool* unread = nullptr);

// Writes every field except FormTop and FormLeft. Keys and sections the
// program doesn't know stay as they are. Throws SettingsWriteError ("Unable to write
// to <iniPath>") when the system refuses the write, when a value can't be
// stored on one line, or when an existing file can't be read to be edited; the
// file is then left untouched. A file not there yet starts as a copy of the
// one at `readPath`, when that is another, so that it keeps what was read
// there (the window position, keys of other versions).
void WriteSettings(const Settings& settings, const FileSystem& fileSystem,
                   const TextEncoding& encoding, const std::string& iniPath,
                   const std::string& readPath = {});

// Writes FormTop and FormLeft of section Form; fails as WriteSettings does.
void SaveFormPosition(int top, int left, const FileSystem& fileSystem, const TextEncoding& encoding,
                      const std::string& iniPath, const std::string& readPath = {});

}  // namespace wh
