#pragma once
// The device list as the window shows it: sorted and filtered, the reachability as a coloured mark, and
// the devices whose kms-module is open marked in their name. Also how a listed device maps to the module
// the console starts for it.

#include <QIcon>
#include <QSet>
#include <QSortFilterProxyModel>

#include "console/device_table_model.h"
#include "console/launcher/module_launcher.h"
#include "console/secret_store.h"

// The module's command line and secrets for a listed device.
ModuleTarget ModuleTargetFor(const ConsoleDevice& device, const DeviceSecrets& secrets);
// The launcher's key of the device's module ("address:port").
QString DeviceKey(const ConsoleDevice& device);

// A round mark in the colour of the state (green up, red no answer, amber refused, grey unknown).
QIcon StatusIcon(Reachability state);

class DeviceListProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    static constexpr int OpenRole = DeviceTableModel::IdRole + 1;  // bool: its module runs

    explicit DeviceListProxy(DeviceTableModel* source, QObject* parent = nullptr);

    void setModuleOpen(const QString& key, bool open);
    bool isModuleOpen(const ConsoleDevice& device) const { return m_open.contains(DeviceKey(device)); }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    DeviceTableModel* m_source;
    QSet<QString> m_open;
};
