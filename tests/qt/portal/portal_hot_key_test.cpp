// The hot key through the desktop's global-shortcuts portal, against a portal
// of our own (fake_portal) in its own process on a private session bus.
#include "qt/portal_hot_key.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>
#include <utility>

namespace wh {
namespace {

constexpr int kF4 = 0x73, kF5 = 0x74;

class PortalHotKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon_.waitForStarted()) << "dbus-daemon is missing";
    ASSERT_TRUE(QTest::qWaitFor([this] { return daemon_.canReadLine(); }, 10000));
    address_ = QString::fromUtf8(daemon_.readLine().trimmed());
    bus_ = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(address_, QStringLiteral("private")));
    ASSERT_TRUE(bus_->isConnected());
  }
  void TearDown() override {
    bus_.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("private"));
    for (QProcess* process : {&portal_, &daemon_}) {
      process->kill();
      process->waitForFinished();
    }
  }
  void StartPortal() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
    portal_.setProcessEnvironment(environment);
    portal_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    portal_.start(QStringLiteral(WH_FAKE_PORTAL), {});
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
          return bus_->interface()->isServiceRegistered(
              QStringLiteral("org.freedesktop.portal.Desktop"));
        },
        10000));
  }
  QDBusMessage ToPortal(const char* member) {
    return bus_->call(QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.wordhopper.FakePortal"), QString::fromLatin1(member)));
  }
  // The bindings the portal was asked for, once it has had `binds` of them,
  // and the last one's trigger.
  QString TriggerAfter(uint binds) {
    QString trigger;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          const QList<QVariant> state = ToPortal("State").arguments();
          trigger = state.value(1).toString();
          return state.value(0).toUInt() >= binds;
        },
        10000));
    EXPECT_EQ(ToPortal("State").arguments().value(0).toUInt(), binds);
    return trigger;
  }
  // The user presses the bound key; the signal comes before the call's
  // answer, so it is delivered with the events pending after it.
  int PressesSeen() {
    ToPortal("Press");
    QCoreApplication::sendPostedEvents();
    return pressed_;
  }

  QProcess daemon_, portal_;
  QString address_;
  std::unique_ptr<QDBusConnection> bus_;
  int pressed_ = 0;
};

TEST_F(PortalHotKeyTest, BindsOnceAndFiresOnTheDesktopsSignal) {
  PortalHotKey hotKey([this] { ++pressed_; }, *bus_);
  EXPECT_FALSE(hotKey.Offered());
  EXPECT_FALSE(hotKey.Register({.key = kF4})) << "no portal on the bus";

  StartPortal();
  ASSERT_TRUE(hotKey.Offered());
  EXPECT_FALSE(hotKey.Register({.key = 0})) << "a key without a name";
  ASSERT_TRUE(hotKey.Register({.key = kF4, .shift = true, .ctrl = true}));
  EXPECT_EQ(TriggerAfter(1), QStringLiteral("CTRL+SHIFT+F4"));
  EXPECT_EQ(PressesSeen(), 1);

  // Switched off around the settings window: presses don't count, and the
  // same key again is not asked for again.
  hotKey.Unregister();
  EXPECT_EQ(PressesSeen(), 1);
  ASSERT_TRUE(hotKey.Register({.key = kF4, .shift = true, .ctrl = true}));
  EXPECT_EQ(PressesSeen(), 2);
  EXPECT_EQ(TriggerAfter(1), QStringLiteral("CTRL+SHIFT+F4"));

  // Another key is bound in the same session.
  ASSERT_TRUE(hotKey.Register({.key = kF5, .alt = true}));
  EXPECT_EQ(TriggerAfter(2), QStringLiteral("ALT+F5"));
  EXPECT_EQ(PressesSeen(), 3);
}

}  // namespace
}  // namespace wh

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
