#pragma once
// Discovery of a range from the console's window: the range, the credential sets to try in order,
// time-out and retries; a progress bar with Stop; the switches that answered (or refused the SNMPv3
// user, with the reason), each with a check box; "Add selected" hands the chosen ones to the list.

#include <QDialog>
#include <QSet>
#include <memory>

#include "console/discovery.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

// A discovered switch as a device of the list: named by its sysName (else its address), asked with the
// credential set that answered (the secrets apart, for the secret store).
ConsoleDevice DeviceFromDiscovery(const DiscoveredDevice& found, const CredentialSet& answered,
                                  DeviceSecrets& secrets);

class DiscoveryWindow : public QDialog {
    Q_OBJECT
public:
    explicit DiscoveryWindow(QWidget* parent = nullptr);
    ~DiscoveryWindow() override;

    QList<CredentialSet> credentialSets() const { return m_sets; }
    void setCredentialSets(const QList<CredentialSet>& sets);
    // "address:port" of the devices already listed: their rows are marked and cannot be added again.
    void setListed(const QSet<QString>& keys);
    bool isScanning() const;

signals:
    void devicesChosen(const QList<ConsoleDevice>& devices, const QList<DeviceSecrets>& secrets);

private:
    void start();
    void stop();
    void finished(bool stopped);
    void found(const DiscoveredDevice& device);
    void addSelected();
    void editSet(int row);  // -1: a new set
    void refreshSets();
    void updateButtons();
    void markListed(QTreeWidgetItem* item);
    void closeEvent(QCloseEvent* event) override;

    QList<CredentialSet> m_sets;
    QSet<QString> m_listed;
    std::unique_ptr<DiscoveryScan> m_scan;
    QList<DiscoveredDevice> m_found;  // by the row's data index
    int m_answered = 0;
    int m_generation = 0;

    QLineEdit* m_range;
    QSpinBox* m_port;
    QSpinBox* m_timeout;
    QSpinBox* m_retries;
    QListWidget* m_setList;
    QPushButton* m_addSet;
    QPushButton* m_editSet;
    QPushButton* m_removeSet;
    QPushButton* m_start;
    QPushButton* m_stop;
    QProgressBar* m_progress;
    QLabel* m_state;
    QTreeWidget* m_results;
    QPushButton* m_add;
};
