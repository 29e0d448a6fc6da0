// The global hot key where there is no X11 connection (a Wayland session):
// the desktop's global-shortcuts portal (org.freedesktop.portal.GlobalShortcuts)
// on the session bus. One session for the program's whole run; the shortcut
// is bound (the desktop asks the user) only when its key changes, not each
// time the hot key is switched off and on again around the settings window.
#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>

#include "settings/hot_key_text.h"

namespace wh {

// The trigger for `hotKey` as the shortcuts of the XDG portal write it:
// "CTRL+ALT+SHIFT+F4" (modifiers, then the key's X keysym name); empty when
// the key has no name.
QString PortalTrigger(const HotKeyCombo& hotKey);

class PortalHotKey : public QObject {
  Q_OBJECT

 public:
  explicit PortalHotKey(std::function<void()> onPressed,
                        QDBusConnection bus = QDBusConnection::sessionBus());

  // True when a portal on the bus offers global shortcuts.
  bool Offered() const;
  // Asks for `hotKey`; false when the key has no trigger name or no portal
  // answers. The user's answer comes later, from the portal.
  bool Register(const HotKeyCombo& hotKey);
  // Presses no longer count; the session and its binding stay.
  void Unregister() { active_ = false; }

 private slots:
  void OnSessionCreated(uint response, const QVariantMap& results);
  void OnActivated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                   const QVariantMap& options);

 private:
  void CreateSession();
  void Bind();
  // A new request's token, and its Response signal wired to `slot` before the
  // call goes out, so that no answer can slip past.
  QString ExpectResponse(const char* slot);
  QString NewToken();

  std::function<void()> onPressed_;
  QDBusConnection bus_;
  QString session_;
  QString wanted_;  // the trigger asked for last
  QString bound_;   // the trigger the session was bound with
  bool creating_ = false;
  bool active_ = false;
  bool listening_ = false;
  int requests_ = 0;
};

}  // namespace wh
