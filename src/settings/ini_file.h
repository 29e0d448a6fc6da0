// An INI file read and written the way the system's profile functions do it:
// sections and keys without regard to case, the value after the first "="
// without surrounding blanks and one pair of surrounding quotes, the first of
// duplicate sections or keys wins. Edits keep every other character of the
// file, and a file goes back in the encoding it came in.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/text_encoding.h"

namespace wh {

// A write of the settings file that the system refused, or that would have
// broken the file. Its text is the message the user sees.
class SettingsWriteError : public std::runtime_error {
 public:
  explicit SettingsWriteError(const std::string& path);
};

class IniDocument {
 public:
  // The longest value that is read; a longer one is cut.
  static constexpr std::size_t kMaxValueLength = 2047;

  IniDocument() = default;

  // How the file's bytes hold its text.
  enum class Encoding { Utf8, Utf16Le, Utf16Be };

  // Takes the bytes of a settings file: UTF-16 in either byte order when they
  // start with its byte-order mark, as the system's profile functions read
  // it; else UTF-8 (a BOM is allowed) when they are valid UTF-8; otherwise
  // text in the system code page, which is written back as UTF-8.
  static IniDocument Parse(std::string_view bytes, const TextEncoding& encoding);

  // The value of `key` in `section`, at most kMaxValueLength characters, or
  // nullopt when the section or the key is missing. "key=" gives "".
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;

  // Sets `key` in `section` to `value`: in place when the key exists, else at
  // the end of its section, else in a new section at the end. Returns false,
  // changing nothing, when the key or value can't be stored as one line
  // (a line break, a key with "=" or starting with "[" or ";", an empty key),
  // is not valid UTF-8, or is a value longer than a read gives back.
  [[nodiscard]] bool Write(std::string_view section, std::string_view key, std::string_view value);

  // The file's text, UTF-8.
  const std::string& Text() const { return text_; }
  // The file's bytes, all in the file's own encoding (with its byte-order
  // mark for UTF-16), so that an edit never mixes two encodings in one file.
  std::string Bytes() const;

 private:
  std::string text_;
  Encoding encoding_ = Encoding::Utf8;
};

}  // namespace wh
