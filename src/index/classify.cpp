#include "index/classify.h"

#include <string>

#include "base/text.h"

namespace wh {

bool IsURL(std::string_view text) {
  if (text.size() < 5) return false;
  if (text.back() == '.') return false;
  if (text.find("..") != std::string_view::npos) return false;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 33 || u > 126) return false;
  }
  const std::string lower = AsciiLower(text);
  const std::string_view l = lower;
  if (l.starts_with("www.")) return true;
  if (l.starts_with("news:") && text.size() > 6) return true;
  if (text.size() > 12) return true;
  if (l.starts_with("mailto:")) {
    // Zero-based positions: "@" at 1 or later, "." at 4 or later with at
    // least one character between them.
    const std::size_t at = text.find('@');
    const std::size_t dot = text.find('.');
    if (at != std::string_view::npos && at >= 1 && dot != std::string_view::npos && dot >= 4 &&
        dot > at + 1) {
      return true;
    }
  }
  if (l.find("http://") != std::string_view::npos) return true;
  if (l.find("ftp://") != std::string_view::npos && text.size() > 10) {
    const std::size_t dot = text.find('.');
    if (dot != std::string_view::npos && dot >= 7) return true;
  }
  return false;
}

namespace {

// A drive letter ("c:...") or a network path ("\\server"); where "/" separates
// paths, an absolute path stands for a drive part.
bool HasDrivePart(std::string_view text, char separator) {
  if (text.size() >= 2 && text[1] == ':') return true;
  if (text.starts_with("\\\\")) return true;
  return separator == '/' && text.starts_with('/');
}

}  // namespace

EnterAction ClassifyEnter(std::string_view typed, const FileSystem& fileSystem) {
  // "~/Documents" is a folder wherever the user's shell would take it for one.
  const std::string text = fileSystem.ExpandTypedPath(typed);
  if (HasDrivePart(text, fileSystem.Separator()) && fileSystem.DirectoryExists(text)) {
    return EnterAction::OpenExplorer;
  }
  if (text.starts_with("\\\\")) return EnterAction::OpenExplorer;
  if (IsURL(text)) return EnterAction::OpenAddress;
  return EnterAction::Search;
}

}  // namespace wh
