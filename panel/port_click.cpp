#include "panel/port_click.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>

namespace {

// Whether a session bus can be there at all: its address in the environment, or the per-user socket.
// Without either, asking Qt for the bus would only start its connection thread for nothing.
bool SessionBusConfigured() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
}

}  // namespace

bool AnnouncePortClick() {
    if (!SessionBusConfigured()) return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromLatin1(kPortClickPath), QString::fromLatin1(kPortClickInterface),
                                   QString::fromLatin1(kPortClickMember));
    // Posted, not sent: nobody's answer is awaited.
    signal << QString::fromLatin1(kPortClickMessage) << 0u << 0u;
    return bus.send(signal);
}
