// A systemd user manager of our own for the tests, run as its own process on
// a private session bus: it owns org.freedesktop.systemd1 and answers
// StartTransientUnit as systemd does, with a job path, after writing the
// request to the file named by its one argument, a line each:
//   NAME MODE PID... CollectMode=VALUE
// It writes "ready" to the file's name with ".ready" added once it holds the
// name.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <cstdio>

namespace {

class FakeManager : public QDBusVirtualObject {
 public:
  explicit FakeManager(QString log) : log_(std::move(log)) {}

  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    if (message.member() != QLatin1String("StartTransientUnit")) return false;
    const QList<QVariant> args = message.arguments();
    QString line = args.value(0).toString() + u' ' + args.value(1).toString();
    const QDBusArgument properties = args.value(2).value<QDBusArgument>();
    properties.beginArray();
    while (!properties.atEnd()) {
      QString name;
      QDBusVariant value;
      properties.beginStructure();
      properties >> name >> value;
      properties.endStructure();
      if (name == QLatin1String("PIDs")) {
        QList<uint> pids;
        value.variant().value<QDBusArgument>() >> pids;
        for (const uint pid : pids) line += u' ' + QString::number(pid);
      } else {
        line += u' ' + name + u'=' + value.variant().toString();
      }
    }
    properties.endArray();
    QFile file(log_);
    if (file.open(QIODevice::Append)) file.write((line + u'\n').toUtf8());
    bus.send(message.createReply(
        QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/freedesktop/systemd1/job/1")))));
    return true;
  }

 private:
  QString log_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: fake_systemd LOG_FILE\n");
    return 2;
  }
  const QString log = QString::fromLocal8Bit(argv[1]);
  QDBusConnection bus = QDBusConnection::sessionBus();
  FakeManager manager(log);
  if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/systemd1"), &manager) ||
      !bus.registerService(QStringLiteral("org.freedesktop.systemd1"))) {
    std::fprintf(stderr, "fake systemd: cannot take the bus name\n");
    return 1;
  }
  QFile ready(log + QStringLiteral(".ready"));
  if (ready.open(QIODevice::WriteOnly)) ready.write("ready\n");
  ready.close();
  return QCoreApplication::exec();
}
