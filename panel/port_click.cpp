#include "panel/port_click.h"

#include <QDBusConnection>
#include <QDBusMessage>

bool AnnouncePortClick() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kPortClickPath),
                                                     QString::fromLatin1(kPortClickInterface),
                                                     QString::fromLatin1(kPortClickMember));
    // Posted, not sent: nobody's answer is awaited.
    signal << QString::fromLatin1(kPortClickMessage) << 0u << 0u;
    return bus.send(signal);
}
