#include "qt/systemd_scope.h"

#include <gio/gio.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

namespace wh {

std::string ScopeUnitName(std::string_view appId, pid_t pid) {
  std::string escaped;
  for (std::size_t i = 0; i < appId.size(); ++i) {
    const auto c = static_cast<unsigned char>(appId[i]);
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '_' || c == ':' || (c == '.' && i > 0);
    if (plain) {
      escaped += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      escaped += hex;
    }
  }
  return "app-wordhopper-" + escaped + "-" + std::to_string(pid) + ".scope";
}

namespace {

std::string SessionBusAddress() {
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) {
    return address;
  }
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || *runtime == '\0') return {};
  const std::string socket = std::string(runtime) + "/bus";
  struct stat status {};
  if (stat(socket.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)) return {};
  gchar* escaped = g_dbus_address_escape_value(socket.c_str());
  std::string address = std::string("unix:path=") + escaped;
  g_free(escaped);
  return address;
}

}  // namespace

GDBusConnection* UserSessionBus() {
  static GDBusConnection* const bus = []() -> GDBusConnection* {
    const std::string address = SessionBusAddress();
    if (address.empty()) return nullptr;
    return g_dbus_connection_new_for_address_sync(
        address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
  }();
  return bus;
}

void PlaceInOwnScope(GDBusConnection* bus, std::string_view appId, pid_t pid) {
  if (bus == nullptr || pid <= 0) return;
  GVariantBuilder properties;
  g_variant_builder_init(&properties, G_VARIANT_TYPE("a(sv)"));
  GVariantBuilder pids;
  g_variant_builder_init(&pids, G_VARIANT_TYPE("au"));
  g_variant_builder_add(&pids, "u", static_cast<guint32>(pid));
  g_variant_builder_add(&properties, "(sv)", "PIDs", g_variant_builder_end(&pids));
  // A program that ends, even with a failure, leaves no unit behind.
  g_variant_builder_add(&properties, "(sv)", "CollectMode",
                        g_variant_new_string("inactive-or-failed"));
  GVariantBuilder auxiliary;
  g_variant_builder_init(&auxiliary, G_VARIANT_TYPE("a(sa(sv))"));
  const std::string name = ScopeUnitName(appId, pid);
  // Fire and forget: the answer (the scope's job, or a refusal where no
  // systemd manager runs) changes nothing for the launch.
  g_dbus_connection_call(
      bus, "org.freedesktop.systemd1", "/org/freedesktop/systemd1",
      "org.freedesktop.systemd1.Manager", "StartTransientUnit",
      g_variant_new("(ssa(sv)a(sa(sv)))", name.c_str(), "fail", &properties, &auxiliary),
      G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, 5000, nullptr, nullptr, nullptr);
}

}  // namespace wh
