// Launcher entries (".desktop" files): on a Linux desktop they stand for the
// shortcuts of a start menu. Only what indexing and launching need is read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wh {

struct DesktopEntry {
  // "Application", "Link", "Directory", or whatever the file says; empty when
  // missing.
  std::string type;
  // Name in the user's language, else the unlocalized Name; empty when the
  // entry has none, in which case the caller names the item after its file.
  std::string name;
  std::string exec;
  std::string tryExec;
  std::string url;
  bool noDisplay = false;
  // The user deleted the entry (it only masks an entry of the same file name
  // in a folder further down the search path).
  bool hidden = false;
  // The desktops (as XDG_CURRENT_DESKTOP names them) the entry is meant for
  // alone, and those it is not meant for.
  std::vector<std::string> onlyShowIn;
  std::vector<std::string> notShowIn;
};

// Reads the "[Desktop Entry]" group of a launcher entry file, as the
// desktop's own reader (GLib's) takes it; keys of any other group are
// ignored. `locales` are the messages locales in order of preference,
// separated by ":", each in the form lang_COUNTRY.ENCODING@MODIFIER (each
// part but lang optional, the encoding disregarded); for each in turn a
// localized key is looked up as lang_COUNTRY@MODIFIER, then lang_COUNTRY,
// lang@MODIFIER, lang; then the unlocalized key. A translation that is not
// valid UTF-8, or whose key names another encoding, is passed over. String
// values have the escapes \s \n \t \r \\ resolved; blanks around "=" and at
// the end of a line don't count; of a key given twice the last one holds.
// nullopt when the text has no "[Desktop Entry]" group.
std::optional<DesktopEntry> ReadDesktopEntry(std::string_view fileText, std::string_view locale);

// Whether a menu lists the entry: an application or a link, neither marked
// NoDisplay nor Hidden.
bool ShownInMenus(const DesktopEntry& entry);

// Whether the entry belongs on the desktop named by `currentDesktops` (the
// value of XDG_CURRENT_DESKTOP: names separated by ":", most specific first).
// The first of those names that NotShowIn or OnlyShowIn lists decides; when
// none does, an entry with an OnlyShowIn list is left out.
bool ShownOnDesktop(const DesktopEntry& entry, std::string_view currentDesktops);

// The locales that pick the language of messages, for ReadDesktopEntry: the
// first set and non-empty of LC_ALL, LC_MESSAGES and LANG (null for unset),
// or, when LANGUAGE is set, its ":"-separated priority list instead ("fr:en",
// as Ubuntu and GNOME set it). The empty text when none of the three is set
// or it is the "C" or "POSIX" locale, which have no translations, whatever
// LANGUAGE says.
std::string MessagesLocale(const char* language, const char* lcAll, const char* lcMessages,
                           const char* lang);

// MessagesLocale of this process's environment.
std::string MessagesLocale();

}  // namespace wh
