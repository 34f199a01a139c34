#pragma once
// The device list as a table for the console's window: the devices' own columns and the status columns
// of the reachability poll. Sort and filter through a QSortFilterProxyModel: Qt::UserRole gives each
// cell's sort key (addresses numerically, times and uptimes as numbers).

#include <QAbstractTableModel>
#include <QHash>
#include <QList>

#include "console/device_list.h"
#include "console/reachability.h"

class DeviceTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Address, Port, Version, Model, Status, LastSeen, Uptime, Note, ColumnCount };
    static constexpr int SortRole = Qt::UserRole;
    static constexpr int IdRole = Qt::UserRole + 1;  // the device's id, in every column

    explicit DeviceTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const QList<ConsoleDevice>& devices() const { return m_devices; }
    void setDevices(const QList<ConsoleDevice>& devices);
    int rowOf(const QString& id) const;  // -1 when not listed
    const ConsoleDevice& deviceAt(int row) const { return m_devices.at(row); }
    void addDevice(const ConsoleDevice& device);
    void updateDevice(const ConsoleDevice& device);  // by id
    void removeDevice(const QString& id);
    DeviceStatus statusOf(const QString& id) const { return m_status.value(id); }

public slots:
    // Connect ReachabilityMonitor::statusChanged and ::polled here.
    void setStatus(const QString& id, const DeviceStatus& status);

private:
    QList<ConsoleDevice> m_devices;
    QHash<QString, DeviceStatus> m_status;
};
