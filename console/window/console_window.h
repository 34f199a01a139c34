#pragma once
// kms-console's main window: the device list (sorted, filtered), Add / Edit / Remove, Open (one
// kms-module process per device), the reachability of every device live from the monitor, each device's
// status changes in a side pane, discovery of a range, and the notices the user must see once (a damaged
// list file, secrets kept in a file).

#include <QMainWindow>
#include <QSettings>

#include "console/device_list.h"
#include "console/device_table_model.h"
#include "console/launcher/module_launcher.h"
#include "console/reachability.h"
#include "console/secret_store.h"

class DeviceEventsPane;
class DeviceListProxy;
class DiscoveryWindow;
class QAction;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;
class QVBoxLayout;

class ConsoleWindow : public QMainWindow {
    Q_OBJECT
public:
    // The list is read from `listPath` (a damaged file is reported in the window); `secrets` outlives the
    // window. Window state and the poll period are remembered in the console's configuration folder.
    explicit ConsoleWindow(SecretStore& secrets, const QString& listPath = DefaultDeviceListPath(),
                           QWidget* parent = nullptr);
    ~ConsoleWindow() override;

    ModuleLauncher& launcher() { return m_launcher; }
    ReachabilityMonitor& monitor() { return m_monitor; }
    DeviceListProxy& listModel() { return *m_proxy; }

    // Lists the devices with their secrets (the secrets first: a device whose secrets cannot be kept is
    // not listed) and saves the list. False, after telling the user, when something was refused.
    bool addDevices(const QList<ConsoleDevice>& devices, const QList<DeviceSecrets>& secrets);

    void addDevice();
    void editDevice();
    void removeDevice();
    void openDevice();
    void showDiscovery();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActions();
    void buildLayout();
    QWidget* notice(const char* name, const QString& text, bool warning);
    const ConsoleDevice* currentDevice() const;
    void launch(const QString& id);
    bool saveList();
    void refreshTargets();
    void statusChanged(const QString& id, const DeviceStatus& status);
    void openChanged(const QString& key, bool open);
    void updateSelection();
    void updateSummary();
    QSet<QString> listedKeys() const;

    SecretStore& m_secrets;
    QString m_listPath;
    bool m_saveBlocked = false;  // a damaged list could not be moved aside: never write over it
    QSettings m_settings;
    DeviceTableModel m_model;
    DeviceListProxy* m_proxy;
    ReachabilityMonitor m_monitor;
    ModuleLauncher m_launcher;
    DiscoveryWindow* m_discovery = nullptr;

    QVBoxLayout* m_notices;
    QTableView* m_view;
    QLabel* m_empty;
    QLineEdit* m_filter;
    QSpinBox* m_period;
    DeviceEventsPane* m_events;
    QLabel* m_summary;
    QAction* m_add;
    QAction* m_edit;
    QAction* m_remove;
    QAction* m_open;
    QAction* m_discover;
    QAction* m_pollNow;
};
