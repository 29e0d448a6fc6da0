#include "qt/qt_instance_windows.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalSocket>

namespace wh {
namespace {

constexpr int kTimeoutMs = 2000;
constexpr char kShow[] = "show\n";
constexpr char kRestore[] = "restore\n";
constexpr char kDone[] = "done\n";

}  // namespace

QString InstanceSocketName(const std::string& exePath) {
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(exePath), QCryptographicHash::Sha256)
          .toHex()
          .left(32);
  const QString file =
      QStringLiteral("wordhopper-%1-%2").arg(geteuid()).arg(QString::fromLatin1(hash));
  // A full path, the same for every copy whatever its TMPDIR, and short
  // enough for a socket address (107 bytes): the user's private runtime
  // folder when there is one, else /tmp.
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (runtime.startsWith(QLatin1Char('/')) && runtime.toUtf8().size() + file.size() < 100) {
    return runtime + QLatin1Char('/') + file;
  }
  return QStringLiteral("/tmp/") + file;
}

InstanceServer::InstanceServer(const std::string& exePath, std::function<void(bool show)> onRequest,
                               QObject* parent)
    : QObject(parent), onRequest_(std::move(onRequest)) {
  const QString name = InstanceSocketName(exePath);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(name)) {
    // A socket file left by a copy that crashed; this copy owns the record,
    // so nobody else is listening on it.
    QLocalServer::removeServer(name);
    server_.listen(name);
  }
  connect(&server_, &QLocalServer::newConnection, this, &InstanceServer::OnConnection);
}

void InstanceServer::OnConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto readRequests = [this, socket] {
      while (socket->canReadLine()) {
        const QByteArray request = socket->readLine().trimmed();
        if (request != "show" && request != "restore") continue;
        if (onRequest_) onRequest_(request == "show");
        // The second start ends once the running copy has done its part.
        socket->write(kDone);
      }
    };
    connect(socket, &QLocalSocket::readyRead, this, readRequests);
    readRequests();
  }
}

bool LocalSocketInstanceWindows::IsMinimized(std::uint32_t) const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  const bool answered = socket.waitForConnected(kTimeoutMs);
  socket.abort();
  return answered;
}

void LocalSocketInstanceWindows::Restore(std::uint32_t) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kTimeoutMs)) return;
  socket.write(show_ ? kShow : kRestore);
  socket.waitForBytesWritten(kTimeoutMs);
  // Waits for the running copy's answer, so that whatever it shows (or
  // does not) is settled when this start ends.
  while (!socket.canReadLine() && socket.waitForReadyRead(kTimeoutMs)) {
  }
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
}

}  // namespace wh
