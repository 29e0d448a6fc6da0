// A second start reaches the running copy through a local socket named after
// the executable's path: the first copy listens, a later one says "show".
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "platform/instance_record.h"

namespace wh {

// The socket's full path for `exePath`: in $XDG_RUNTIME_DIR (else /tmp), the
// program's name, the user id and a hash of the path, so that copies of one
// executable meet whatever their TMPDIR, and no one else's do.
QString InstanceSocketName(const std::string& exePath);

// The running copy's side: every connection's "restore" (a plain second
// start) or "show" (a second start with the show argument) runs `onRequest`
// on the UI thread, with true for "show".
class InstanceServer : public QObject {
  Q_OBJECT

 public:
  InstanceServer(const std::string& exePath, std::function<void(bool show)> onRequest,
                 QObject* parent = nullptr);
  // False when the name could not be taken.
  bool IsListening() const { return server_.isListening(); }

 private:
  void OnConnection();
  QLocalServer server_;
  std::function<void(bool show)> onRequest_;
};

// The second start's side. The window numbers of the shared record mean
// nothing here: the running copy is whoever answers on the socket.
class LocalSocketInstanceWindows : public InstanceWindows {
 public:
  // `show`: this start has the show argument.
  explicit LocalSocketInstanceWindows(const std::string& exePath, bool show = false)
      : name_(InstanceSocketName(exePath)), show_(show) {}
  // True when a running copy answers, so that Restore gets to ask it.
  bool IsMinimized(std::uint32_t window) const override;
  // Asks the running copy to come back from the tray and to the front.
  void Restore(std::uint32_t window) override;
  // Restore did all of it.
  void BringToFront(std::uint32_t) override {}

 private:
  QString name_;
  bool show_;
};

}  // namespace wh
