#include "qt/gio_shell_requests.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <memory>

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

bool LaunchUri(const std::string& uri) {
  GError* error = nullptr;
  const bool launched = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error);
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

std::string AddressUri(const std::string& address) {
  std::string lower;
  for (char c : address) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  for (const char* scheme : {"http://", "https://", "ftp://", "mailto:", "news:", "file:"}) {
    if (lower.find(scheme) == 0) return address;
  }
  if (lower.find("://") != std::string::npos) return address;
  return "http://" + address;
}

void GioShellRequests::OpenExplorer(const std::string& path) { LaunchPath(path); }

void GioShellRequests::OpenAddress(const std::string& address) { LaunchUri(AddressUri(address)); }

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
    GError* error = nullptr;
    const bool launched = g_app_info_launch(G_APP_INFO(entry.get()), nullptr, nullptr, &error);
    if (error != nullptr) g_error_free(error);
    return launched;
  }
  return LaunchPath(path);
}

}  // namespace wh
