#include "posix/bookmark_files.h"

#include <cstdint>

#include "base/text.h"
#include "base/wtf8.h"

namespace wh {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view TrimXmlSpace(std::string_view text) {
  while (!text.empty() && IsXmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsXmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

// "#38" or "#x26" as the character it stands for; false for anything else.
bool AppendCharacterReference(std::string& out, std::string_view reference) {
  if (reference.size() < 2 || reference[0] != '#') return false;
  const bool hex = reference[1] == 'x';
  const std::string_view digits = reference.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return false;
  std::uint32_t c = 0;
  for (const char d : digits) {
    int value = -1;
    if (d >= '0' && d <= '9') value = d - '0';
    if (hex && d >= 'a' && d <= 'f') value = d - 'a' + 10;
    if (hex && d >= 'A' && d <= 'F') value = d - 'A' + 10;
    if (value < 0) return false;
    c = c * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
  }
  if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  AppendUtf8(out, c);
  return true;
}

// Text as XML writes it, its references resolved; one it doesn't know stays
// as written.
std::string XmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t amp = text.find('&', i);
    out.append(text.substr(i, amp == npos ? npos : amp - i));
    if (amp == npos) break;
    const std::size_t semicolon = text.find(';', amp);
    if (semicolon == npos) {
      out.append(text.substr(amp));
      break;
    }
    const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
    if (name == "amp") {
      out.push_back('&');
    } else if (name == "lt") {
      out.push_back('<');
    } else if (name == "gt") {
      out.push_back('>');
    } else if (name == "quot") {
      out.push_back('"');
    } else if (name == "apos") {
      out.push_back('\'');
    } else if (!AppendCharacterReference(out, name)) {
      out.append(text.substr(amp, semicolon - amp + 1));
    }
    i = semicolon + 1;
  }
  return out;
}

// Whether `text` starts with the start tag of `element` (not with that of
// "element:child" or "elementName").
bool StartsWithStartTag(std::string_view text, std::string_view element) {
  if (text.size() < element.size() + 2 || text[0] != '<') return false;
  if (text.substr(1, element.size()) != element) return false;
  const char after = text[element.size() + 1];
  return IsXmlSpace(after) || after == '>' || after == '/';
}

// Where the tag that starts at `start` ends (its ">"), quoted values passed
// over; npos when it doesn't.
std::size_t TagEnd(std::string_view text, std::size_t start) {
  char quote = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i;
    }
  }
  return npos;
}

// The value of the attribute `name` among a start tag's `attributes`; "" when
// it has none.
std::string Attribute(std::string_view attributes, std::string_view name) {
  std::size_t i = 0;
  while (i < attributes.size()) {
    while (i < attributes.size() && IsXmlSpace(attributes[i])) ++i;
    const std::size_t nameStart = i;
    while (i < attributes.size() && attributes[i] != '=' && !IsXmlSpace(attributes[i])) ++i;
    const std::string_view found = attributes.substr(nameStart, i - nameStart);
    while (i < attributes.size() && IsXmlSpace(attributes[i])) ++i;
    if (i >= attributes.size() || attributes[i] != '=') return {};
    ++i;
    while (i < attributes.size() && IsXmlSpace(attributes[i])) ++i;
    if (i >= attributes.size() || (attributes[i] != '"' && attributes[i] != '\'')) return {};
    const char quote = attributes[i++];
    const std::size_t end = attributes.find(quote, i);
    if (end == npos) return {};
    if (found == name) return XmlText(attributes.substr(i, end - i));
    i = end + 1;
  }
  return {};
}

// The text of the first `element` in `content`, blanks at its ends left out;
// "" when there is none.
std::string ElementText(std::string_view content, std::string_view element) {
  for (std::size_t at = content.find('<'); at != npos; at = content.find('<', at + 1)) {
    if (!StartsWithStartTag(content.substr(at), element)) continue;
    const std::size_t tagEnd = TagEnd(content, at);
    if (tagEnd == npos || content[tagEnd - 1] == '/') return {};
    const std::size_t close = content.find("</" + std::string(element), tagEnd);
    if (close == npos) return {};
    return XmlText(TrimXmlSpace(content.substr(tagEnd + 1, close - tagEnd - 1)));
  }
  return {};
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::vector<Bookmark> ReadXbelBookmarks(std::string_view text) {
  std::vector<Bookmark> found;
  std::size_t at = 0;
  while ((at = text.find('<', at)) != npos) {
    const std::string_view rest = text.substr(at);
    // A bookmark put out of use by a comment is none.
    if (rest.starts_with("<!--")) {
      const std::size_t end = text.find("-->", at + 4);
      if (end == npos) break;
      at = end + 3;
      continue;
    }
    if (!StartsWithStartTag(rest, "bookmark")) {
      ++at;
      continue;
    }
    const std::size_t tagEnd = TagEnd(text, at);
    if (tagEnd == npos) break;
    const std::size_t nameEnd = at + 1 + std::string_view("bookmark").size();
    const std::string_view attributes = text.substr(nameEnd, tagEnd - nameEnd);
    Bookmark bookmark;
    bookmark.uri = Attribute(attributes, "href");
    bookmark.modified = Attribute(attributes, "modified");
    at = tagEnd + 1;
    if (!attributes.ends_with('/')) {
      // Bookmarks don't nest: the element ends at the next end tag.
      std::size_t close = text.find("</bookmark>", at);
      if (close == npos) close = text.size();
      const std::string_view content = text.substr(at, close - at);
      bookmark.title = ElementText(content, "title");
      bookmark.hidden = ElementText(content, "IsHidden") == "true";
      at = close;
    }
    if (!bookmark.uri.empty()) found.push_back(std::move(bookmark));
  }
  return found;
}

std::vector<Bookmark> ReadGtkBookmarks(std::string_view text) {
  std::vector<Bookmark> found;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) continue;
    const std::size_t blank = line.find(' ');
    Bookmark bookmark;
    bookmark.uri = std::string(line.substr(0, blank));
    if (blank != npos) bookmark.title = std::string(line.substr(blank + 1));
    if (!bookmark.uri.empty()) found.push_back(std::move(bookmark));
  }
  return found;
}

std::optional<std::string> LocalPathOfUri(std::string_view uri) {
  if (uri.size() < 5 || AsciiLower(uri.substr(0, 5)) != "file:") return std::nullopt;
  std::string_view rest = uri.substr(5);
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const std::size_t slash = rest.find('/');
    if (slash == npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && AsciiLower(host) != "localhost") return std::nullopt;
    rest.remove_prefix(slash);
  }
  // A fragment has no meaning for a file; GLib refuses it as well.
  if (!rest.starts_with('/') || rest.find('#') != npos) return std::nullopt;
  std::string path;
  path.reserve(rest.size());
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != '%') {
      path.push_back(rest[i]);
      continue;
    }
    if (i + 2 >= rest.size()) return std::nullopt;
    const int high = HexValue(rest[i + 1]), low = HexValue(rest[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    const char c = static_cast<char>(high * 16 + low);
    // An escaped "/" would join two names into one; a zero byte ends a path.
    if (c == '\0' || c == '/') return std::nullopt;
    path.push_back(c);
    i += 2;
  }
  return path;
}

}  // namespace wh
