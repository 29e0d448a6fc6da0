// The desktop's lists of places and files, as plain text: XBEL (the
// recently used files, KDE's places) and GTK's bookmarks file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wh {

struct Bookmark {
  // As written, XML character references resolved; still percent-encoded.
  std::string uri;
  // The label the user gave it; "" for none.
  std::string title;
  // XBEL's "modified" time stamp (ISO 8601, so later ones sort after); "" for
  // none.
  std::string modified;
  // A place KDE keeps in its list but doesn't show (<IsHidden>true</IsHidden>).
  bool hidden = false;
  friend bool operator==(const Bookmark&, const Bookmark&) = default;
};

// Every <bookmark> of an XBEL document, in document order; one without an
// href is left out. Tolerant of what it doesn't know: a document it can't
// read gives what it found before the fault.
std::vector<Bookmark> ReadXbelBookmarks(std::string_view text);

// GTK's bookmarks file: one "URI label" a line, the label optional.
std::vector<Bookmark> ReadGtkBookmarks(std::string_view text);

// The local path a "file:" URI names ("file:///home/ann/My%20Files" gives
// "/home/ann/My Files"), percent escapes decoded to the bytes they stand
// for. nullopt for another scheme, another host than "localhost", or an
// escape that is malformed or stands for a zero byte or a "/".
std::optional<std::string> LocalPathOfUri(std::string_view uri);

}  // namespace wh
