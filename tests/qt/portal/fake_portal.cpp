// A global-shortcuts portal of our own for the tests, run as its own process
// on a private session bus: it owns org.freedesktop.portal.Desktop, answers
// CreateSession and BindShortcuts through request objects' Response
// signals, as the desktop's portal does, and emits Activated when told to.
// The test's side (org.wordhopper.FakePortal): State() -> (binds, trigger)
// and Press().
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <cstdio>

namespace {

constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr char kShortcuts[] = "org.freedesktop.portal.GlobalShortcuts";

class FakePortal : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    const QString member = message.member();
    const QList<QVariant> args = message.arguments();
    if (member == QLatin1String("Get")) {
      bus.send(message.createReply(QVariant::fromValue(QDBusVariant(1u))));
    } else if (member == QLatin1String("CreateSession")) {
      const QVariantMap options = qdbus_cast<QVariantMap>(args.value(0));
      session_ = QStringLiteral("%1/session/%2/%3")
                     .arg(QLatin1String(kPath), Sender(message),
                          options.value(QStringLiteral("session_handle_token")).toString());
      Answer(message, bus, options, {{QStringLiteral("session_handle"), session_}});
    } else if (member == QLatin1String("BindShortcuts")) {
      // a(sa{sv}): the one shortcut's id and its preferred trigger.
      const QDBusArgument list = args.value(1).value<QDBusArgument>();
      list.beginArray();
      while (!list.atEnd()) {
        QVariantMap properties;
        list.beginStructure();
        list >> id_ >> properties;
        list.endStructure();
        trigger_ = properties.value(QStringLiteral("preferred_trigger")).toString();
      }
      list.endArray();
      ++binds_;
      Answer(message, bus, qdbus_cast<QVariantMap>(args.value(3)), {});
    } else if (member == QLatin1String("State")) {
      bus.send(message.createReply(QList<QVariant>{binds_, trigger_}));
    } else if (member == QLatin1String("Press")) {
      QDBusMessage activated = QDBusMessage::createSignal(
          QString::fromLatin1(kPath), QString::fromLatin1(kShortcuts), QStringLiteral("Activated"));
      activated << QVariant::fromValue(QDBusObjectPath(session_)) << id_
                << static_cast<qulonglong>(QDateTime::currentMSecsSinceEpoch()) << QVariantMap();
      bus.send(activated);
      bus.send(message.createReply());
    } else {
      return false;
    }
    return true;
  }

 private:
  static QString Sender(const QDBusMessage& message) {
    QString sender = message.service().mid(1);
    return sender.replace(QLatin1Char('.'), QLatin1Char('_'));
  }
  // The call returns its request's path; the result follows as that
  // request's Response signal.
  static void Answer(const QDBusMessage& message, const QDBusConnection& bus,
                     const QVariantMap& options, const QVariantMap& results) {
    const QString request = QStringLiteral("%1/request/%2/%3")
                                .arg(QLatin1String(kPath), Sender(message),
                                     options.value(QStringLiteral("handle_token")).toString());
    bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage response = QDBusMessage::createSignal(
        request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    response << 0u << results;
    bus.send(response);
  }

  QString session_, id_, trigger_;
  uint binds_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  FakePortal portal;
  if (!bus.registerVirtualObject(QString::fromLatin1(kPath), &portal) ||
      !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
    std::fprintf(stderr, "fake portal: cannot take the bus name\n");
    return 1;
  }
  return QCoreApplication::exec();
}
