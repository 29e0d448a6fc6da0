#include "qt/portal_hot_key.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QList>
#include <QStringList>

#include "qt/x11_hot_key.h"

namespace wh {
namespace {

constexpr char kService[] = "org.freedesktop.portal.Desktop";
constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr char kShortcuts[] = "org.freedesktop.portal.GlobalShortcuts";
constexpr char kRequest[] = "org.freedesktop.portal.Request";
constexpr char kShortcutId[] = "show";
constexpr int kAskTimeoutMs = 2000;

struct PortalShortcut {
  QString id;
  QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& out, const PortalShortcut& shortcut) {
  out.beginStructure();
  out << shortcut.id << shortcut.properties;
  out.endStructure();
  return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, PortalShortcut& shortcut) {
  in.beginStructure();
  in >> shortcut.id >> shortcut.properties;
  in.endStructure();
  return in;
}

}  // namespace
}  // namespace wh

Q_DECLARE_METATYPE(wh::PortalShortcut)

namespace wh {

QString PortalTrigger(const HotKeyCombo& hotKey) {
  const std::string name = KeySymName(VirtualKeyToKeySym(hotKey.key));
  if (name.empty()) return {};
  QStringList parts;
  if (hotKey.ctrl) parts << QStringLiteral("CTRL");
  if (hotKey.alt) parts << QStringLiteral("ALT");
  if (hotKey.shift) parts << QStringLiteral("SHIFT");
  parts << QString::fromStdString(name);
  return parts.join(QLatin1Char('+'));
}

PortalHotKey::PortalHotKey(std::function<void()> onPressed, QDBusConnection bus)
    : onPressed_(std::move(onPressed)), bus_(std::move(bus)) {
  // The signal's slot is found by its types' names, known once registered.
  qRegisterMetaType<QDBusObjectPath>();
  qDBusRegisterMetaType<PortalShortcut>();
  qDBusRegisterMetaType<QList<PortalShortcut>>();
}

bool PortalHotKey::Offered() const {
  if (!bus_.isConnected()) return false;
  QDBusMessage get = QDBusMessage::createMethodCall(
      QString::fromLatin1(kService), QString::fromLatin1(kPath),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get << QString::fromLatin1(kShortcuts) << QStringLiteral("version");
  const QDBusMessage answer = bus_.call(get, QDBus::Block, kAskTimeoutMs);
  return answer.type() == QDBusMessage::ReplyMessage;
}

bool PortalHotKey::Register(const HotKeyCombo& hotKey) {
  const QString trigger = PortalTrigger(hotKey);
  if (trigger.isEmpty() || !Offered()) return false;
  if (!listening_) {
    // The portal's signals, from the first use on.
    listening_ = bus_.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                              QString::fromLatin1(kShortcuts), QStringLiteral("Activated"), this,
                              SLOT(OnActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
  }
  wanted_ = trigger;
  active_ = true;
  if (!session_.isEmpty()) {
    if (bound_ != wanted_) Bind();
  } else if (!creating_) {
    CreateSession();
  }
  return true;
}

QString PortalHotKey::NewToken() {
  return QStringLiteral("wordhopper%1_%2").arg(QCoreApplication::applicationPid()).arg(++requests_);
}

QString PortalHotKey::ExpectResponse(const char* slot) {
  const QString token = NewToken();
  // The portal's request object: its path is made of our bus name and the
  // token.
  QString sender = bus_.baseService().mid(1);
  sender.replace(QLatin1Char('.'), QLatin1Char('_'));
  bus_.connect(QString::fromLatin1(kService),
               QStringLiteral("%1/request/%2/%3").arg(QLatin1String(kPath), sender, token),
               QString::fromLatin1(kRequest), QStringLiteral("Response"), this, slot);
  return token;
}

void PortalHotKey::CreateSession() {
  creating_ = true;
  const QString token = ExpectResponse(SLOT(OnSessionCreated(uint, QVariantMap)));
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kShortcuts),
      QStringLiteral("CreateSession"));
  call << QVariantMap{{QStringLiteral("handle_token"), token},
                      {QStringLiteral("session_handle_token"), token}};
  bus_.asyncCall(call);
}

void PortalHotKey::OnSessionCreated(uint response, const QVariantMap& results) {
  creating_ = false;
  if (response != 0) return;  // refused or cancelled: no hot key this run
  const QVariant handle = results.value(QStringLiteral("session_handle"));
  // Sent as a string by the portal's description, as a path by some portals.
  session_ = handle.canConvert<QDBusObjectPath>() && handle.userType() != QMetaType::QString
                 ? handle.value<QDBusObjectPath>().path()
                 : handle.toString();
  if (!session_.isEmpty() && !wanted_.isEmpty()) Bind();
}

void PortalHotKey::Bind() {
  bound_ = wanted_;
  // What the user answers needs no reply: a binding turned down is asked
  // again only for another key.
  const QString token = NewToken();
  const QList<PortalShortcut> shortcuts = {
      {QString::fromLatin1(kShortcutId),
       {{QStringLiteral("description"), QStringLiteral("Show Wordhopper")},
        {QStringLiteral("preferred_trigger"), wanted_}}}};
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kShortcuts),
      QStringLiteral("BindShortcuts"));
  call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts)
       << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
  bus_.asyncCall(call);
}

void PortalHotKey::OnActivated(const QDBusObjectPath& session, const QString& id, qulonglong,
                               const QVariantMap&) {
  if (!active_ || session.path() != session_ || id != QLatin1String(kShortcutId)) return;
  if (onPressed_) onPressed_();
}

}  // namespace wh
