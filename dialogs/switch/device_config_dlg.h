#pragma once
// "Device Configure": the device information and configuration options that the device configuration
// command file TRV6420_CFG.XML names, read from the device over SNMPv1; Apply writes the option chosen
// for a configuration line.

#include <QString>

#include "dialogs/common/module_dialog.h"
#include "panel/device_config_file.h"

class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CDeviceConfigDlg : public CModuleDialog {
    Q_OBJECT
public:
    // `fileName`: the command file; empty for TRV6420_CFG.XML, looked up like the panel description.
    explicit CDeviceConfigDlg(QWidget* parent = nullptr, const QString& fileName = {});

    static QString DefaultFileName();

    // Reads both sections again.
    void Refresh();

protected:
    void OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadSection(const CDeviceConfigFile& file, QTreeWidget* list, std::function<void()> then);
    void Later(const std::function<void()>& then);
    void OnConfigLine(QTreeWidgetItem* item);
    void OnApply();

    CCommonSNMP& m_cCommonSNMP;  // SNMPv1, 3000 ms
    QString m_fileName;
    bool m_canTalk;  // an address and both communities were given
    CDeviceConfigFile m_info;
    CDeviceConfigFile m_config;
    QTreeWidget* m_configList = nullptr;
    QTreeWidget* m_infoList = nullptr;
    QComboBox* m_option = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_refresh = nullptr;
};
