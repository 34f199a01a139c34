#include "console/device_table_model.h"

#include "console/discovery_rules.h"

DeviceTableModel::DeviceTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int DeviceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_devices.size());
}

int DeviceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DeviceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kTitles[] = {"Name",   "Address",   "Port",   "SNMP", "Model",
                                          "Status", "Last seen", "Uptime", "Note"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(kTitles[section]);
}

QVariant DeviceTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_devices.size()) return {};
    const ConsoleDevice& d = m_devices.at(index.row());
    if (role == IdRole) return d.id;
    if (role != Qt::DisplayRole && role != SortRole) return {};
    const DeviceStatus s = m_status.value(d.id);
    const bool sort = role == SortRole;
    switch (index.column()) {
        case Name:
            return d.name;
        case Address: {
            quint32 a = 0;
            return sort && ParseIpv4(d.address, a) ? QVariant(a) : QVariant(d.address);
        }
        case Port:
            return d.port;
        case Version:
            return "v" + VersionText(d.version);
        case Model:
            return d.model.isEmpty() ? QStringLiteral("unknown") : d.model;
        case Status:
            return s.text();
        case LastSeen:
            if (sort) return s.lastSeen.isValid() ? s.lastSeen.toMSecsSinceEpoch() : qint64(-1);
            return s.lastSeen.isValid() ? s.lastSeen.toString("yyyy-MM-dd HH:mm:ss") : QString();
        case Uptime:
            return sort ? QVariant(s.uptimeTicks) : QVariant(UptimeText(s.uptimeTicks));
        case Note:
            return QString(d.note).replace('\n', ' ');
        default:
            return {};
    }
}

void DeviceTableModel::setDevices(const QList<ConsoleDevice>& devices) {
    beginResetModel();
    m_devices = devices;
    QHash<QString, DeviceStatus> kept;
    for (const ConsoleDevice& d : devices)
        if (m_status.contains(d.id)) kept.insert(d.id, m_status.value(d.id));
    m_status.swap(kept);
    endResetModel();
}

int DeviceTableModel::rowOf(const QString& id) const {
    for (int row = 0; row < m_devices.size(); ++row)
        if (m_devices[row].id == id) return row;
    return -1;
}

void DeviceTableModel::addDevice(const ConsoleDevice& device) {
    const int row = int(m_devices.size());
    beginInsertRows({}, row, row);
    m_devices.append(device);
    endInsertRows();
}

void DeviceTableModel::updateDevice(const ConsoleDevice& device) {
    const int row = rowOf(device.id);
    if (row < 0) return;
    m_devices[row] = device;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void DeviceTableModel::removeDevice(const QString& id) {
    const int row = rowOf(id);
    if (row < 0) return;
    beginRemoveRows({}, row, row);
    m_devices.removeAt(row);
    m_status.remove(id);
    endRemoveRows();
}

void DeviceTableModel::setStatus(const QString& id, const DeviceStatus& status) {
    const int row = rowOf(id);
    if (row < 0) return;
    m_status.insert(id, status);
    emit dataChanged(index(row, Status), index(row, Uptime));
}
