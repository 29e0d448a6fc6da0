#include "settings/ini_file.h"

#include "base/text.h"
#include "base/wtf8.h"

#include <cstdint>

namespace wh {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// UTF-16 text without its byte-order mark, as the program's text: WTF-8, as
// the wide functions' answers become, so a lone surrogate comes back whole.
// An odd last byte is no character and is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return Utf16ToWtf8(units);
}

// The program's text as UTF-16 in the given byte order.
std::string Utf8ToUtf16(std::string_view text, bool bigEndian) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t unit : Wtf8ToUtf16(text)) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

// The blanks that the profile functions ignore around names and values.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The first `maxUnits` UTF-16 code units' worth of `s`, never splitting a
// character: the wide profile functions count their buffer in those units.
std::string_view CutToUtf16Units(std::string_view s, std::size_t maxUnits) {
  std::size_t units = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t length = CharLength(s, i);
    std::size_t needed = length == 4 ? 2 : 1;
    if (units + needed > maxUnits) break;
    units += needed;
    i += length;
  }
  return s.substr(0, i);
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool IsQuotedPair(std::string_view s) {
  return s.size() >= 2 && IsQuote(s.front()) && s.back() == s.front();
}

struct Line {
  std::size_t begin = 0;  // first byte
  std::size_t end = 0;    // end of the text, before the line break
  std::size_t next = 0;   // first byte after the line break
};

// Splits at CR LF, LF or a lone CR.
class LineReader {
 public:
  LineReader(std::string_view text, std::size_t start) : text_(text), pos_(start) {}

  bool Next(Line& line) {
    if (pos_ >= text_.size()) return false;
    line.begin = pos_;
    std::size_t brk = text_.find_first_of("\r\n", pos_);
    if (brk == std::string_view::npos) {
      line.end = line.next = text_.size();
    } else {
      line.end = brk;
      line.next = brk + 1;
      if (text_[brk] == '\r' && brk + 1 < text_.size() && text_[brk + 1] == '\n') ++line.next;
    }
    pos_ = line.next;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_;
};

// Where a section and a key are in the text. Only the first section of a
// name counts, and within it only the first key of a name.
struct Location {
  bool sectionFound = false;
  // Where a new key of the section goes: behind the section's last line that
  // isn't blank or a comment, or behind its header.
  std::size_t insertAt = 0;
  bool insertAfterUnterminatedLine = false;
  bool keyFound = false;
  std::size_t valueBegin = 0;
  std::size_t valueEnd = 0;
};

Location Locate(std::string_view text, std::size_t start, std::string_view section,
                std::string_view key) {
  Location where;
  bool inSection = false;
  LineReader reader(text, start);
  Line line;
  while (reader.Next(line)) {
    std::string_view content = text.substr(line.begin, line.end - line.begin);
    std::string_view trimmed = Trim(content);
    if (trimmed.empty()) continue;
    if (trimmed.front() == '[') {
      if (inSection) break;
      // The name ends at the first "]", or at the end of the line without one.
      std::string_view name = trimmed.substr(1);
      name = Trim(name.substr(0, name.find(']')));
      if (!where.sectionFound && AsciiEqualIgnoringCase(name, section)) {
        where.sectionFound = inSection = true;
        where.insertAt = line.next;
        where.insertAfterUnterminatedLine = line.next == line.end;
      }
      continue;
    }
    if (!inSection || trimmed.front() == ';') continue;
    where.insertAt = line.next;
    where.insertAfterUnterminatedLine = line.next == line.end;
    std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) continue;
    if (!AsciiEqualIgnoringCase(Trim(trimmed.substr(0, equals)), key)) continue;
    std::string_view value = Trim(trimmed.substr(equals + 1));
    std::size_t trimmedBegin =
        line.begin + static_cast<std::size_t>(trimmed.data() - content.data());
    where.keyFound = true;
    where.valueBegin = value.empty()
                           ? trimmedBegin + trimmed.size()
                           : trimmedBegin + static_cast<std::size_t>(value.data() - trimmed.data());
    where.valueEnd = where.valueBegin + value.size();
    return where;
  }
  return where;
}

// The value as it goes into the file so that reading gives it back: blanks
// at either end or a surrounding pair of quotes would be taken off when it is
// read, so such a value gets a pair of quotes of its own.
std::string EncodeValue(std::string_view value) {
  bool needsQuotes =
      (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) || IsQuotedPair(value);
  if (!needsQuotes) return std::string(value);
  std::string quoted = "\"";
  quoted += value;
  quoted += '"';
  return quoted;
}

// The line break that the file already uses, CR LF for a file without one.
std::string_view LineBreakOf(std::string_view text) {
  std::size_t brk = text.find_first_of("\r\n");
  if (brk == std::string_view::npos) return "\r\n";
  if (text[brk] == '\n') return "\n";
  if (brk + 1 < text.size() && text[brk + 1] == '\n') return "\r\n";
  return "\r";
}

}  // namespace

SettingsWriteError::SettingsWriteError(const std::string& path)
    : std::runtime_error("Unable to write to " + path) {}

IniDocument IniDocument::Parse(std::string_view bytes, const TextEncoding& encoding) {
  IniDocument document;
  if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom)) {
    const bool bigEndian = bytes.starts_with(kUtf16BeBom);
    document.encoding_ = bigEndian ? Encoding::Utf16Be : Encoding::Utf16Le;
    document.text_ = Utf16ToUtf8(bytes.substr(2), bigEndian);
    return document;
  }
  bool hasBom = bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
  std::string_view body = hasBom ? bytes.substr(kUtf8Bom.size()) : bytes;
  if (IsValidUtf8(body)) {
    document.text_ = std::string(bytes);
  } else {
    // Not UTF-8 after all: a file written in the legacy code page. The BOM,
    // if any, was an accident of its bytes and is dropped with the rest.
    document.text_ = encoding.SystemCodePageToUtf8(body);
  }
  return document;
}

std::optional<std::string> IniDocument::Read(std::string_view section, std::string_view key) const {
  std::string_view text = text_;
  std::size_t start = text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
  Location where = Locate(text, start, Trim(section), Trim(key));
  if (!where.keyFound) return std::nullopt;
  std::string_view value = text.substr(where.valueBegin, where.valueEnd - where.valueBegin);
  if (IsQuotedPair(value)) value = value.substr(1, value.size() - 2);
  return std::string(CutToUtf16Units(value, kMaxValueLength));
}

std::string IniDocument::Bytes() const {
  switch (encoding_) {
    case Encoding::Utf16Le:
      return std::string(kUtf16LeBom) + Utf8ToUtf16(text_, false);
    case Encoding::Utf16Be:
      return std::string(kUtf16BeBom) + Utf8ToUtf16(text_, true);
    case Encoding::Utf8:
      break;
  }
  return text_;
}

bool IniDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (section.empty() || HasLineBreakOrNul(section) || section.find(']') != std::string_view::npos)
    return false;
  if (key.empty() || HasLineBreakOrNul(key) || key.find('=') != std::string_view::npos ||
      key.front() == '[' || key.front() == ';')
    return false;
  if (HasLineBreakOrNul(value)) return false;
  // The text is kept as UTF-8: a stray byte would make the next read take a
  // UTF-8 file for the legacy code page, and has no UTF-16 form. And a value longer than a read
  // takes would come back cut.
  if (!IsValidUtf8(section) || !IsValidUtf8(key) || !IsValidUtf8(value)) return false;
  if (CutToUtf16Units(value, kMaxValueLength).size() != value.size()) return false;

  std::string_view text = text_;
  std::size_t start = text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
  Location where = Locate(text, start, section, key);
  std::string encoded = EncodeValue(value);
  std::string lineBreak(LineBreakOf(text.substr(start)));

  if (where.keyFound) {
    text_.replace(where.valueBegin, where.valueEnd - where.valueBegin, encoded);
    return true;
  }
  std::string entry = std::string(key) + "=" + encoded;
  if (where.sectionFound) {
    // A lone CR in front of the LF that follows would join it into one break.
    if (lineBreak == "\r" && where.insertAt < text.size() && text[where.insertAt] == '\n')
      lineBreak = "\r\n";
    std::string insertion = where.insertAfterUnterminatedLine ? lineBreak : std::string();
    insertion += entry + lineBreak;
    text_.insert(where.insertAt, insertion);
    return true;
  }
  if (text_.size() > start && text_.back() != '\n' && text_.back() != '\r') text_ += lineBreak;
  text_ += "[" + std::string(section) + "]" + lineBreak + entry + lineBreak;
  return true;
}

}  // namespace wh
