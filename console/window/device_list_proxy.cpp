#include "console/window/device_list_proxy.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace {

QColor StateColour(Reachability state) {
    switch (state) {
        case Reachability::Up:
            return {0x2e, 0x9d, 0x3a};
        case Reachability::NoAnswer:
            return {0xd0, 0x34, 0x2c};
        case Reachability::AuthFailure:
            return {0xe0, 0x8a, 0x00};
        case Reachability::Unknown:
            break;
    }
    return {0xa0, 0xa0, 0xa0};
}

// A small window: the mark of a device whose module is open.
QIcon OpenIcon() {
    static const QIcon icon = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x1c, 0x5f, 0xb0), 1.2));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 1.5, 1.5);
        p.fillRect(QRectF(2, 3, 12, 3), QColor(0x1c, 0x5f, 0xb0));
        return QIcon(pixmap);
    }();
    return icon;
}

}  // namespace

ModuleTarget ModuleTargetFor(const ConsoleDevice& d, const DeviceSecrets& s) {
    return {.name = d.name.toStdString(),
            .address = d.address.toStdString(),
            .port = d.port,
            .version = d.version,
            .model = d.model.toStdString(),
            .writeAccess = d.writeAccess,
            .securityLevel = d.securityLevel,
            .userName = d.userName.toStdString(),
            .authProtocol = d.authProtocol,
            .privProtocol = d.privProtocol,
            .readCommunity = s.readCommunity.toStdString(),
            .writeCommunity = s.writeCommunity.toStdString(),
            .authPassword = s.authPassword.toStdString(),
            .privPassword = s.privPassword.toStdString()};
}

QString DeviceKey(const ConsoleDevice& device) {
    return ModuleLauncher::Key(ModuleTargetFor(device, {}));
}

QIcon StatusIcon(Reachability state) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour = StateColour(state);
    p.setPen(QPen(colour.darker(130), 1));
    p.setBrush(colour);
    p.drawEllipse(QRectF(3, 3, 10, 10));
    return QIcon(pixmap);
}

DeviceListProxy::DeviceListProxy(DeviceTableModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), m_source(source) {
    setSourceModel(source);
    setSortRole(DeviceTableModel::SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setFilterCaseSensitivity(Qt::CaseInsensitive);
    setFilterKeyColumn(-1);
}

void DeviceListProxy::setModuleOpen(const QString& key, bool open) {
    if (open == m_open.contains(key)) return;
    if (open)
        m_open.insert(key);
    else
        m_open.remove(key);
    for (int row = 0; row < m_source->rowCount(); ++row)
        if (DeviceKey(m_source->deviceAt(row)) == key) {
            const QModelIndex name = mapFromSource(m_source->index(row, DeviceTableModel::Name));
            if (name.isValid()) emit dataChanged(name, name);
        }
}

QVariant DeviceListProxy::data(const QModelIndex& index, int role) const {
    const QModelIndex source = mapToSource(index);
    if (!source.isValid()) return {};
    const ConsoleDevice& device = m_source->deviceAt(source.row());
    const int column = index.column();
    if (role == OpenRole) return isModuleOpen(device);
    if (column == DeviceTableModel::Name && isModuleOpen(device)) {
        if (role == Qt::DecorationRole) return OpenIcon();
        if (role == Qt::ToolTipRole) return QStringLiteral("kms-module is open for this device");
        if (role == Qt::FontRole) {
            QFont font;
            font.setBold(true);
            return font;
        }
    }
    if (column == DeviceTableModel::Status) {
        const DeviceStatus status = m_source->statusOf(device.id);
        if (role == Qt::DecorationRole) return StatusIcon(status.state);
        if (status.state == Reachability::Unknown && role == Qt::DisplayRole)
            return QStringLiteral("not polled yet");
        if (role == Qt::ForegroundRole && status.state != Reachability::Up)
            return StateColour(status.state).darker(status.state == Reachability::Unknown ? 100 : 120);
        if (role == Qt::ToolTipRole && status.since.isValid())
            return QStringLiteral("%1 since %2")
                .arg(status.text(), status.since.toString("yyyy-MM-dd HH:mm:ss"));
    }
    if (column == DeviceTableModel::LastSeen && (role == Qt::DisplayRole || role == Qt::ToolTipRole)) {
        // Today's times without the date: the column stays narrow and the date is in the tool tip.
        const QDateTime seen = m_source->statusOf(device.id).lastSeen;
        if (!seen.isValid()) return QString();
        const bool today = seen.date() == QDate::currentDate();
        return seen.toString(today && role == Qt::DisplayRole ? "HH:mm:ss" : "yyyy-MM-dd HH:mm:ss");
    }
    if (column == DeviceTableModel::Model && device.model.isEmpty() && role == Qt::ForegroundRole)
        return StateColour(Reachability::Unknown);
    if (column == DeviceTableModel::Note && role == Qt::ToolTipRole) return device.note;
    return QSortFilterProxyModel::data(index, role);
}
