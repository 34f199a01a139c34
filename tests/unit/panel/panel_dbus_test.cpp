// The port-click announcement reaches a listener on the session bus, and is silent without one. The test
// runs its own bus daemon so nothing of the desktop's is touched.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QProcess>
#include <QTest>

#include "panel/port_click.h"
#include "panel/virtual_dev.h"

namespace {

class Listener : public QObject {
    Q_OBJECT
public:
    QStringList names;
    QList<uint> params;
public slots:
    void Clicked(const QString& name, uint first, uint second) {
        names << name;
        params << first << second;
    }
};

TEST(PortClick, AnnouncedOnTheSessionBus) {
    // Without a session bus there is nothing to announce to.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_FALSE(AnnouncePortClick());

    QProcess daemon;
    daemon.start(QStringLiteral(KMS_DBUS_DAEMON), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                   QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon.waitForStarted(5000));
    ASSERT_TRUE(daemon.waitForReadyRead(5000));
    const QByteArray address = daemon.readLine().trimmed();
    ASSERT_FALSE(address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);

    QDBusConnection listenerBus =
        QDBusConnection::connectToBus(QString::fromLatin1(address), QStringLiteral("listener"));
    ASSERT_TRUE(listenerBus.isConnected());
    Listener listener;
    ASSERT_TRUE(listenerBus.connect(QString(), "/org/kms/Module/Panel", "org.kms.Module.Panel", "PortClicked",
                                    &listener, SLOT(Clicked(QString, uint, uint))));

    // A click strictly inside the port announces itself; one on the shrunk edge does not.
    CPort port;
    port.SetRect(0, 0, 40, 30);
    port.OnClick(2, 15);
    port.OnClick(20, 15);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listener.names.isEmpty(); }, 3000));
    ASSERT_EQ(listener.names.size(), 1);
    EXPECT_TRUE(AnnouncePortClick());
    EXPECT_EQ(listener.names[0], "{6FD9BA9B-9875-4c53-A57D-5E76258D10BE}");
    EXPECT_EQ(listener.params, (QList<uint>{0u, 0u}));

    QDBusConnection::disconnectFromBus(QStringLiteral("listener"));
    daemon.kill();
    daemon.waitForFinished(5000);
}

}  // namespace

#include "panel_dbus_test.moc"
