#include "qt/gio_shell_requests.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <algorithm>
#include <memory>

#include "posix/tilde_expansion.h"
#include "qt/systemd_scope.h"

namespace wh {
namespace {

struct GObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GFree {
  void operator()(gpointer memory) const { g_free(memory); }
};

// The launcher entry's ID less ".desktop", which names the program's scope.
std::string ApplicationId(GDesktopAppInfo* entry) {
  const char* id = g_app_info_get_id(G_APP_INFO(entry));
  std::unique_ptr<char, GFree> base(
      id == nullptr ? g_path_get_basename(g_desktop_app_info_get_filename(entry)) : nullptr);
  std::string name = id != nullptr ? id : base ? base.get() : "";
  if (name.size() > 8 && name.compare(name.size() - 8, 8, ".desktop") == 0)
    name.resize(name.size() - 8);
  return name;
}

void OnSpawned(GDesktopAppInfo* entry, GPid pid, gpointer) {
  PlaceInOwnScope(UserSessionBus(), ApplicationId(entry), pid);
}

// Started as a desktop's launcher starts it, each program in a scope of its own.
bool LaunchEntry(GDesktopAppInfo* entry, GList* uris) {
  GError* error = nullptr;
  const bool launched = g_desktop_app_info_launch_uris_as_manager(
      entry, uris, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, OnSpawned, nullptr, &error);
  if (error != nullptr) g_error_free(error);
  return launched;
}

// The program the desktop opens the URI with: the handler of its scheme, else
// the default for the file or folder it names.
GAppInfo* DefaultHandler(const std::string& uri) {
  std::unique_ptr<char, GFree> scheme(g_uri_parse_scheme(uri.c_str()));
  if (scheme && g_ascii_strcasecmp(scheme.get(), "file") != 0) {
    if (GAppInfo* handler = g_app_info_get_default_for_uri_scheme(scheme.get())) return handler;
  }
  GObjectPtr<GFile> file(g_file_new_for_uri(uri.c_str()));
  return g_file_query_default_handler(file.get(), nullptr, nullptr);
}

bool LaunchUri(const std::string& uri) {
  GObjectPtr<GAppInfo> handler(DefaultHandler(uri));
  if (!handler) return false;
  GList uris{const_cast<char*>(uri.c_str()), nullptr, nullptr};
  if (G_IS_DESKTOP_APP_INFO(handler.get())) {
    return LaunchEntry(G_DESKTOP_APP_INFO(handler.get()), &uris);
  }
  GError* error = nullptr;
  const bool launched = g_app_info_launch_uris(handler.get(), &uris, nullptr, &error);
  if (error != nullptr) g_error_free(error);
  return launched;
}

bool LaunchPath(const std::string& path) {
  GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
  std::unique_ptr<char, GFree> uri(g_file_get_uri(file.get()));
  return uri && LaunchUri(uri.get());
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "scheme:" as RFC 3986 spells it; two letters at least, so that a drive
// letter ("c:") is none, and not followed by a port number alone
// ("example.com:8080/").
bool HasScheme(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || colon < 2 || !IsAsciiLetter(text[0])) return false;
  const std::size_t portEnd = std::min(text.find('/', colon), text.size());
  if (portEnd > colon + 1 && text.find_first_not_of("0123456789", colon + 1) >= portEnd) {
    return false;
  }
  for (std::size_t i = 1; i < colon; ++i) {
    const char c = text[i];
    if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
      return false;
    }
  }
  return true;
}

// "example.com", "example.com/page", "example.com:8080/": a host name with a
// dot inside, before any "/".
bool LooksLikeHost(const std::string& text) {
  std::string host = text.substr(0, text.find('/'));
  if (const std::size_t colon = host.find(':'); colon != std::string::npos) {
    const std::string port = host.substr(colon + 1);
    if (port.empty() || port.find_first_not_of("0123456789") != std::string::npos) return false;
    host.resize(colon);
  }
  for (const char c : host) {
    const auto u = static_cast<unsigned char>(c);
    if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.' && u < 0x80) {
      return false;
    }
  }
  const std::size_t dot = host.find('.');
  return dot != std::string::npos && dot > 0 && host.back() != '.';
}

}  // namespace

std::string AddressUri(const std::string& address) {
  if (address.starts_with("\\\\")) {
    std::string rest = address.substr(2);
    for (char& c : rest) {
      if (c == '\\') c = '/';
    }
    std::unique_ptr<char, GFree> escaped(g_uri_escape_string(rest.c_str(), "/", TRUE));
    return "smb://" + std::string(escaped.get());
  }
  if (address.starts_with('/')) {
    std::unique_ptr<char, GFree> uri(g_filename_to_uri(address.c_str(), nullptr, nullptr));
    return uri ? std::string(uri.get()) : std::string();
  }
  if (HasScheme(address)) return address;
  std::string lower;
  for (char c : address) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  if (lower.starts_with("www.") || LooksLikeHost(address)) return "http://" + address;
  return {};
}

bool GioShellRequests::OpenExplorer(const std::string& typed) {
  if (typed.starts_with("\\\\")) return LaunchUri(AddressUri(typed));
  return LaunchPath(ExpandTilde(typed));
}

bool GioShellRequests::OpenAddress(const std::string& typed) {
  const std::string uri = AddressUri(ExpandTilde(typed));
  return !uri.empty() && LaunchUri(uri);
}

void GioShellRequests::FindInFolder(const std::string& folder) {
  LaunchPath(folder.empty() ? std::string(g_get_home_dir()) : folder);
}

// A Type=Link entry: its URL, opened by the default handler.
bool LaunchLinkEntry(const std::string& path) {
  std::unique_ptr<GKeyFile, void (*)(GKeyFile*)> file(g_key_file_new(), g_key_file_free);
  if (!g_key_file_load_from_file(file.get(), path.c_str(), G_KEY_FILE_NONE, nullptr)) return false;
  std::unique_ptr<char, GFree> type(
      g_key_file_get_string(file.get(), "Desktop Entry", "Type", nullptr));
  std::unique_ptr<char, GFree> url(
      g_key_file_get_string(file.get(), "Desktop Entry", "URL", nullptr));
  if (!type || std::string(type.get()) != "Link" || !url || *url == '\0') return false;
  return LaunchUri(url.get());
}

bool GioShellRequests::OpenItem(const std::string& path) {
  if (EndsWith(path, ".desktop")) {
    GObjectPtr<GDesktopAppInfo> entry(g_desktop_app_info_new_from_filename(path.c_str()));
    if (!entry) return LaunchLinkEntry(path);
    // GIO reports no error when the command isn't there; a start that can't
    // happen is a failed start.
    const char* program = g_app_info_get_executable(G_APP_INFO(entry.get()));
    std::unique_ptr<char, GFree> found(program ? g_find_program_in_path(program) : nullptr);
    if (!found) return false;
    return LaunchEntry(entry.get(), nullptr);
  }
  return LaunchPath(path);
}

}  // namespace wh
