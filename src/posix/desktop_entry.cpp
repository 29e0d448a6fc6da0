#include "posix/desktop_entry.h"

#include <cstdlib>
#include <map>
#include <vector>

#include "base/text.h"

namespace wh {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view TrimLeft(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRight(std::string_view text) {
  const std::size_t last = text.find_last_not_of(kBlanks);
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// "de_DE.UTF-8@euro" -> "de_DE@euro": the encoding plays no part in matching.
std::string WithoutEncoding(std::string_view locale) {
  const std::size_t dot = locale.find('.');
  if (dot == std::string_view::npos) return std::string(locale);
  const std::size_t at = locale.find('@', dot);
  std::string result(locale.substr(0, dot));
  if (at != std::string_view::npos) result += locale.substr(at);
  return result;
}

// Whether a locale's encoding part, if any, names UTF-8 ("UTF-8", "utf8").
// A key such as Name[de_DE.ISO-8859-1] holds text in another encoding, which
// would show as garbage.
bool EncodingIsUtf8(std::string_view locale) {
  const std::size_t dot = locale.find('.');
  if (dot == std::string_view::npos) return true;
  std::string encoding;
  for (const char c : locale.substr(dot + 1, locale.find('@', dot) - dot - 1)) {
    if (c == '-' || c == '_') continue;
    encoding += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return encoding == "utf8";
}

// The locales to try for a localized key, most specific first; the
// unlocalized key comes after them.
void AddLocaleCandidates(std::string_view locale, std::vector<std::string>& candidates) {
  const std::string plain = WithoutEncoding(locale);
  if (plain.empty()) return;
  std::string modifier;
  std::string base = plain;
  if (const std::size_t at = base.find('@'); at != std::string::npos) {
    modifier = base.substr(at);
    base.resize(at);
  }
  std::string lang = base;
  std::string country;
  if (const std::size_t underscore = lang.find('_'); underscore != std::string::npos) {
    country = lang.substr(underscore);
    lang.resize(underscore);
  }
  if (!country.empty() && !modifier.empty()) candidates.push_back(lang + country + modifier);
  if (!country.empty()) candidates.push_back(lang + country);
  if (!modifier.empty()) candidates.push_back(lang + modifier);
  candidates.push_back(lang);
}

// Each locale of a ":"-separated preference list in turn, with its fallbacks.
std::vector<std::string> LocaleCandidates(std::string_view locales) {
  std::vector<std::string> candidates;
  while (!locales.empty()) {
    const std::size_t colon = locales.find(':');
    AddLocaleCandidates(locales.substr(0, colon), candidates);
    locales = colon == std::string_view::npos ? std::string_view() : locales.substr(colon + 1);
  }
  return candidates;
}

// The string-level escape that `next` makes after a backslash; 0 for none.
char Escaped(char next) {
  switch (next) {
    case 's':
      return ' ';
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case 'r':
      return '\r';
    case '\\':
      return '\\';
    default:
      return 0;
  }
}

std::string Unescape(std::string_view value) {
  std::string result;
  result.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      result += value[i];
    } else if (const char escaped = Escaped(value[i + 1]); escaped != 0) {
      result += escaped;
      ++i;
    } else {
      // Not an escape of the string level (Exec, for one, has its own
      // quoting): the backslash stays for whoever reads the value next.
      result += value[i];
      result += value[++i];
    }
  }
  return result;
}

// A list value: items ended (or, for the last, separated) by ";", with "\;"
// for a semicolon inside an item. Escapes are resolved in the same pass that
// splits, so "Foo\\;" is the item "Foo\" and its end, not "Foo;".
std::vector<std::string> ListValue(std::string_view value) {
  std::vector<std::string> items;
  std::string item;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char escaped = value[i + 1] == ';' ? ';' : Escaped(value[i + 1]);
      if (escaped != 0) {
        item += escaped;
        ++i;
        continue;
      }
    }
    if (value[i] == ';') {
      items.push_back(std::move(item));
      item.clear();
    } else {
      item += value[i];
    }
  }
  if (!item.empty()) items.push_back(std::move(item));
  return items;
}

bool IsTrue(std::string_view value) { return value == "true" || value == "1"; }

// The group's keys as written ("Name", "Name[de_DE]"), raw values.
using Group = std::map<std::string, std::string, std::less<>>;

std::optional<Group> DesktopEntryGroup(std::string_view text) {
  std::optional<Group> group;
  bool inGroup = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = TrimRight(TrimLeft(line));
    if (line.empty() || line.front() == '#') continue;

    if (line.front() == '[') {
      // A repeated "[Desktop Entry]" goes on with the same group, as the
      // desktop's own reader takes it.
      inGroup = line == "[Desktop Entry]";
      if (inGroup && !group) group.emplace();
      continue;
    }
    if (!inGroup) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string key(TrimRight(line.substr(0, equals)));
    if (const std::size_t bracket = key.find('[');
        bracket != std::string::npos && key.back() == ']') {
      const std::string locale = key.substr(bracket + 1, key.size() - bracket - 2);
      if (!EncodingIsUtf8(locale)) continue;
      key = key.substr(0, bracket + 1) + WithoutEncoding(locale) + "]";
    }
    // A key given twice: the last one holds. A hand-edited copy appends
    // "NoDisplay=true" below the one it had, and the desktop hides it.
    group->insert_or_assign(std::move(key), std::string(TrimLeft(line.substr(equals + 1))));
  }
  return group;
}

std::string_view RawValue(const Group& group, const std::string& key) {
  const auto found = group.find(key);
  return found == group.end() ? std::string_view() : std::string_view(found->second);
}

std::string Value(const Group& group, const std::string& key) {
  return Unescape(RawValue(group, key));
}

std::string LocalizedValue(const Group& group, const std::string& key,
                           const std::vector<std::string>& locales) {
  for (const std::string& locale : locales) {
    const auto found = group.find(key + "[" + locale + "]");
    // A translation in another encoding would show as garbage: the next
    // candidate serves instead.
    if (found != group.end() && IsValidUtf8(found->second)) return Unescape(found->second);
  }
  return Value(group, key);
}

}  // namespace

std::optional<DesktopEntry> ReadDesktopEntry(std::string_view fileText, std::string_view locale) {
  const std::optional<Group> group = DesktopEntryGroup(fileText);
  if (!group) return std::nullopt;
  DesktopEntry entry;
  entry.type = Value(*group, "Type");
  entry.name = LocalizedValue(*group, "Name", LocaleCandidates(locale));
  entry.exec = Value(*group, "Exec");
  entry.tryExec = Value(*group, "TryExec");
  entry.url = Value(*group, "URL");
  entry.noDisplay = IsTrue(Value(*group, "NoDisplay"));
  entry.hidden = IsTrue(Value(*group, "Hidden"));
  entry.onlyShowIn = ListValue(RawValue(*group, "OnlyShowIn"));
  entry.notShowIn = ListValue(RawValue(*group, "NotShowIn"));
  return entry;
}

bool ShownInMenus(const DesktopEntry& entry) {
  return (entry.type == "Application" || entry.type == "Link") && !entry.noDisplay && !entry.hidden;
}

bool ShownOnDesktop(const DesktopEntry& entry, std::string_view currentDesktops) {
  auto lists = [](const std::vector<std::string>& list, std::string_view name) {
    for (const std::string& item : list) {
      if (item == name) return true;
    }
    return false;
  };
  while (!currentDesktops.empty()) {
    const std::size_t colon = currentDesktops.find(':');
    const std::string_view name = currentDesktops.substr(0, colon);
    currentDesktops =
        colon == std::string_view::npos ? std::string_view() : currentDesktops.substr(colon + 1);
    if (name.empty()) continue;
    if (lists(entry.notShowIn, name)) return false;
    if (lists(entry.onlyShowIn, name)) return true;
  }
  return entry.onlyShowIn.empty();
}

std::string MessagesLocale(const char* language, const char* lcAll, const char* lcMessages,
                           const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (value == nullptr || value[0] == '\0') continue;
    const std::string locale = WithoutEncoding(value);
    if (locale == "C" || locale == "POSIX" || locale.rfind("C@", 0) == 0) return "";
    // LANGUAGE's list takes over from the locale, as in gettext, but never
    // brings translations to the C locale.
    if (language != nullptr && language[0] != '\0') return language;
    return value;
  }
  return "";
}

std::string MessagesLocale() {
  return MessagesLocale(std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                        std::getenv("LANG"));
}

}  // namespace wh
